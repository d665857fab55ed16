#include "reportrunner.h"

#include "enginecallback.h"
#include "fileutil.h"
#include "messageboxrunui.h"
#include "reportedit.h"
#include "runparameters.h"
#include "runui.h"
#include "vantelengine.h"
#include "vorndocument.h"

#include <QLibrary>

#include <algorithm>
#include <array>
#include <string>

using namespace Qt::StringLiterals;

namespace {

// Set by the first Yes to the run warning and kept until the program exits.
bool warningAccepted = false;

} // namespace

CReportRunner::CReportRunner(CRunUi &ui)
    : m_ui(ui)
    , m_programFolder(ProgramFolder())
{ }

QString CReportRunner::EngineFileName()
{
    return u"libvantel.so"_s;
}

QString CReportRunner::GetEnginePath() const
{
    return m_programFolder + u'/' + EngineFileName();
}

bool CReportRunner::IsWarningAccepted()
{
    return warningAccepted;
}

void CReportRunner::ResetWarningAcceptedForTesting()
{
    warningAccepted = false;
}

CReportRunner::Outcome CReportRunner::Run(CVornDocument &document)
{
    CVornReport &report = document.GetReport();
    if (report.GetBands().IsEmpty()) {
        m_ui.ShowMessage(tr("The report is empty, nothing to run"));
        return Outcome::EmptyReport;
    }

    if (!FileExists(GetEnginePath())) {
        m_ui.ShowMessage(
                tr("The %1 file was not found in the program's folder").arg(EngineFileName()));
        return Outcome::EngineMissing;
    }

    if (!warningAccepted) {
        const QString warning = tr(
                "Running Vantel reports might require the calling application to provide Vantel "
                "with the callback function that will control the report behaviour. Since you are "
                "launching the report directly from the designer application rather than from "
                "the application you'll use to launch this report in the production environment, "
                "the report witll be launched without the callback function and might display in "
                "a different manner comparing with how it will display when launched from the "
                "calling application, or even freeze.\r\n\r\nDo you still wish to launch the "
                "report?");
        if (!m_ui.AskYesNo(warning))
            return Outcome::WarningDeclined;
        warningAccepted = true;
    }

    CVornParameters gathered;
    const Outcome asked = AskParameters(report, gathered);
    if (asked != Outcome::Succeeded)
        return asked;

    // New values are stored in the report and so make it modified: the engine
    // reads the file, which must hold them before a run can go on.
    if (!RunParameters::SameValues(gathered, report.GetParameters())) {
        CReportEdit edit(document, tr("Parameter Values"));
        edit.WillChangeParameters();
        report.GetParameters() = gathered;
        edit.Commit();
    }

    // A report that never reached the disk has no file to hand over either.
    if (document.IsModified() || document.GetPathName().isEmpty()) {
        m_ui.ShowMessage(tr("This report was not saved after the last modification. You can only "
                            "launch the reports that were saved to your hard disk."));
        return Outcome::NotSaved;
    }

    return CallEngine(document.GetPathName(), &gathered);
}

CReportRunner::Outcome CReportRunner::AskParameters(const CVornReport &report,
                                                    CVornParameters &gathered)
{
    QString message;
    if (!RunParameters::Gather(report, gathered, message)) {
        m_ui.ShowMessage(tr("Failed to parse report parameters: ") + message);
        return Outcome::ParseFailed;
    }
    RunParameters::CarryOver(report.GetParameters(), gathered);

    if (!gathered.IsEmpty()) {
        CVornParameters edited(gathered);
        if (!m_ui.EditParameters(edited))
            return Outcome::Cancelled;
        gathered = std::move(edited);
    }
    return Outcome::Succeeded;
}

CReportRunner::Outcome CReportRunner::CallEngine(const QString &reportPath, void *context)
{
    QLibrary library(GetEnginePath());
    // Every symbol is bound at the load, so that a library with a missing
    // dependency or symbol fails here with the loader's message rather than
    // in the middle of the call.
    library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (!library.load()) {
        m_ui.ShowMessage(tr("Failed to load reporting engine DLL: ") + library.errorString());
        return Outcome::LoadFailed;
    }

    const auto preview = reinterpret_cast<VntPreviewFunc>(library.resolve(VNT_PREVIEW_ENTRY));
    if (!preview) {
        library.unload();
        m_ui.ShowMessage(tr("Failed to get a pointer to a function in the reporting engine DLL"));
        return Outcome::EntryMissing;
    }

    // The path goes whole, whatever its length; the error buffer starts empty
    // so that an engine that fails without a word is told apart.
    const std::u16string path = reportPath.toStdU16String();
    std::array<char16_t, VNT_ERROR_CHARS> errorText {};
    const int result = preview(path.c_str(), &AnswerParameterValue, context, errorText.data());
    library.unload();
    if (result != 0)
        return Outcome::Succeeded;

    // The engine may have filled the buffer without a NUL: read no further.
    const auto end = std::find(errorText.cbegin(), errorText.cend(), u'\0');
    QString engineMessage = QString::fromUtf16(errorText.data(), end - errorText.cbegin());
    if (engineMessage.isEmpty())
        engineMessage = tr("The reporting engine failed without giving a reason.");
    m_ui.ShowMessage(engineMessage);
    return Outcome::EngineFailed;
}

void RunReport(CVornDocument &document, QWidget *parent)
{
    CMessageBoxRunUi ui(parent);
    CReportRunner(ui).Run(document);
}
