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
