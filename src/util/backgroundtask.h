#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

// A piece of work on a thread of its own, so that the window that started it stays alive. The
// work checks an atomic cancel flag; its progress and its end reach the owner's thread by queued
// calls that are dropped when the object is gone; nothing thrown leaves the thread. Signals
// arrive on the owner's thread. Two kinds of work:
//
// - Start: work the owner waits for, an export or a print job that must finish or clean up
//   before the window goes. The destructor cancels it and waits for its thread.
//
//       auto *task = new CBackgroundTask(this);
//       connect(task, &CBackgroundTask::finished, ...);
//       task->Start([model](CBackgroundTask &task, QString &message) {
//           return Write(*model, task.GetCancelFlag(), message);
//       });
//
// - StartDetached: work the owner never waits for, a query that a database may not answer even
//   when cancelled. A newer StartDetached, Cancel or the destructor abandons the running work:
//   its thread finishes on its own and its result is dropped. The work gets only the cancel
//   flag (never the task, which may be gone) and returns what to do with its result on the
//   owner's thread.
//
//       task->StartDetached([report = CopyReport(...)](const std::atomic_bool &cancel) {
//           Result result = Compute(*report, cancel);          // on the worker thread
//           return [result, this] { Show(result); };           // later, on the owner's thread
//       });
class CBackgroundTask : public QObject
{
    Q_OBJECT

public:
    // Runs on the task's thread: true when done, false with a message when it failed (or when
    // it stopped because the cancel flag was set).
    using Work = std::function<bool(CBackgroundTask &task, QString &message)>;
    // What to do with a detached work's result on the owner's thread.
    using Delivery = std::function<void()>;
    using DetachedWork = std::function<Delivery(const std::atomic_bool &cancel)>;

    explicit CBackgroundTask(QObject *parent = nullptr);
    // Cancels the work: waits for a started one, abandons a detached one.
    ~CBackgroundTask() override;

    // Starts the work; false when a work is running already.
    bool Start(Work work);
    // Abandons a detached work still running and starts this one; false when a started work is
    // running.
    bool StartDetached(DetachedWork work);
    // Asks the work to stop; a started work's finished() follows with the cancelled flag set, a
    // detached work's result is dropped.
    void Cancel();
    bool IsRunning() const { return m_running || m_detached; }
    bool IsCancelled() const { return m_cancel; }
    const std::atomic_bool &GetCancelFlag() const { return m_cancel; }

    // Called by a started work: done of total steps (total 0 when unknown). Reports that come
    // faster than the owner takes them are merged into the latest.
    void ReportProgress(int done, int total);

    // Waits at most timeoutMs for the threads of every detached work of the process to end;
    // true when none is left. Called once at exit, so that no worker still uses a driver while
    // the program unloads it.
    static bool WaitForAll(int timeoutMs);

signals:
    void progress(int done, int total);
    // The work ended: succeeded, or failed with its message, or was cancelled. A detached work
    // emits it (succeeded) after its result was delivered, never after a cancel.
    void finished(bool succeeded, bool cancelled, const QString &message);

private:
    struct Detached;
    void Abandon();

    std::atomic_bool m_cancel {false};
    std::atomic_bool m_progressPending {false};
    std::atomic_int m_done {0};
    std::atomic_int m_total {0};
    bool m_running = false;
    std::thread m_thread;
    std::shared_ptr<Detached> m_detached;
};
