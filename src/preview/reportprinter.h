#pragma once

#include <QString>

class CPageModel;
class QPrinter;
class QWidget;

// Printing a laid-out report: each page on a sheet of the report's own size, without margins,
// as the layout placed it.
namespace ReportPrinter {

// Sets the printer's paper to the report's page size and orientation, and the page range the
// print dialog offers to the pages there are.
void PreparePrinter(const CPageModel &model, QPrinter &printer);

// Prints the pages the printer's range asks for (every page when it asks for none). False
// with a message when the printer cannot be opened.
bool PrintPages(const CPageModel &model, QPrinter &printer, QString &message);

// The system print dialog over parent, then the printing; false without a message when the
// user cancelled, with one when printing failed.
bool PrintWithDialog(const CPageModel &model, const QString &title, QWidget *parent,
                     QString &message);

} // namespace ReportPrinter
