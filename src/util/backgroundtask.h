#pragma once

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>

// Runs work off the GUI thread for an object that lives on it, in the manner of the preview's
// layout run: each piece of work gets a thread of its own and an atomic cancel flag, its result
// comes back as a queued call on the owner's thread, and nothing thrown leaves the thread.
// Unlike the preview's run, the owner never waits for the thread: a database that does not
// answer a cancel must not hold the designer. A thread that outlives its task (cancelled,
// replaced, or the task destroyed) finishes on its own, and its result is dropped.
//
//     task->Start([report = CopyReport(...)](const std::atomic_bool &cancel) {
//         Result result = Compute(*report, cancel);          // on the worker thread
//         return [result, this] { Show(result); };           // later, on the GUI thread
//     });
class CBackgroundTask : public QObject
{
    Q_OBJECT

public:
    // What to do with a result on the owner's thread.
    using Delivery = std::function<void()>;
    // The work: runs on the worker thread and returns the delivery of its result (or none).
    using Work = std::function<Delivery(const std::atomic_bool &cancel)>;

    explicit CBackgroundTask(QObject *parent = nullptr);
    // Cancels the running work without waiting for it.
    ~CBackgroundTask() override;

    // Cancels the running work, whose result is then dropped, and starts this one.
    void Start(Work work);
    // Asks the running work to stop; its result is dropped.
    void Cancel();
    bool IsRunning() const { return m_state != nullptr; }

    // Waits at most timeoutMs for the threads of every task of the process to end; true when
    // none is left. Called once at exit, so that no worker still uses a driver while the
    // program unloads it.
    static bool WaitForAll(int timeoutMs);

signals:
    // The running work has finished and its result was delivered (not after a cancel).
    void finished();

private:
    struct State;
    void Abandon();

    std::shared_ptr<State> m_state;
};
