#pragma once

#include "pagecontent.h"
#include "pagesink.h"

#include <functional>
#include <memory>
#include <vector>

class CVornBand;

// Fills pages from the top with bands: the page headers at the top of every page, the page
// footers at its bottom (those not printed on the first page left out there, with their
// space), and the body in between. The footers' space is kept free before any body band is
// placed, so a band that does not fit above them goes to the next page.
class CPageBuilder
{
public:
    // Draws one band's items at top on a page; the page number is known to it.
    using DrawBand = std::function<bool(const CVornBand &band, int top, CPage &page)>;

    // Each finished page goes to sink, then pageDone is told the page count so far (false from
    // it stops the run). A run that would start page maxPages + 1 fails.
    CPageBuilder(CPageSink &sink, std::shared_ptr<const CPageFontTable> fonts, int pageHeight,
                 std::vector<const CVornBand *> headers, std::vector<const CVornBand *> footers,
                 DrawBand draw, std::function<bool(int pageCount)> pageDone, int maxPages);

    // Places a body band of the given height, on a new page when it does not fit on this one
    // (or after a page break). False when drawing failed or the run was stopped.
    bool Place(const CVornBand &band);
    // Ends the page unless nothing of the body is on it yet.
    bool Break();
    // Ends the last page; a report with no body gets one page of its headers and footers.
    bool Finish();

    int GetPageCount() const { return m_pageCount; }
    // After a false answer: whether the sink wanted no more pages (no failure), and the message
    // of a failure of the sink or of the page limit (empty when drawing failed).
    bool IsStopped() const { return m_stopped; }
    const QString &GetMessage() const { return m_message; }

private:
    bool StartPage();
    bool EndPage();
    bool OnPage(const CVornBand &band) const;
    bool Answer(CPageSink::Next next);

    CPageSink &m_sink;
    std::shared_ptr<const CPageFontTable> m_fonts;
    int m_pageHeight;
    std::vector<const CVornBand *> m_headers;
    std::vector<const CVornBand *> m_footers;
    DrawBand m_draw;
    std::function<bool(int)> m_pageDone;
    int m_maxPages;

    std::unique_ptr<CPage> m_page;
    int m_pageCount = 0; // pages started so far
    int m_top = 0; // where the next body band goes
    int m_bottom = 0; // where the page footers start
    bool m_bodyEmpty = true;
    bool m_stopped = false;
    QString m_message;
};
