#pragma once

#include "pagecontent.h"
#include "reportrun.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class CPageModel;
class CPreviewRun;
class CVornReport;

// Keeps a layout of the report in step with the user's edits, off the GUI thread. A change
// starts a layout after a short quiet time, so a burst of edits is laid out once, at its end; a
// newer layout cancels one still running, whose pages are then never shown. A layout lays out
// only the pages asked for and waits before the next one (after the last page of the report it
// finishes, so the page count is known once the last page is in sight). The pages shown stay
// those of the last good layout until a newer one has the pages asked for, or has finished.
// A report that prints the number of pages is laid out whole, and shown once it is, so that
// no page shows a count that is not yet the last.
//
// A layout keeps within two budgets, so that a report without end (a query that never ends,
// one that never answers) cannot take the designer's memory or keep a server busy: at most
// PageBudget pages, and at most TimeBudget of work for the pages asked for (waiting for the
// viewer to ask for more does not count). A layout over a budget is cancelled, its query with
// it, and its pages so far are shown under a failure that says so ("Stopped after 10,000
// pages: Page N of M is not known").
class CLiveLayout : public QObject
{
    Q_OBJECT

public:
    // What one layout works on, taken when it starts: a copy of the report that nobody
    // changes (never the document's own report) and the options of the run.
    struct Job
    {
        std::shared_ptr<const CVornReport> report;
        CRunOptions options;
    };
    using Source = std::function<Job()>;

    static constexpr int DefaultDelay = 40; // milliseconds of quiet before a layout starts
    static constexpr int PageBudget = 10'000;
    static constexpr int TimeBudget = 30'000; // milliseconds

    explicit CLiveLayout(Source source, QObject *parent = nullptr);
    ~CLiveLayout() override;

    void SetDelay(int milliseconds) { m_delay.setInterval(milliseconds); }
    // Other budgets than PageBudget and TimeBudget, for the layouts started from now on.
    void SetBudgets(int pages, int milliseconds);

    // The report changed: lays it out again once no change has come for the delay.
    void Schedule();
    // Lays the report out at once (a report opened), cancelling a layout still running.
    void StartNow();
    // Cancels the layout running or due; the pages shown stay.
    void Stop();
    // A change is waiting for its layout, or a layout runs.
    bool IsPending() const;

    // The number of pages the viewer shows from the first: the layout goes on until it has
    // them, or the report ends.
    void RequestPages(int count);
    int GetRequestedPages() const { return m_requested; }

    // The pages shown and the copy of the report they were laid out from; null before the
    // first layout has pages.
    const std::shared_ptr<const CPageModel> &GetModel() const { return m_model; }
    const std::shared_ptr<const CVornReport> &GetReport() const { return m_report; }
    // Every page of the shown layout is there: the page count is known.
    bool IsComplete() const;

    // The newest layout's failure (empty while it did not fail) and the band and item the
    // failure names; the pages shown are those of the last good layout.
    const QString &GetFailure() const { return m_failure; }
    const CPageSource &GetFailedAt() const { return m_failedAt; }

    // Layouts started so far.
    int GetStartedCount() const { return m_started; }

signals:
    // Another layout's pages are shown, or the shown layout has more pages.
    void pagesChanged();
    // A layout started or ended, or failed.
    void stateChanged();

private:
    void OnPages(CPreviewRun *run, int count);
    void OnFinished(CPreviewRun *run, bool succeeded, bool cancelled, const QString &message);
    void TakeOver(CPreviewRun *run);
    void Retire(CPreviewRun *run);
    void SetFailure(const QString &message, const CPageSource &at);
    // The page limit of the newest layout: the pages asked for, within the page budget.
    int PageLimit() const;
    void OverBudget(bool time);

    Source m_source;
    QTimer m_delay;
    CPreviewRun *m_current = nullptr; // the newest layout while it runs
    std::shared_ptr<const CVornReport> m_currentReport;
    bool m_currentWhole = false; // the newest layout runs to the end before it is shown
    std::shared_ptr<const CPageModel> m_model;
    std::shared_ptr<const CVornReport> m_report;
    QString m_failure;
    CPageSource m_failedAt;
    int m_requested = 1;
    int m_started = 0;
    int m_pageBudget = PageBudget;
    QTimer m_timeBudget; // runs while the newest layout works for pages asked for
    enum class Over { None, Pages, Time } m_over = Over::None; // why the newest was cancelled
};
