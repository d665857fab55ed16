#include "pagetextlines.h"

#include "textitemlayout.h"

#include <algorithm>
#include <cmath>

namespace {

int Round(double v)
{
    return int(std::lround(std::clamp(v, -1e9, 1e9)));
}

} // namespace

const QFont &CPageLayoutFonts::Get(const CPage &page, int index)
{
    const CPageFontTable &table = page.GetFonts();
    if (index < 0 || size_t(index) >= table.size())
        index = -1;
    auto it = m_fonts.find({&table, index});
    if (it == m_fonts.end()) {
        const CPageFont f = index < 0 ? CPageFont() : table[size_t(index)];
        it = m_fonts.emplace(std::pair(&table, index),
                             LayoutFont(f.face, f.points, f.bold, f.italic, f.underline,
                                        f.strikeout))
                     .first;
    }
    return it->second;
}

TextLines BreakPageText(const CPageText &text, const QString &value, const QFont &font)
{
    const CPageRect &box = text.box;
    // A field may hold megabytes of which the box shows a few lines; what can show is judged in
    // pixels of 1/96 inch, the same on every device.
    const int flags = text.wordWrap   ? int(Qt::TextWordWrap)
            : text.horzAlignment == 1 ? int(Qt::AlignRight)
            : text.horzAlignment == 2 ? int(Qt::AlignHCenter)
                                      : int(Qt::AlignLeft);
    const qsizetype limit = VisibleTextLimit(Round((box.right - box.left) * (96 / 2540.0)),
                                             Round((box.bottom - box.top) * (96 / 2540.0)),
                                             Round(font.pointSizeF() * 96 / 72));
    return BreakTextLines(font, VisibleTextPart(value, limit, flags), box.right - box.left,
                          text.wordWrap);
}

CPageTextLines::CPageTextLines(const CPage &page, CPageLayoutFonts &fonts)
{
    const std::vector<CPageItem> &items = page.GetItems();
    m_lines.resize(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        const auto *text = std::get_if<CPageText>(&items[i]);
        // The painter draws nothing of an empty text or box.
        if (text && text->field == CPageText::Field::None && !text->text.isEmpty()
            && text->box.right > text->box.left && text->box.bottom > text->box.top) {
            m_lines[i] = BreakPageText(*text, text->text, fonts.Get(page, text->font));
            const QRectF box(0, 0, text->box.right - text->box.left,
                             text->box.bottom - text->box.top);
            if (TextLinesCut(*m_lines[i],
                             PlaceTextLines(*m_lines[i], box, text->horzAlignment,
                                            text->vertAlignment, text->wordWrap),
                             box))
                m_cut.push_back(i);
        }
    }
}

std::vector<CPageSource> CPageTextLines::CutTexts(const CPage &page) const
{
    std::vector<CPageSource> sources;
    for (const size_t index : m_cut) {
        if (index < page.GetItems().size())
            sources.push_back(SourceOf(page.GetItems()[index]));
    }
    return sources;
}
