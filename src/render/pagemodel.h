#pragma once

#include "pagesink.h"

#include <QSize>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

class CPage; // the primitives of one page (pagecontent.h)

// A laid-out report kept whole: its pages of drawing primitives in hundredths of a millimetre,
// all of the report's page size. The layout appends pages from its own thread while a preview
// reads them, so every call is safe from any thread; a page never changes once it is added.
//
// As the sink of a run it takes every page, unless a viewer limits how far the layout may run
// ahead of what it shows: with a page limit the layout waits before it starts a page past the
// limit, until the limit is raised or Stop ends the run there.
class CPageModel : public CPageSink
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

    // How many pages the layout may add before it waits; any number below 1 lifts the limit.
    // Callable from any thread; a waiting layout goes on at once.
    void SetPageLimit(int limit);
    // Ends the run at its next page, or at once when it waits for the limit; the run then
    // ends without a failure and the model stays incomplete.
    void Stop();
    bool IsStopped() const;

    // Lists the texts cut at their box on every page from now on (CPage::GetCutTexts). Set
    // before the run starts.
    void SetFindCutTexts(bool find) { m_findCutTexts = find; }
    bool WantsCutTexts() const override { return m_findCutTexts; }

    bool Begin(QSize pageSize, QString &message) override;
    Next StartPage(int number, QString &message) override;
    Next AddPage(std::shared_ptr<const CPage> page, int number, QString &message) override;
    bool Finish(int pageCount, QString &message) override;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    QSize m_pageSize;
    std::vector<std::shared_ptr<const CPage>> m_pages;
    bool m_complete = false;
    int m_limit = 0;
    bool m_stopped = false;
    bool m_findCutTexts = false;
};
