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
    if (m_pageCount > 0 && !Answer(m_sink.StartPage(m_pageCount + 1, m_message)))
        return false;
    m_page = std::make_unique<CPage>(m_fonts);
    ++m_pageCount;
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
    m_bodyEmpty = true;
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
    if (m_sink.WantsTextLines())
        m_page->SetTextLines(std::make_shared<const CPageTextLines>(*m_page, m_textFonts));
    if (!Answer(m_sink.AddPage(std::shared_ptr<const CPage>(std::move(m_page)), m_pageCount,
                               m_message)))
        return false;
    return m_pageDone(m_pageCount);
}

bool CPageBuilder::Place(CBandContent content, const std::function<bool()> &placed)
{
    bool first = true;
    for (;;) {
        if (m_page && !m_bodyEmpty && qint64(m_top) + content.height > m_bottom
            && (!m_break || content.height <= BodyHeight(m_pageCount + 1))) {
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

bool CPageBuilder::Break()
{
    if (!m_page || m_bodyEmpty)
        return true;
    return EndPage();
}

bool CPageBuilder::Finish()
{
    if (!m_page && m_pageCount == 0 && !StartPage())
        return false;
    return !m_page || EndPage();
}
