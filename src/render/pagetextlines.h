#pragma once

#include "pagecontent.h"
#include "textlines.h"

#include <QFont>

#include <map>
#include <optional>
#include <vector>

// The fonts of pages as the layout measures them (LayoutFont), each made once: by font table
// and index, an index outside the page's table standing for the default font. For one thread.
class CPageLayoutFonts
{
public:
    const QFont &Get(const CPage &page, int index);

private:
    std::map<std::pair<const CPageFontTable *, int>, QFont> m_fonts;
};

// The lines the page painter draws text in when it shows value, font being the text's
// (CPageLayoutFonts): of a value far longer than its box can show only the part that can show
// is laid out.
TextLines BreakPageText(const CPageText &text, const QString &value, const QFont &font);

// The lines of every text of a page whose value is known before it is drawn (all but the page
// number fields), broken while the layout runs so that a painter on another thread only draws
// them (CPage::SetTextLines).
class CPageTextLines
{
public:
    CPageTextLines(const CPage &page, CPageLayoutFonts &fonts);

    // The lines of the page's item at index; null for an item that is no such text.
    const TextLines *Get(size_t index) const
    {
        return index < m_lines.size() && m_lines[index] ? &*m_lines[index] : nullptr;
    }
    // The sources of the page's texts whose lines do not fit in their box.
    std::vector<CPageSource> CutTexts(const CPage &page) const;

private:
    std::vector<std::optional<TextLines>> m_lines;
    std::vector<size_t> m_cut; // indexes of the items cut at their box
};
