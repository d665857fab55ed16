#include "jobthread.h"

CJobThread::CJobThread()
{
    m_thread = std::thread([this] {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_stop || m_job; });
            if (!m_job)
                return;
            std::function<void()> job = std::move(m_job);
            m_job = nullptr;
            lock.unlock();
            job();
            lock.lock();
            m_busy = false;
            m_wake.notify_all();
        }
    });
}

CJobThread::~CJobThread()
{
    Wait();
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void CJobThread::Post(std::function<void()> job)
{
    {
        std::lock_guard lock(m_mutex);
        m_job = std::move(job);
        m_busy = true;
    }
    m_wake.notify_all();
}

void CJobThread::Wait()
{
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this] { return !m_busy; });
}

void CJobThread::Call(std::function<void()> job)
{
    Post(std::move(job));
    Wait();
}
