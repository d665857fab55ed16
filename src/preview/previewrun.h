#pragma once

#include "backgroundtask.h"
#include "pagecontent.h"
#include "reportrun.h"

#include <QObject>
#include <QString>

#include <memory>

class CPageModel;
class CVornReport;

// Lays a report out on a worker thread of its own (a CBackgroundTask), where RunReport opens
// its own database connection, while the window that owns this object shows the pages as they
// come. Signals arrive on the owner's thread. The report must stay unchanged until the run has
// finished or this object is destroyed: the destructor cancels the run and waits for its thread.
//
// A run may be held back to the pages someone looks at: with a page limit it lays out that
// many pages and then waits, holding its place in the data, until the limit is raised or the
// run is cancelled.
class CPreviewRun : public QObject
{
    Q_OBJECT

public:
    CPreviewRun(const CVornReport &report, CRunOptions options, QObject *parent = nullptr);
    // A run on a copy of the report that it keeps alive itself, so that the owner may drop the
    // run (cancelled) while the report it shows goes on changing.
    CPreviewRun(std::shared_ptr<const CVornReport> report, CRunOptions options,
                QObject *parent = nullptr);
    ~CPreviewRun() override;

    // The pages laid out so far; complete once finished() reported success.
    const std::shared_ptr<CPageModel> &GetModel() const { return m_model; }

    void Start();
    // Asks the layout to stop; finished() follows with the cancelled flag set.
    void Cancel();
    bool IsRunning() const { return m_task.IsRunning(); }
    bool IsCancelled() const { return m_task.IsCancelled(); }

    // The number of pages to lay out before waiting for more to be asked for; 0 (the default)
    // for no limit. Raising it lets a waiting layout go on.
    void SetPageLimit(int count);

    // The band and item of the report at which a failed run stopped, when it was at one.
    const CPageSource &GetFailedAt() const { return m_failedAt; }

signals:
    // More pages are in the model (count of them now). Several new pages may arrive as one
    // signal while the owner's thread is busy.
    void pagesAdded(int count);
    // The layout ended: succeeded, or failed with the run's message, or was cancelled.
    void finished(bool succeeded, bool cancelled, const QString &message);

private:
    std::shared_ptr<const CVornReport> m_ownReport;
    const CVornReport &m_report;
    CRunOptions m_options;
    CPageSource m_failedAt; // written by the layout's thread before it ends
    std::shared_ptr<CPageModel> m_model;
    // Last, so that its thread has ended before the model and the options go.
    CBackgroundTask m_task;
};
