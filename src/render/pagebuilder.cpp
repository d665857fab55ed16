#include "pagebuilder.h"

#include "vornband.h"

#include <QCoreApplication>

#include <algorithm>

CPageBuilder::CPageBuilder(CPageSink &sink, std::shared_ptr<const CPageFontTable> fonts,
                           int pageHeight, std::vector<const CVornBand *> headers,
                           std::vector<const CVornBand *> footers, DrawBand draw,
                           std::function<bool(int)> pageDone, int maxPages)
    : m_sink(sink)
    , m_fonts(std::move(fonts))
    , m_pageHeight(pageHeight)
    , m_headers(std::move(headers))
    , m_footers(std::move(footers))
    , m_draw(std::move(draw))
    , m_pageDone(std::move(pageDone))
    , m_maxPages(maxPages)
{ }

bool CPageBuilder::Answer(CPageSink::Next next)
{
    switch (next) {
    case CPageSink::Next::More:
        return true;
    case CPageSink::Next::Enough:
        m_stopped = true;
        return false;
    case CPageSink::Next::Fail:
        if (m_message.isEmpty())
            m_message = QCoreApplication::translate("RunReport", "The pages could not be written");
        return false;
    }
    return false;
}

bool CPageBuilder::OnPage(const CVornBand &band, int page) const
{
    return page > 1 || band.GetPrintOnFirstPage() != 0;
}

int CPageBuilder::BodyHeight(int page) const
{
    qint64 height = m_pageHeight;
    for (const auto *bands : {&m_headers, &m_footers}) {
        for (const CVornBand *band : *bands) {
            if (OnPage(*band, page))
                height -= band->GetEffectiveHeight();
        }
    }
    return int(std::max<qint64>(height, 0));
}

int CPageBuilder::EmptyBodyHeight() const
{
    int height = BodyHeight(m_pageCount + 1);
    for (const auto &[band, content] : m_repeats)
        height -= content.height;
    return height;
}

bool CPageBuilder::StartPage()
{
    if (m_pageCount >= m_maxPages) {
        // A report without end (a query that never stops) fails here instead of filling memory
        // or the disk.
        m_message = QCoreApplication::translate("RunReport",
                                                "The report has more than %1 pages; the run "
                                                "stops there")
                            .arg(m_maxPages);
        return false;
    }
    // A page kept for its numbering's count is announced when it goes to the sink.
    if (m_pageCount > 0 && !m_holdNumberings
        && !Answer(m_sink.StartPage(m_pageCount + 1, m_message)))
        return false;
    m_page = std::make_unique<CPage>(m_fonts);
    ++m_pageCount;
    m_page->SetNumbering(m_numberFrom, 0);
    m_top = 0;
    for (const CVornBand *header : m_headers) {
        if (!OnPage(*header, m_pageCount))
            continue;
        if (!m_draw(*header, m_top, *m_page))
            return false;
        m_top += header->GetEffectiveHeight();
    }
    m_bottom = m_pageHeight;
    for (const CVornBand *footer : m_footers) {
        if (OnPage(*footer, m_pageCount))
            m_bottom -= footer->GetEffectiveHeight();
    }
    // The headers of the groups that go on here, unless they would leave the page too little
    // room for anything else.
    qint64 repeated = 0;
    for (const auto &[band, content] : m_repeats)
        repeated += content.height;
    if (repeated > 0 && 2 * repeated <= m_bottom - m_top) {
        for (const auto &[band, content] : m_repeats) {
            CBandContent copy = content;
            PutBandContent(copy, m_top, *m_page);
            m_top += content.height;
        }
    }
    m_bodyEmpty = true;
    m_run = ColumnRun();
    return true;
}

bool CPageBuilder::EndPage()
{
    int top = m_bottom;
    for (const CVornBand *footer : m_footers) {
        if (!OnPage(*footer, m_pageCount))
            continue;
        if (!m_draw(*footer, top, *m_page))
            return false;
        top += footer->GetEffectiveHeight();
    }
    if (m_sink.WantsTextLines() || m_sink.WantsCutTexts()) {
        auto lines = std::make_shared<const CPageTextLines>(*m_page, m_textFonts);
        if (m_sink.WantsCutTexts())
            m_page->SetCutTexts(lines->CutTexts(*m_page));
        if (m_sink.WantsTextLines())
            m_page->SetTextLines(std::move(lines));
    }
    m_run = ColumnRun();
    if (m_holdNumberings) {
        m_held.push_back(std::move(m_page));
        return m_pageDone(m_pageCount);
    }
    if (!Answer(m_sink.AddPage(std::shared_ptr<const CPage>(std::move(m_page)), m_pageCount,
                               m_message)))
        return false;
    return m_pageDone(m_pageCount);
}

