#pragma once

#include "pagecontent.h"

#include <QFont>

#include <map>
#include <memory>

// Measures the texts of a run for the layout with the painter's own line breaking
// (BreakTextLines, in report units): a growing text gets the height its lines take when drawn
// on any device, and a text that breaks across pages breaks between the lines the painter
// draws. Lengths are in hundredths of a millimetre.
class CTextMeasure
{
public:
    explicit CTextMeasure(std::shared_ptr<const CPageFontTable> fonts);

    // The height the text's lines take when wrapped in its box's width.
    int Height(const CPageText &text);

    // The longest start of the text that is whole lines and at most height high (at least its
    // first line when firstLine is set): its length in characters and its height. The rest of
    // the text, laid out on its own, wraps into the lines that follow.
    struct Fit
    {
        qsizetype length = 0;
        int height = 0;
    };
    Fit FitLines(const CPageText &text, int height, bool firstLine = false);

private:
    const QFont &FontOf(int index);

    std::shared_ptr<const CPageFontTable> m_fonts;
    std::map<int, QFont> m_fontCache;
};
