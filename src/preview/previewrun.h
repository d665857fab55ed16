#pragma once

#include "backgroundtask.h"
#include "reportrun.h"

#include <QObject>
#include <QString>

#include <memory>

class CPageModel;
class CVornReport;

// Lays a report out on a worker thread of its own (a CBackgroundTask), where RunReport opens
// its own database connection, while the window that owns this object shows the pages as they
// come. Signals arrive on the owner's thread. The report must stay unchanged until the run has finished or
// this object is destroyed: the destructor cancels the run and waits for its thread.
class CPreviewRun : public QObject
{
    Q_OBJECT

public:
    CPreviewRun(const CVornReport &report, CRunOptions options, QObject *parent = nullptr);
    ~CPreviewRun() override;

    // The pages laid out so far; complete once finished() reported success.
    const std::shared_ptr<CPageModel> &GetModel() const { return m_model; }

    void Start();
    // Asks the layout to stop; finished() follows with the cancelled flag set.
    void Cancel();
    bool IsRunning() const { return m_task.IsRunning(); }
    bool IsCancelled() const { return m_task.IsCancelled(); }

signals:
    // More pages are in the model (count of them now). Several new pages may arrive as one
    // signal while the owner's thread is busy.
    void pagesAdded(int count);
    // The layout ended: succeeded, or failed with the run's message, or was cancelled.
    void finished(bool succeeded, bool cancelled, const QString &message);

private:
    const CVornReport &m_report;
    CRunOptions m_options;
    std::shared_ptr<CPageModel> m_model;
    // Last, so that its thread has ended before the model and the options go.
    CBackgroundTask m_task;
};
