#pragma once

#include <QCoreApplication>
#include <QString>

class CRunUi;
class CVornDocument;
class QWidget;
struct CRunOptions;
class CVornParameters;

// File > Preview and the toolbar's Print: the report as it stands in the designer, unsaved
// changes included, laid out in the designer's own process. The parameters are gathered and
// edited as Run does, but nothing is stored in the report and the file is not needed.
class CReportPreviewer
{
    Q_DECLARE_TR_FUNCTIONS(CReportPreviewer)

public:
    explicit CReportPreviewer(CRunUi &ui);

    // Checks the report and asks for the parameter values; false when the run ends here (a
    // message was shown or the user cancelled). The options read from `values`, which must
    // outlive them.
    bool Prepare(const CVornDocument &document, CVornParameters &values, CRunOptions &options);

    // The preview window, and printing through the system print dialog; a failure is shown
    // through the CRunUi.
    void Preview(const CVornDocument &document, QWidget *parent);
    void Print(const CVornDocument &document, QWidget *parent);

private:
    CRunUi &m_ui;
};

// The two commands for the designer, with message boxes and the parameters dialog over parent.
void PreviewDocument(const CVornDocument &document, QWidget *parent);
void PrintDocument(const CVornDocument &document, QWidget *parent);
