#include "querywatchdog.h"

#include "dataconnection.h"

CQueryWatchdog::CQueryWatchdog(CDataConnection &connection, const std::atomic_bool *cancel)
    : m_connection(connection)
    , m_cancel(cancel)
    , m_thread([this] { Watch(); })
{ }

CQueryWatchdog::~CQueryWatchdog()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void CQueryWatchdog::Arm(int timeoutMs)
{
    {
        std::lock_guard lock(m_mutex);
        m_deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        m_armed = true;
    }
    m_wake.notify_all();
}

void CQueryWatchdog::Disarm()
{
    std::lock_guard lock(m_mutex);
    m_armed = false;
}

void CQueryWatchdog::Watch()
{
    std::unique_lock lock(m_mutex);
    while (!m_stop && !m_fired) {
        // The cancel flag is polled: whoever sets it knows nothing of this thread.
        m_wake.wait_for(lock, std::chrono::milliseconds(20));
        if (m_stop)
            break;
        const bool cancelled = m_cancel && m_cancel->load();
        const bool late = m_armed && std::chrono::steady_clock::now() >= m_deadline;
        if (cancelled || late) {
            m_timedOut = late && !cancelled;
            m_fired = true;
            m_connection.Cancel();
        }
    }
}
