#include "livelayout.h"

#include "pagemodel.h"
#include "previewrun.h"
#include "vornreport.h"

#include <QLocale>

CLiveLayout::CLiveLayout(Source source, QObject *parent)
    : QObject(parent)
    , m_source(std::move(source))
{
    m_delay.setSingleShot(true);
    m_delay.setInterval(DefaultDelay);
    connect(&m_delay, &QTimer::timeout, this, &CLiveLayout::StartNow);
    m_timeBudget.setSingleShot(true);
    m_timeBudget.setInterval(TimeBudget);
    connect(&m_timeBudget, &QTimer::timeout, this, [this] { OverBudget(true); });
}

void CLiveLayout::SetBudgets(int pages, int milliseconds)
{
    m_pageBudget = std::max(1, pages);
    m_timeBudget.setInterval(std::max(1, milliseconds));
}

int CLiveLayout::PageLimit() const
{
    return m_currentWhole ? m_pageBudget : std::min(m_requested, m_pageBudget);
}

void CLiveLayout::OverBudget(bool time)
{
    if (!m_current || m_over != Over::None)
        return;
    m_timeBudget.stop();
    m_over = time ? Over::Time : Over::Pages;
    // The run ends as cancelled, its query stopped in the driver; OnFinished says why.
    m_current->Cancel();
}

CLiveLayout::~CLiveLayout()
{
    // The runs are children: each cancels and ends its thread as it goes.
    if (m_current)
        m_current->Cancel();
}

void CLiveLayout::Schedule()
{
    m_delay.start();
    emit stateChanged();
}

bool CLiveLayout::IsPending() const
{
    return m_delay.isActive() || m_current;
}

void CLiveLayout::Stop()
{
    m_delay.stop();
    m_timeBudget.stop();
    Retire(m_current);
    m_current = nullptr;
    m_currentReport.reset();
    emit stateChanged();
}

void CLiveLayout::StartNow()
{
    m_delay.stop();
    m_timeBudget.stop();
    Retire(m_current);
    m_current = nullptr;
    m_over = Over::None;
    Job job = m_source();
    m_currentReport = job.report;
    if (!job.report) {
        emit stateChanged();
        return;
    }
    m_currentWhole = UsesPageCount(*job.report);
    auto *run = new CPreviewRun(std::move(job.report), std::move(job.options), this);
    // The texts cut at their box are listed for the Problems pane.
    run->GetModel()->SetFindCutTexts(true);
    m_current = run;
    run->SetPageLimit(PageLimit());
    connect(run, &CPreviewRun::pagesAdded, this, [this, run](int count) { OnPages(run, count); });
    connect(run, &CPreviewRun::finished, this,
            [this, run](bool succeeded, bool cancelled, const QString &message) {
                OnFinished(run, succeeded, cancelled, message);
            });
    ++m_started;
    run->Start();
    m_timeBudget.start();
    emit stateChanged();
}

void CLiveLayout::Retire(CPreviewRun *run)
{
    if (!run)
        return;
    // From now on nothing of this run is shown; it goes once its thread has ended.
    disconnect(run, nullptr, this, nullptr);
    run->Cancel();
    if (run->IsRunning())
        connect(run, &CPreviewRun::finished, run, &QObject::deleteLater);
    else
        run->deleteLater();
}

void CLiveLayout::RequestPages(int count)
{
    m_requested = std::max(1, count);
    if (m_current && !m_currentWhole && m_over == Over::None) {
        // A layout that waited for the viewer works again, within a fresh time budget.
        if (m_current->GetModel()->GetPageCount() < PageLimit() && !m_timeBudget.isActive())
            m_timeBudget.start();
        m_current->SetPageLimit(PageLimit());
    }
}

bool CLiveLayout::IsComplete() const
{
    return m_model && m_model->IsComplete();
}

void CLiveLayout::TakeOver(CPreviewRun *run)
{
    const bool newer = m_model != run->GetModel();
    m_model = run->GetModel();
    m_report = m_currentReport;
    if (newer)
        SetFailure({}, {});
    emit pagesChanged();
}

void CLiveLayout::OnPages(CPreviewRun *run, int count)
{
    if (run != m_current || m_over != Over::None)
        return;
    if (count >= m_pageBudget && !run->GetModel()->IsComplete()) {
        OverBudget(false);
        return;
    }
    // Having the pages asked for, the layout waits for the viewer: that takes no time budget.
    if (!m_currentWhole && count >= m_requested)
        m_timeBudget.stop();
    // A newer layout replaces the pages shown once it has those the viewer shows.
    if (m_model == run->GetModel() || (count >= m_requested && !m_currentWhole))
        TakeOver(run);
}

void CLiveLayout::OnFinished(CPreviewRun *run, bool succeeded, bool cancelled,
                             const QString &message)
{
    if (run != m_current)
        return;
    m_current = nullptr;
    m_timeBudget.stop();
    run->deleteLater();
    if (succeeded) {
        TakeOver(run);
    } else if (m_over != Over::None) {
        // The pages laid out so far are the last good ones.
        const int pages = run->GetModel()->GetPageCount();
        if (pages > 0)
            TakeOver(run);
        const int seconds = (m_timeBudget.interval() + 999) / 1000;
        QString stopped = m_over == Over::Pages
                ? tr("Stopped after %1 pages").arg(QLocale().toString(m_pageBudget))
                : seconds == 1 ? tr("Stopped after 1 second")
                               : tr("Stopped after %1 seconds").arg(QLocale().toString(seconds));
        // Out of time, the message names the band the layout was working on.
        const CPageSource at = m_over == Over::Time ? run->GetFailedAt() : CPageSource();
        const auto &bands = m_currentReport->GetBands();
        if (at.band >= 0 && at.band < bands.GetCount())
            stopped += tr(" on the band \"%1\"").arg(bands[at.band]->GetName());
        const QString unknown = m_currentWhole || pages == 0
                ? tr("Page N of M is not known")
                : tr("page %1 is not laid out").arg(QLocale().toString(pages + 1));
        SetFailure(tr("%1: %2").arg(stopped, unknown), at);
    } else if (!cancelled) {
        SetFailure(message, run->GetFailedAt());
    }
    emit stateChanged();
}

void CLiveLayout::SetFailure(const QString &message, const CPageSource &at)
{
    if (m_failure == message && m_failedAt == at)
        return;
    m_failure = message;
    m_failedAt = at;
    emit stateChanged();
}
