#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// One thread that outlives the jobs it runs, one job at a time. Work that must stay on one
// thread across many calls uses it: a database connection is opened, used and closed on the
// thread that made it, so a batch that reuses one connection for many runs runs them all here.
class CJobThread
{
public:
    CJobThread();
    // Waits for the job in hand, then ends the thread.
    ~CJobThread();
    CJobThread(const CJobThread &) = delete;
    CJobThread &operator=(const CJobThread &) = delete;

    // Hands the thread a job and returns at once; the previous job must have been waited for.
    // The job must not throw.
    void Post(std::function<void()> job);
    // Waits until the posted job is done.
    void Wait();
    // Post and Wait.
    void Call(std::function<void()> job);

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::function<void()> m_job;
    bool m_busy = false;
    bool m_stop = false;
    std::thread m_thread;
};
