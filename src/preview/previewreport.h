#pragma once

#include <QString>

class CVornReport;
class QWidget;
struct CRunOptions;

// The designer's and the engine library's ways to show a report with its data.
namespace PreviewReport {

// The title a report's windows and documents carry: its own title, else the file's name.
QString TitleOf(const CVornReport &report, const QString &path);

// Lays the report out and shows it in the modal preview window until the user closes it.
// False with the run's message when the layout failed. The report must stay unchanged until
// the call returns.
bool Show(const CVornReport &report, const CRunOptions &options, const QString &title,
          QWidget *parent, QString &message);

// Lays the report out (a progress window offers Cancel), then prints it through the system
// print dialog. False without a message when the user cancelled, with one on failure.
bool Print(const CVornReport &report, const CRunOptions &options, const QString &title,
           QWidget *parent, QString &message);

} // namespace PreviewReport