bool CPageBuilder::EndNumbering(int next)
{
    const int count = next - m_numberFrom;
    int number = m_numberFrom;
    for (std::unique_ptr<CPage> &page : m_held) {
        page->SetNumbering(m_numberFrom, count);
        if (number > 1 && !Answer(m_sink.StartPage(number, m_message)))
            return false;
        if (!Answer(m_sink.AddPage(std::shared_ptr<const CPage>(std::move(page)), number,
                                   m_message)))
            return false;
        ++number;
    }
    m_held.clear();
    m_numberFrom = next;
    return true;
}

bool CPageBuilder::Place(CBandContent content, const std::function<bool()> &placed,
                         const CPlacing &how)
{
    if (m_waiting.empty() && m_keepStarts.empty() && !how.keepWithNext)
        return PlaceNow(std::move(content), placed, how);
    // Kept with what comes before it (an open keep), or with what comes after it.
    if (!m_keepStarts.empty() && !m_waiting.empty() && m_queued - 1 >= m_keepStarts.front())
        m_waiting.back().linked = true;
    m_waiting.push_back({std::move(content), placed, how, how.keepWithNext, false});
    ++m_queued;
    return Drain(false);
}

bool CPageBuilder::Drain(bool all)
{
    while (!m_waiting.empty()) {
        size_t end = 0;
        while (end < m_waiting.size() && m_waiting[end].linked)
            ++end;
        const qint64 first = m_queued - qint64(m_waiting.size());
        const bool complete = end < m_waiting.size()
                && (m_keepStarts.empty() || first + qint64(end) < m_keepStarts.front());
        if (complete || all) {
            if (!PlaceWaiting(std::min(end + 1, m_waiting.size()), true))
                return false;
            continue;
        }
        // What waits cannot go on one page anyway: it goes on as it comes, and an open keep
        // keeps what follows together.
        qint64 height = 0;
        for (const Waiting &waiting : m_waiting)
            height += waiting.content.height;
        if (height <= EmptyBodyHeight())
            return true;
        if (!PlaceWaiting(m_waiting.size(), false))
            return false;
        for (qint64 &start : m_keepStarts)
            start = m_queued;
    }
    return true;
}

bool CPageBuilder::PlaceWaiting(size_t count, bool keep)
{
    std::vector<Waiting> block(std::make_move_iterator(m_waiting.begin()),
                               std::make_move_iterator(m_waiting.begin() + qsizetype(count)));
    m_waiting.erase(m_waiting.begin(), m_waiting.begin() + qsizetype(count));
    qint64 height = 0;
    for (const Waiting &waiting : block)
        height += waiting.content.height;
    if (keep && block.size() > 1 && m_page && !m_bodyEmpty && !m_breakPending
        && m_top + height > m_bottom && height <= EmptyBodyHeight()) {
        if (!EndPage())
            return false;
    }
    for (Waiting &waiting : block) {
        if (!PlaceNow(std::move(waiting.content), waiting.placed, waiting.how))
            return false;
        if (waiting.breakAfter)
            m_breakPending = true;
    }
    return true;
}

bool CPageBuilder::PlaceNow(CBandContent content, const std::function<bool()> &placed,
                            const CPlacing &how)
{
    if (m_breakPending) {
        m_breakPending = false;
        const bool fits = m_page && qint64(m_top) + content.height <= m_bottom;
        if (m_page && !m_bodyEmpty && !(how.closing && fits) && !EndPage())
            return false;
    }
    if (how.columns > 1) {
        if (!PlaceInColumns(content, how))
            return false;
        return !placed || placed();
    }
    m_run = ColumnRun();
    if (how.repeat < 0)
        return PlaceFlowing(std::move(content), placed);
    // Printed again on the group's next pages, as a heading rather than a row: data exports
    // leave it out. It repeats once it is on a page, so not on the page it moves to.
    CBandContent copy = content;
    copy.band.body = false;
    if (!PlaceFlowing(std::move(content), placed))
        return false;
    m_repeats.emplace_back(how.repeat, std::move(copy));
    return true;
}

