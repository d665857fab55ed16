#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

class CDataConnection;

// Stops what runs on a connection when a cancel flag is set or when a query has run too long:
// a thread of its own watches both while the connection's thread waits on the driver, and calls
// the connection's Cancel(), which reaches the driver from any thread. Arm it before each query
// and disarm it after; an armed query that has not answered within the time is cancelled and
// TimedOut() tells it apart from a cancel asked for by the user.
class CQueryWatchdog
{
public:
    CQueryWatchdog(CDataConnection &connection, const std::atomic_bool *cancel);
    ~CQueryWatchdog();
    CQueryWatchdog(const CQueryWatchdog &) = delete;
    CQueryWatchdog &operator=(const CQueryWatchdog &) = delete;

    void Arm(int timeoutMs);
    void Disarm();
    bool TimedOut() const { return m_timedOut; }
    // The connection was cancelled (time up or asked for): it serves no further query.
    bool Fired() const { return m_fired; }

private:
    void Watch();

    CDataConnection &m_connection;
    const std::atomic_bool *m_cancel;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::chrono::steady_clock::time_point m_deadline;
    bool m_armed = false;
    bool m_stop = false;
    std::atomic_bool m_timedOut = false;
    std::atomic_bool m_fired = false;
    std::thread m_thread;
};
