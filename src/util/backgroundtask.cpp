#include "backgroundtask.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <condition_variable>
#include <exception>
#include <mutex>

namespace {

// The detached threads still running in the process.
std::mutex threadsMutex;
std::condition_variable threadsDone;
int threadCount = 0;

} // namespace

// What a detached work shares with its task: it outlives the task when the work does.
struct CBackgroundTask::Detached
{
    std::atomic_bool cancel = false;
    // Guards owner: the owner clears it before it goes, so a worker that holds the lock can
    // post to it safely; a posted call whose receiver is gone by then is dropped by Qt.
    std::mutex mutex;
    CBackgroundTask *owner = nullptr;
};

CBackgroundTask::CBackgroundTask(QObject *parent)
    : QObject(parent)
{ }

CBackgroundTask::~CBackgroundTask()
{
    Abandon();
    m_cancel = true;
    if (m_thread.joinable())
        m_thread.join();
}

bool CBackgroundTask::Start(Work work)
{
    if (m_running || m_thread.joinable() || m_detached)
        return false;
    m_running = true;
    m_cancel = false;
    m_thread = std::thread([this, work = std::move(work)] {
        QString message;
        bool succeeded = false;
        // Nothing thrown may leave the thread: it would end the program.
        try {
            succeeded = work(*this, message);
        } catch (const std::exception &error) {
            message = QCoreApplication::translate("CBackgroundTask", "The work stopped: %1")
                              .arg(QString::fromLocal8Bit(error.what()));
        } catch (...) {
            message = QCoreApplication::translate("CBackgroundTask",
                                                  "The work stopped unexpectedly");
        }
        const bool cancelled = m_cancel && !succeeded;
        // Queued to this object: dropped when the object is gone by then.
        QMetaObject::invokeMethod(
                this,
                [this, succeeded, cancelled, message] {
                    if (m_thread.joinable())
                        m_thread.join();
                    m_running = false;
                    m_progressPending = false;
                    emit finished(succeeded, cancelled, message);
                },
                Qt::QueuedConnection);
    });
    return true;
}

bool CBackgroundTask::StartDetached(DetachedWork work)
{
    if (m_running)
        return false;
    Abandon();
    auto state = std::make_shared<Detached>();
    state->owner = this;
    m_detached = state;
    {
        std::lock_guard lock(threadsMutex);
        ++threadCount;
    }
    std::thread([state, work = std::move(work)] {
        Delivery delivery;
        // Nothing thrown may leave the thread: it would end the program.
        try {
            delivery = work(state->cancel);
        } catch (...) {
            delivery = nullptr;
        }
        {
            std::lock_guard lock(state->mutex);
            if (CBackgroundTask *owner = state->owner; owner && !state->cancel) {
                QMetaObject::invokeMethod(
                        owner,
                        [owner, state, delivery = std::move(delivery)] {
                            // A newer start or a Cancel() after the post drops the result.
                            if (owner->m_detached != state)
                                return;
                            owner->m_detached.reset();
                            if (delivery)
                                delivery();
                            emit owner->finished(true, false, QString());
                        },
                        Qt::QueuedConnection);
            }
        }
        std::lock_guard lock(threadsMutex);
        --threadCount;
        threadsDone.notify_all();
    }).detach();
    return true;
}

void CBackgroundTask::Abandon()
{
    if (!m_detached)
        return;
    m_detached->cancel = true;
    std::lock_guard lock(m_detached->mutex);
    m_detached->owner = nullptr;
    m_detached.reset();
}

void CBackgroundTask::Cancel()
{
    m_cancel = true;
    Abandon();
}

void CBackgroundTask::ReportProgress(int done, int total)
{
    m_done = done;
    m_total = total;
    if (m_progressPending.exchange(true))
        return;
    QMetaObject::invokeMethod(
            this,
            [this] {
                m_progressPending = false;
                emit progress(m_done, m_total);
            },
            Qt::QueuedConnection);
}

bool CBackgroundTask::WaitForAll(int timeoutMs)
{
    std::unique_lock lock(threadsMutex);
    return threadsDone.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                [] { return threadCount == 0; });
}
