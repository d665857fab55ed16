#include "previewrun.h"

#include "pagemodel.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <exception>

CPreviewRun::CPreviewRun(const CVornReport &report, CRunOptions options, QObject *parent)
    : QObject(parent)
    , m_report(report)
    , m_options(std::move(options))
    , m_model(std::make_shared<CPageModel>())
{
    m_options.cancel = &m_cancel;
    m_options.progress = [this](int) { NotifyPages(); };
}

CPreviewRun::CPreviewRun(std::shared_ptr<const CVornReport> report, CRunOptions options,
                         QObject *parent)
    : CPreviewRun(*report, std::move(options), parent)
{
    m_ownReport = std::move(report);
}

CPreviewRun::~CPreviewRun()
{
    Cancel();
    if (m_thread.joinable())
        m_thread.join();
}

void CPreviewRun::SetPageLimit(int count)
{
    m_model->SetPageLimit(count);
}

void CPreviewRun::Start()
{
    if (m_running || m_thread.joinable())
        return;
    m_running = true;
    m_thread = std::thread([this] { Work(); });
}

void CPreviewRun::Cancel()
{
    m_cancel = true;
    // A layout that waits for its page limit ends at once.
    m_model->Stop();
}

void CPreviewRun::NotifyPages()
{
    if (m_notifyPending.exchange(true))
        return;
    // Queued to this object: the event is dropped if the object is gone by then.
    QMetaObject::invokeMethod(
            this,
            [this] {
                m_notifyPending = false;
                emit pagesAdded(m_model->GetPageCount());
            },
            Qt::QueuedConnection);
}

void CPreviewRun::Work()
{
    QString message;
    bool succeeded = false;
    // Nothing thrown may leave the thread: it would end the program.
    try {
        succeeded = RunReport(m_report, m_options, *m_model, message, &m_failedAt);
    } catch (const std::exception &error) {
        message = QCoreApplication::translate("CPreviewRun", "The layout stopped: %1")
                          .arg(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        message = QCoreApplication::translate("CPreviewRun", "The layout stopped unexpectedly");
    }
    // A run stopped at its page limit ends without a failure, but incomplete.
    const bool cancelled = m_cancel && !m_model->IsComplete();
    succeeded = succeeded && !cancelled;
    QMetaObject::invokeMethod(
            this,
            [this, succeeded, cancelled, message] {
                if (m_thread.joinable())
                    m_thread.join();
                m_running = false;
                m_notifyPending = false;
                emit pagesAdded(m_model->GetPageCount());
                emit finished(succeeded, cancelled, message);
            },
            Qt::QueuedConnection);
}
