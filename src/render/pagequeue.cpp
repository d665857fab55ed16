#include "pagequeue.h"

#include <algorithm>

CPageQueue::CPageQueue(int capacity, bool textLines)
    : m_capacity(size_t(std::max(capacity, 1)))
    , m_textLines(textLines)
{ }

bool CPageQueue::Begin(QSize pageSize, QString &)
{
    std::lock_guard lock(m_mutex);
    m_pageSize = pageSize;
    return true;
}

CPageSink::Next CPageQueue::AddPage(std::shared_ptr<const CPage> page, int number, QString &)
{
    std::unique_lock lock(m_mutex);
    if (m_pages.size() >= m_capacity) {
        // A full queue waits until half of it is written, so that the two threads take turns
        // by many pages at a time rather than by one.
        m_layoutWaits = true;
        m_notFull.wait(lock, [this] { return m_closed || m_pages.size() <= m_capacity / 2; });
        m_layoutWaits = false;
    }
    if (m_closed)
        return Next::Enough;
    m_pages.emplace_back(std::move(page), number);
    if (m_writerWaits)
        m_notEmpty.notify_one();
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
    m_notEmpty.notify_all();
}

bool CPageQueue::Take(std::shared_ptr<const CPage> &page, int &number)
{
    std::unique_lock lock(m_mutex);
    if (m_pages.empty() && !m_ended && !m_closed) {
        m_writerWaits = true;
        m_notEmpty.wait(lock, [this] { return m_closed || m_ended || !m_pages.empty(); });
        m_writerWaits = false;
    }
    if (m_closed || m_pages.empty())
        return false;
    page = std::move(m_pages.front().first);
    number = m_pages.front().second;
    m_pages.pop_front();
    if (m_layoutWaits && m_pages.size() <= m_capacity / 2)
        m_notFull.notify_one();
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
    m_notFull.notify_all();
    m_notEmpty.notify_all();
}

int CPageQueue::GetFinalCount() const
{
    std::lock_guard lock(m_mutex);
    return m_finalCount;
}
