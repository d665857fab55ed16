#pragma once

#include <QCoreApplication>
#include <QString>

class CRunUi;
class CVornParameters;
class CVornReport;
class CVornDocument;
class QWidget;

// The Run command: checks that a run makes sense, gathers the report
// parameters and lets the user set their values, stores changed values in the
// report, and hands the saved report file to the reporting engine library in
// the program's folder (the contract is in vantelengine.h). Every failing
// step shows one message through the CRunUi and ends the run.
//
//     CMessageBoxRunUi ui(mainWindow);
//     CReportRunner(ui).Run(document);
//
// or simply RunReport(document, mainWindow).
class CReportRunner
{
    Q_DECLARE_TR_FUNCTIONS(CReportRunner)

public:
    // How a run ended, for callers and tests; the user has been told already.
    enum class Outcome {
        EmptyReport,
        EngineMissing,
        WarningDeclined,
        ParseFailed,
        Cancelled,
        NotSaved,
        LoadFailed,
        EntryMissing,
        EngineFailed,
        Succeeded,
    };

    explicit CReportRunner(CRunUi &ui);

    // The folder searched for the engine library; the running program's own
    // folder unless set.
    const QString &GetProgramFolder() const { return m_programFolder; }
    void SetProgramFolder(const QString &folder) { m_programFolder = folder; }

    // The library's file name and its full path in the program folder.
    static QString EngineFileName();
    QString GetEnginePath() const;

    Outcome Run(CVornDocument &document);

    // Steps shared by Run and the designer's Preview: gathers the parameters of the report's
    // queries into `gathered`, carries the stored values over and lets the user edit them in
    // the Report Parameters dialog (skipped for an empty list). ParseFailed after its
    // message, Cancelled silently, else Succeeded. Stores nothing in the report.
    Outcome AskParameters(const CVornReport &report, CVornParameters &gathered);

    // Whether the user has accepted the run warning in this process.
    static bool IsWarningAccepted();
    // For tests only: forget that the warning was accepted, as at start-up.
    static void ResetWarningAcceptedForTesting();

private:
    Outcome CallEngine(const QString &reportPath, void *context);

    CRunUi &m_ui;
    QString m_programFolder;
};

// File > Run for the designer: runs the document's report with message boxes
// and the Report Parameters dialog over `parent`.
void RunReport(CVornDocument &document, QWidget *parent);
