#pragma once

#include "bandcontent.h"
#include "pagecontent.h"
#include "pagesink.h"
#include "pagetextlines.h"

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

    // Cuts a band's content that is taller than the space left (BreakBandContent).
    using BreakBand
            = std::function<int(CBandContent &content, int space, bool force, CBandContent &rest)>;
    void SetBreakBand(BreakBand breakBand) { m_break = std::move(breakBand); }

    // Places a body band's content, on a new page when it does not fit on this one (or after a
    // page break) but fits on an empty one; a band taller than that prints what fits here and
    // goes on at the top of the next page bodies. placed is called once the band's first part
    // is on a page, before that page ends. False when drawing failed or the run was stopped.
    bool Place(CBandContent content, const std::function<bool()> &placed = {});
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
    bool OnPage(const CVornBand &band, int page) const;
    int BodyHeight(int page) const;
    bool Answer(CPageSink::Next next);

    CPageSink &m_sink;
    std::shared_ptr<const CPageFontTable> m_fonts;
    int m_pageHeight;
    std::vector<const CVornBand *> m_headers;
    std::vector<const CVornBand *> m_footers;
    DrawBand m_draw;
    std::function<bool(int)> m_pageDone;
    BreakBand m_break;
    int m_maxPages;
    CPageLayoutFonts m_textFonts; // for the sink's text lines

    std::unique_ptr<CPage> m_page;
    int m_pageCount = 0; // pages started so far
    int m_top = 0; // where the next body band goes
    int m_bottom = 0; // where the page footers start
    bool m_bodyEmpty = true;
    bool m_stopped = false;
    QString m_message;
};
