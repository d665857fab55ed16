#pragma once

#include <QSize>

#include <memory>
#include <mutex>
#include <vector>

class CPage; // the primitives of one page (pagecontent.h)

// A laid-out report: its pages of drawing primitives in hundredths of a millimetre, all of the
// report's page size. The layout appends pages from its own thread while a preview reads them,
// so every call is safe from any thread; a page never changes once it is added.
class CPageModel
{
public:
    // Page size in hundredths of a millimetre (landscape already applied).
    QSize GetPageSize() const;
    void SetPageSize(QSize size);

    // Pages added so far.
    int GetPageCount() const;
    std::shared_ptr<const CPage> GetPage(int index) const;
    void AddPage(std::shared_ptr<const CPage> page);

    // Set once the last page has been added; only then is the page count final (a page
    // number "of N" drawn earlier shows the count so far).
    bool IsComplete() const;
    void SetComplete();

private:
    mutable std::mutex m_mutex;
    QSize m_pageSize;
    std::vector<std::shared_ptr<const CPage>> m_pages;
    bool m_complete = false;
};
