#include "textmeasure.h"

#include "textlines.h"

#include <cmath>

namespace {

int Units(double height)
{
    return height <= 0 ? 0 : int(std::ceil(height));
}

} // namespace

CTextMeasure::CTextMeasure(std::shared_ptr<const CPageFontTable> fonts)
    : m_fonts(std::move(fonts))
{ }

const QFont &CTextMeasure::FontOf(int index)
{
    auto it = m_fontCache.find(index);
    if (it == m_fontCache.end()) {
        // The painter's font for the index, its default included.
        const CPageFont f = m_fonts && index >= 0 && size_t(index) < m_fonts->size()
                ? (*m_fonts)[size_t(index)]
                : CPageFont();
        it = m_fontCache
                     .emplace(index,
                              LayoutFont(f.face, f.points, f.bold, f.italic, f.underline,
                                         f.strikeout))
                     .first;
    }
    return it->second;
}

int CTextMeasure::Height(const CPageText &text)
{
    if (text.text.isEmpty())
        return 0;
    return Units(BreakTextLines(FontOf(text.font), text.text, text.box.right - text.box.left, true)
                         .Height());
}

CTextMeasure::Fit CTextMeasure::FitLines(const CPageText &text, int height, bool firstLine)
{
    if (text.text.isEmpty())
        return {};
    const TextLines lines
            = BreakTextLines(FontOf(text.font), text.text, text.box.right - text.box.left, true);
    const size_t count = lines.lines.size();
    size_t fitting = lines.spacing > 0 ? size_t(std::max(0.0, height / lines.spacing)) : count;
    while (fitting > 0 && Units(double(fitting) * lines.spacing) > height)
        --fitting;
    if (fitting >= count)
        return {text.text.size(), Units(lines.Height())};
    if (fitting == 0) {
        // Nothing fits: the first line goes all the same when asked, cut at the bottom.
        if (!firstLine || count == 0)
            return {};
        return {lines.lines[0].start + lines.lines[0].length, height};
    }
    // The text keeps its characters one for one in the laid-out text: a line's end is an index
    // into it.
    const TextLine &last = lines.lines[fitting - 1];
    return {last.start + last.length, Units(double(fitting) * lines.spacing)};
}
