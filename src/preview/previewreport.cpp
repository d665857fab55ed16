#include "previewreport.h"

#include "backgroundtask.h"
#include "pagemodel.h"
#include "previewrun.h"
#include "previewwnd.h"
#include "reportprinter.h"
#include "vornreport.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QPrinter>
#include <QProgressDialog>

namespace PreviewReport {

QString TitleOf(const CVornReport &report, const QString &path)
{
    if (!report.GetTitle().isEmpty())
        return report.GetTitle();
    return path.isEmpty() ? QString() : QFileInfo(path).completeBaseName();
}

bool Show(const CVornReport &report, const CRunOptions &options, const QString &title,
          QWidget *parent, QString &message)
{
    CPreviewWnd window(report, options, title, parent);
    return window.Run(message);
}

bool Print(const CVornReport &report, const CRunOptions &options, const QString &title,
           QWidget *parent, QString &message)
{
    CPreviewRun run(report, options);
    QProgressDialog progress(
            QCoreApplication::translate("PreviewReport", "Laying out the report..."),
            QCoreApplication::translate("PreviewReport", "Cancel"), 0, 0, parent);
    progress.setWindowTitle(title.isEmpty() ? QStringLiteral("Vantel") : title);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(300);
    QEventLoop loop;
    bool succeeded = false;
    bool cancelled = false;
    QObject::connect(&run, &CPreviewRun::pagesAdded, &progress, [&progress](int count) {
        progress.setLabelText(QCoreApplication::translate(
                "PreviewReport", "Laying out the report... %n page(s)", nullptr, count));
    });
    QObject::connect(&run, &CPreviewRun::finished, &loop,
                     [&](bool ok, bool wasCancelled, const QString &text) {
                         succeeded = ok;
                         cancelled = wasCancelled;
                         message = text;
                         loop.quit();
                     });
    QObject::connect(&progress, &QProgressDialog::canceled, &run, &CPreviewRun::Cancel);
    run.Start();
    loop.exec();
    progress.reset();
    if (!succeeded) {
        if (cancelled)
            message.clear();
        return false;
    }
    message.clear();
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(title);
    if (!ReportPrinter::AskPrinter(*run.GetModel(), *printer, parent))
        return false;

    // The job goes to the printer from a worker thread, so that the window stays alive.
    CBackgroundTask job;
    progress.setLabelText(QCoreApplication::translate("PreviewReport", "Printing..."));
    progress.setRange(0, run.GetModel()->GetPageCount());
    QObject::connect(&job, &CBackgroundTask::progress, &progress, [&progress](int done, int total) {
        progress.setMaximum(total);
        progress.setValue(done);
    });
    QObject::connect(&job, &CBackgroundTask::finished, &loop,
                     [&](bool ok, bool wasCancelled, const QString &text) {
                         succeeded = ok;
                         cancelled = wasCancelled;
                         message = text;
                         loop.quit();
                     });
    QObject::connect(&progress, &QProgressDialog::canceled, &job, &CBackgroundTask::Cancel);
    const std::shared_ptr<CPageModel> model = run.GetModel();
    job.Start([model, printer](CBackgroundTask &task, QString &text) {
        return ReportPrinter::PrintPages(
                *model, *printer, text, &task.GetCancelFlag(),
                [&task](int done, int total) { task.ReportProgress(done, total); });
    });
    loop.exec();
    progress.reset();
    if (!succeeded && cancelled)
        message.clear();
    return succeeded;
}

} // namespace PreviewReport