bool CPageBuilder::PlaceFlowing(CBandContent content, const std::function<bool()> &placed)
{
    bool first = true;
    for (;;) {
        if (m_page && !m_bodyEmpty && qint64(m_top) + content.height > m_bottom
            && (!m_break || content.height <= EmptyBodyHeight())) {
            if (!EndPage())
                return false;
        }
        if (!m_page && !StartPage())
            return false;
        if (!m_break || qint64(m_top) + content.height <= m_bottom) {
            PutBandContent(content, m_top, *m_page);
            m_top += content.height;
            m_bodyEmpty = false;
            return !first || !placed || placed();
        }
        // Taller than an empty page's body: what fits here, the rest on the next pages.
        CBandContent rest;
        int cut = m_break(content, m_bottom - m_top, false, rest);
        if (cut <= 0) {
            if (!m_bodyEmpty) {
                if (!EndPage())
                    return false;
                continue;
            }
            cut = m_break(content, m_bottom - m_top, true, rest);
            if (cut <= 0)
                return false;
        }
        PutBandContent(content, m_top, *m_page);
        m_top += cut;
        m_bodyEmpty = false;
        if (first && placed && !placed())
            return false;
        first = false;
        if (!EndPage())
            return false;
        content = std::move(rest);
    }
}

bool CPageBuilder::PlaceInColumns(CBandContent &content, const CPlacing &how)
{
    if (!m_page && !StartPage())
        return false;
    const auto fresh = [&] {
        m_run = {how.band, 0, m_top, m_top, m_top};
    };
    const auto newPage = [&] {
        if (!EndPage() || !StartPage())
            return false;
        fresh();
        return true;
    };
    if (m_run.band != how.band)
        fresh();
    const int height = content.height;
    int top = 0;
    if (how.columnOrder == 1) {
        // Down each column to the page's end, then the next column from the same top.
        if (m_run.y + height > m_bottom) {
            if (m_run.y > m_run.top && m_run.column + 1 < how.columns) {
                ++m_run.column;
                m_run.y = m_run.top;
            } else if ((m_run.y > m_run.top || !m_bodyEmpty) && !newPage()) {
                return false;
            }
        }
        top = m_run.y;
        m_run.y += height;
    } else {
        // Across each line, then the next line below the line's tallest printing.
        if (m_run.column == 0)
            m_run.top = m_run.bottom;
        if (m_run.top + height > m_bottom && !m_bodyEmpty && !newPage())
            return false;
        top = m_run.top;
    }
    const int column = m_run.column;
    PutBandContent(content, top, *m_page, column * how.columnPitch);
    m_run.bottom = std::max(m_run.bottom, top + height);
    m_top = std::max(m_top, m_run.bottom);
    m_bodyEmpty = false;
    if (how.columnOrder != 1)
        m_run.column = (column + 1) % how.columns;
    return true;
}

bool CPageBuilder::Skip(int places, int height, const CPlacing &how)
{
    for (int i = 0; i < places; ++i) {
        CBandContent empty;
        empty.height = height;
        if (!Place(std::move(empty), {}, how))
            return false;
    }
    return true;
}

void CPageBuilder::BreakAfter()
{
    if (m_waiting.empty()) {
        m_breakPending = true;
        return;
    }
    // After the printing that waits: it is then kept with nothing that follows.
    m_waiting.back().linked = false;
    m_waiting.back().breakAfter = true;
}

bool CPageBuilder::RestartNumbering()
{
    if (!Drain(true))
        return false;
    m_breakPending = false;
    if (m_page && !m_bodyEmpty && !EndPage())
        return false;
    const int next = m_page ? m_pageCount : m_pageCount + 1;
    if (!EndNumbering(next))
        return false;
    if (m_page)
        m_page->SetNumbering(next, 0);
    return true;
}

void CPageBuilder::BeginKeep()
{
    m_keepStarts.push_back(m_queued);
}

bool CPageBuilder::EndKeep()
{
    if (!m_keepStarts.empty())
        m_keepStarts.pop_back();
    return Drain(false);
}

void CPageBuilder::EndRepeat(int band)
{
    for (Waiting &waiting : m_waiting) {
        if (waiting.how.repeat == band)
            waiting.how.repeat = -1;
    }
    std::erase_if(m_repeats, [band](const auto &entry) { return entry.first == band; });
}

bool CPageBuilder::Break()
{
    if (!Drain(true))
        return false;
    m_breakPending = false;
    if (!m_page || m_bodyEmpty)
        return true;
    return EndPage();
}

bool CPageBuilder::Finish()
{
    if (!Drain(true))
        return false;
    if (!m_page && m_pageCount == 0 && !StartPage())
        return false;
    if (m_page && !EndPage())
        return false;
    return EndNumbering(m_pageCount + 1);
}
