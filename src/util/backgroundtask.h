#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <thread>

// A piece of work on a thread of its own, so that the window that started it stays alive: an
// export, a print job. The object owns its thread; the work checks the cancel flag and reports
// progress, which reaches the owner's thread by a queued call that is dropped when the object
// is gone; nothing thrown leaves the thread. Signals arrive on the owner's thread. The
// destructor cancels the work and waits for its thread.
//
//     auto *task = new CBackgroundTask(this);
//     connect(task, &CBackgroundTask::finished, ...);
//     task->Start([model](CBackgroundTask &task, QString &message) {
//         return Write(*model, task.GetCancelFlag(), message);
//     });
class CBackgroundTask : public QObject
{
    Q_OBJECT

public:
    // Runs on the task's thread: true when done, false with a message when it failed (or when
    // it stopped because the cancel flag was set).
    using Work = std::function<bool(CBackgroundTask &task, QString &message)>;

    explicit CBackgroundTask(QObject *parent = nullptr);
    ~CBackgroundTask() override;

    // Starts the work; false when a work is running already.
    bool Start(Work work);
    // Asks the work to stop; finished() follows with the cancelled flag set.
    void Cancel();
    bool IsRunning() const { return m_running; }
    bool IsCancelled() const { return m_cancel; }
    const std::atomic_bool &GetCancelFlag() const { return m_cancel; }

    // Called by the work: done of total steps (total 0 when unknown). Reports that come faster
    // than the owner takes them are merged into the latest.
    void ReportProgress(int done, int total);

signals:
    void progress(int done, int total);
    // The work ended: succeeded, or failed with its message, or was cancelled.
    void finished(bool succeeded, bool cancelled, const QString &message);

private:
    std::atomic_bool m_cancel {false};
    std::atomic_bool m_progressPending {false};
    std::atomic_int m_done {0};
    std::atomic_int m_total {0};
    bool m_running = false;
    std::thread m_thread;
};
