#include "livelayout.h"

#include "pagemodel.h"
#include "previewrun.h"

CLiveLayout::CLiveLayout(Source source, QObject *parent)
    : QObject(parent)
    , m_source(std::move(source))
{
    m_delay.setSingleShot(true);
    m_delay.setInterval(DefaultDelay);
    connect(&m_delay, &QTimer::timeout, this, &CLiveLayout::StartNow);
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
    Retire(m_current);
    m_current = nullptr;
    m_currentReport.reset();
    emit stateChanged();
}

void CLiveLayout::StartNow()
{
    m_delay.stop();
    Retire(m_current);
    m_current = nullptr;
    Job job = m_source();
    m_currentReport = job.report;
    if (!job.report) {
        emit stateChanged();
        return;
    }
    m_currentWhole = UsesPageCount(*job.report);
    auto *run = new CPreviewRun(std::move(job.report), std::move(job.options), this);
    run->SetPageLimit(m_currentWhole ? 0 : m_requested);
    m_current = run;
    connect(run, &CPreviewRun::pagesAdded, this, [this, run](int count) { OnPages(run, count); });
    connect(run, &CPreviewRun::finished, this,
            [this, run](bool succeeded, bool cancelled, const QString &message) {
                OnFinished(run, succeeded, cancelled, message);
            });
    ++m_started;
    run->Start();
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
    if (m_current && !m_currentWhole)
        m_current->SetPageLimit(m_requested);
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
    if (run != m_current)
        return;
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
    run->deleteLater();
    if (succeeded)
        TakeOver(run);
    else if (!cancelled)
        SetFailure(message, run->GetFailedAt());
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
