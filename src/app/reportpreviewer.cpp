#include "reportpreviewer.h"

#include "fileutil.h"
#include "messageboxrunui.h"
#include "previewreport.h"
#include "reportrun.h"
#include "reportrunner.h"
#include "runui.h"
#include "vorndocument.h"

#include <QDir>
#include <QFileInfo>

CReportPreviewer::CReportPreviewer(CRunUi &ui)
    : m_ui(ui)
{ }

bool CReportPreviewer::Prepare(const CVornDocument &document, CVornParameters &values,
                               CRunOptions &options)
{
    const CVornReport &report = document.GetReport();
    if (report.GetBands().IsEmpty()) {
        m_ui.ShowMessage(CReportRunner::tr("The report is empty, nothing to run"));
        return false;
    }
    if (CReportRunner(m_ui).AskParameters(report, values) != CReportRunner::Outcome::Succeeded)
        return false;

    // A relative database path is taken from the report's folder; a report never saved has
    // none, and the current folder stands in for it.
    const QString path = document.GetPathName();
    options.reportFolder = path.isEmpty() ? QDir::currentPath()
                                          : FolderOfPath(QFileInfo(path).absoluteFilePath());
    const CVornParameters *answers = &values;
    const CVornParameters *stored = &report.GetParameters();
    options.parameter = [answers, stored](const QString &band, const QString &name) {
        const CVornParameter *parameter = answers->Find(band, name);
        if (!parameter)
            parameter = stored->Find(band, name);
        return parameter ? parameter->GetValue() : QString();
    };
    return true;
}

void CReportPreviewer::Preview(const CVornDocument &document, QWidget *parent)
{
    CVornParameters values;
    CRunOptions options;
    if (!Prepare(document, values, options))
        return;
    QString message;
    const QString title = PreviewReport::TitleOf(document.GetReport(), document.GetPathName());
    if (!PreviewReport::Show(document.GetReport(), options, title, parent, message))
        m_ui.ShowMessage(message);
}

void CReportPreviewer::Print(const CVornDocument &document, QWidget *parent)
{
    CVornParameters values;
    CRunOptions options;
    if (!Prepare(document, values, options))
        return;
    QString message;
    const QString title = PreviewReport::TitleOf(document.GetReport(), document.GetPathName());
    if (!PreviewReport::Print(document.GetReport(), options, title, parent, message)
        && !message.isEmpty())
        m_ui.ShowMessage(message);
}

void PreviewDocument(const CVornDocument &document, QWidget *parent)
{
    CMessageBoxRunUi ui(parent);
    CReportPreviewer(ui).Preview(document, parent);
}

void PrintDocument(const CVornDocument &document, QWidget *parent)
{
    CMessageBoxRunUi ui(parent);
    CReportPreviewer(ui).Print(document, parent);
}
