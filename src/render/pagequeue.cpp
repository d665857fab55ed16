#include "pagequeue.h"

#include <algorithm>

CPageQueue::CPageQueue(int capacity)
    : m_capacity(size_t(std::max(capacity, 1)))
{
}

bool CPageQueue::Begin(QSize pageSize, QString &)
{
    std::lock_guard lock(m_mutex);
    m_pageSize = pageSize;
    return true;
}

CPageSink::Next CPageQueue::AddPage(std::shared_ptr<const CPage> page, int number, QString &)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_closed || m_pages.size() < m_capacity; });
    if (m_closed)
        return Next::Enough;
    m_pages.emplace_back(std::move(page), number);
    m_changed.notify_all();
    return Next::More;
}

bool CPageQueue::Finish(int pageCount, QString &)
{
    std::lock_guard lock(m_mutex);
    m_finalCount = pageCount;
    return true;
}

void CPageQueue::End()
{
    {
        std::lock_guard lock(m_mutex);
        m_ended = true;
    }
    m_changed.notify_all();
}

bool CPageQueue::Take(std::shared_ptr<const CPage> &page, int &number)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_closed || m_ended || !m_pages.empty(); });
    if (m_closed || m_pages.empty())
        return false;
    page = std::move(m_pages.front().first);
    number = m_pages.front().second;
    m_pages.pop_front();
    m_changed.notify_all();
    return true;
}

QSize CPageQueue::GetPageSize() const
{
    std::lock_guard lock(m_mutex);
    return m_pageSize;
}

void CPageQueue::Close()
{
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
        m_pages.clear();
    }
    m_changed.notify_all();
}

int CPageQueue::GetFinalCount() const
{
    std::lock_guard lock(m_mutex);
    return m_finalCount;
}
