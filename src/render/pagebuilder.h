#pragma once

#include "bandcontent.h"
#include "pagecontent.h"
#include "pagesink.h"
#include "pagetextlines.h"

#include <functional>
#include <memory>
#include <vector>

class CVornBand;

// How one printing of a body band goes onto the pages besides its content.
struct CPlacing
{
    // On the same page as the printing that follows it, where the two fit on one.
    bool keepWithNext = false;
    // A group header, by its band index, that prints again at the top of each page the group
    // goes on to (-1: none), until EndRepeat.
    int repeat = -1;
    // The report footer: a new page asked for after the last band gives way to it when it fits.
    bool closing = false;
    // Side by side in columns: their count (1: the page's width), the distance from one column
    // to the next (the first is where the band's items are) and 0 across then down, 1 down
    // then across.
    int columns = 1;
    int columnPitch = 0;
    int columnOrder = 0;
    int band = -1; // the band whose printings share the columns
};

// Fills pages from the top with bands: the page headers at the top of every page, the page
// footers at its bottom (those not printed on the first page left out there, with their
// space), and the body in between. The footers' space is kept free before any body band is
// placed, so a band that does not fit above them goes to the next page.
//
// Bands that have to share a page with what follows them (keep with next, keep together) wait
// in a queue until what they are kept with is known; then they go on together, on a new page
// when they do not fit on this one but do on an empty one. The queue holds at most a page's
// worth of bands: a group longer than a page goes on as it comes.
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
    bool Place(CBandContent content, const std::function<bool()> &placed = {},
               const CPlacing &how = {});
    // Column places left empty before the next printing of a band in columns, each as high as
    // height.
    bool Skip(int places, int height, const CPlacing &how);
    // Ends the page unless nothing of the body is on it yet.
    bool Break();
    // The next body band starts a new page, unless it is the report footer and fits on this one.
    void BreakAfter();
    // Page numbers start again at 1: on this page when nothing of the body is on it yet, else
    // on a new one.
    bool RestartNumbering();
    // What is placed between the two calls goes on one page, where it fits on one.
    void BeginKeep();
    bool EndKeep();
    // The group header band stops printing again on new pages.
    void EndRepeat(int band);
    // Whether the pages of a numbering are kept until it ends, so that they know their count:
    // for a report that shows the page count and starts its page numbers again.
    void SetHoldNumberings(bool hold) { m_holdNumberings = hold; }
    // Ends the last page; a report with no body gets one page of its headers and footers.
    bool Finish();

    int GetPageCount() const { return m_pageCount; }
    // After a false answer: whether the sink wanted no more pages (no failure), and the message
    // of a failure of the sink or of the page limit (empty when drawing failed).
    bool IsStopped() const { return m_stopped; }
    const QString &GetMessage() const { return m_message; }

private:
    // A printing that waits for what it is kept with.
    struct Waiting
    {
        CBandContent content;
        std::function<bool()> placed;
        CPlacing how;
        bool linked = false; // goes on the page of the next one
        bool breakAfter = false;
    };
    // The place of the last printing of a band in columns.
    struct ColumnRun
    {
        int band = -1;
        int column = 0; // the next printing's column
        int top = 0; // across: the line's top; down: the top of the columns on this page
        int bottom = 0; // the lowest bottom so far
        int y = 0; // down: where the next printing goes in its column
    };

    bool StartPage();
    bool EndPage();
    bool OnPage(const CVornBand &band, int page) const;
    int BodyHeight(int page) const;
    // The body of the next page less the group headers it repeats.
    int EmptyBodyHeight() const;
    bool Answer(CPageSink::Next next);
    // Places the waiting printings whose company is known; all of them when all is set.
    bool Drain(bool all);
    // Places the first count waiting printings, on a new page when they fit on no other.
    bool PlaceWaiting(size_t count, bool keep);
    bool PlaceNow(CBandContent content, const std::function<bool()> &placed, const CPlacing &how);
    // One body band across the page, broken across pages when it is taller than one.
    bool PlaceFlowing(CBandContent content, const std::function<bool()> &placed);
    bool PlaceInColumns(CBandContent &content, const CPlacing &how);
    // Hands the pages of a numbering that ended to the sink; next is the first page after it.
    bool EndNumbering(int next);

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

    std::vector<Waiting> m_waiting;
    qint64 m_queued = 0; // printings that ever waited, for the keep starts
    std::vector<qint64> m_keepStarts; // the first printing of each open keep, as m_queued then
    bool m_breakPending = false;
    std::vector<std::pair<int, CBandContent>> m_repeats; // group headers by band, outer first
    ColumnRun m_run;

    bool m_holdNumberings = false;
    int m_numberFrom = 1; // the first page of the current numbering
    std::vector<std::unique_ptr<CPage>> m_held; // its pages, when they wait for its end
};
