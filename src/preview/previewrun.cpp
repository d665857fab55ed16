#include "previewrun.h"

#include "pagemodel.h"

#include <exception>

CPreviewRun::CPreviewRun(const CVornReport &report, CRunOptions options, QObject *parent)
    : QObject(parent)
    , m_report(report)
    , m_options(std::move(options))
    , m_model(std::make_shared<CPageModel>())
{
    m_options.cancel = &m_task.GetCancelFlag();
    // The task merges the reports that come faster than the owner takes them, so a fast layout
    // does not flood it with one event per page.
    m_options.progress = [this](int count) {
        m_task.ReportProgress(count, 0);
    };
    connect(&m_task, &CBackgroundTask::progress, this,
            [this] { emit pagesAdded(m_model->GetPageCount()); });
    connect(&m_task, &CBackgroundTask::finished, this,
            [this](bool succeeded, bool cancelled, const QString &message) {
                emit pagesAdded(m_model->GetPageCount());
                emit finished(succeeded, cancelled, message);
            });
}

CPreviewRun::CPreviewRun(std::shared_ptr<const CVornReport> report, CRunOptions options,
                         QObject *parent)
    : CPreviewRun(*report, std::move(options), parent)
{
    m_ownReport = std::move(report);
}

CPreviewRun::~CPreviewRun()
{
    // A layout waiting at its page limit must end for the task's thread to be joined.
    m_model->Stop();
}

void CPreviewRun::SetPageLimit(int count)
{
    m_model->SetPageLimit(count);
}

void CPreviewRun::Start()
{
    m_task.Start([this](CBackgroundTask &, QString &message) {
        try {
            const bool done = RunReport(m_report, m_options, *m_model, message, &m_failedAt);
            // A run stopped at its page limit ends without a failure, but incomplete.
            if (done && m_task.IsCancelled() && !m_model->IsComplete()) {
                message = tr("Cancelled");
                return false;
            }
            return done;
        } catch (const std::exception &error) {
            // Said as the layout's own failure; anything else the task catches itself.
            message = tr("The layout stopped: %1").arg(QString::fromLocal8Bit(error.what()));
            return false;
        }
    });
}

void CPreviewRun::Cancel()
{
    m_task.Cancel();
    // A layout that waits for its page limit ends at once.
    m_model->Stop();
}
