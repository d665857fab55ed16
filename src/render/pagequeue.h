#pragma once

#include "pagesink.h"

#include <condition_variable>
#include <deque>
#include <mutex>

// A bounded queue of pages between a layout on one thread and a writer on another, so that the
// next pages are laid out while one is written. The layout waits when the queue holds its
// capacity of pages, so memory stays bounded however fast it runs.
class CPageQueue : public CPageSink
{
public:
    // With textLines the layout breaks the texts of each page for a writer that draws them.
    CPageQueue(int capacity, bool textLines);

    // The layout's side.
    bool Begin(QSize pageSize, QString &message) override;
    Next AddPage(std::shared_ptr<const CPage> page, int number, QString &message) override;
    bool Finish(int pageCount, QString &message) override;
    bool WantsTextLines() const override { return m_textLines; }
    // Called on the layout's thread once the run has ended, however it ended.
    void End();

    // The writer's side. The next page, waiting for it; false once the run has ended and every
    // page has been taken.
    bool Take(std::shared_ptr<const CPage> &page, int &number);
    // The page size given by Begin, once a first page could be taken.
    QSize GetPageSize() const;
    // The writer gives up: pages are no longer queued and the layout stops at its next page.
    void Close();
    // The number of pages when the layout reached the end of the report, else 0.
    int GetFinalCount() const;

private:
    const size_t m_capacity;
    const bool m_textLines;
    mutable std::mutex m_mutex;
    std::condition_variable m_notFull; // the layout's wait
    std::condition_variable m_notEmpty; // the writer's wait
    std::deque<std::pair<std::shared_ptr<const CPage>, int>> m_pages;
    QSize m_pageSize;
    int m_finalCount = 0;
    bool m_ended = false;
    bool m_closed = false;
    bool m_layoutWaits = false;
    bool m_writerWaits = false;
};
