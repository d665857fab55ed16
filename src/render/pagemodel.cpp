#include "pagemodel.h"

QSize CPageModel::GetPageSize() const
{
    std::lock_guard lock(m_mutex);
    return m_pageSize;
}

void CPageModel::SetPageSize(QSize size)
{
    std::lock_guard lock(m_mutex);
    m_pageSize = size;
}

int CPageModel::GetPageCount() const
{
    std::lock_guard lock(m_mutex);
    return int(m_pages.size());
}

std::shared_ptr<const CPage> CPageModel::GetPage(int index) const
{
    std::lock_guard lock(m_mutex);
    if (index < 0 || size_t(index) >= m_pages.size())
        return {};
    return m_pages[size_t(index)];
}

void CPageModel::AddPage(std::shared_ptr<const CPage> page)
{
    std::lock_guard lock(m_mutex);
    m_pages.push_back(std::move(page));
}

bool CPageModel::IsComplete() const
{
    std::lock_guard lock(m_mutex);
    return m_complete;
}

void CPageModel::SetComplete()
{
    std::lock_guard lock(m_mutex);
    m_complete = true;
}

void CPageModel::SetPageLimit(int limit)
{
    {
        std::lock_guard lock(m_mutex);
        m_limit = limit;
    }
    m_wake.notify_all();
}

void CPageModel::Stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopped = true;
    }
    m_wake.notify_all();
}

bool CPageModel::IsStopped() const
{
    std::lock_guard lock(m_mutex);
    return m_stopped;
}

bool CPageModel::Begin(QSize pageSize, QString &)
{
    SetPageSize(pageSize);
    return true;
}

CPageSink::Next CPageModel::StartPage(int number, QString &)
{
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this, number] { return m_stopped || m_limit < 1 || number <= m_limit; });
    return m_stopped ? Next::Enough : Next::More;
}

CPageSink::Next CPageModel::AddPage(std::shared_ptr<const CPage> page, int, QString &)
{
    std::lock_guard lock(m_mutex);
    m_pages.push_back(std::move(page));
    return m_stopped ? Next::Enough : Next::More;
}

bool CPageModel::Finish(int, QString &)
{
    SetComplete();
    return true;
}
