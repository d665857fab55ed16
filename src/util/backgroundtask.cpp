#include "backgroundtask.h"

#include <QMetaObject>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// The worker threads still running in the process.
std::mutex threadsMutex;
std::condition_variable threadsDone;
int threadCount = 0;

} // namespace

struct CBackgroundTask::State
{
    std::atomic_bool cancel = false;
    // Guards owner: the owner clears it before it goes, so a worker that holds the lock can
    // post to it safely; a posted call whose receiver is gone by then is dropped by Qt.
    std::mutex mutex;
    CBackgroundTask *owner = nullptr;
};

CBackgroundTask::CBackgroundTask(QObject *parent)
    : QObject(parent)
{
}

CBackgroundTask::~CBackgroundTask()
{
    Abandon();
}

void CBackgroundTask::Abandon()
{
    if (!m_state)
        return;
    m_state->cancel = true;
    std::lock_guard lock(m_state->mutex);
    m_state->owner = nullptr;
    m_state.reset();
}

void CBackgroundTask::Cancel()
{
    Abandon();
}

void CBackgroundTask::Start(Work work)
{
    Abandon();
    auto state = std::make_shared<State>();
    state->owner = this;
    m_state = state;
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
                            // A newer Start() or a Cancel() after the post drops the result.
                            if (owner->m_state != state)
                                return;
                            owner->m_state.reset();
                            if (delivery)
                                delivery();
                            emit owner->finished();
                        },
                        Qt::QueuedConnection);
            }
        }
        std::lock_guard lock(threadsMutex);
        --threadCount;
        threadsDone.notify_all();
    }).detach();
}

bool CBackgroundTask::WaitForAll(int timeoutMs)
{
    std::unique_lock lock(threadsMutex);
    return threadsDone.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                [] { return threadCount == 0; });
}
