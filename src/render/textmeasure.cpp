#include "textmeasure.h"

#include "itempainter.h"
#include "textitemlayout.h"

#include <QFontMetrics>
#include <QTextBoundaryFinder>

#include <cmath>
#include <vector>

namespace {

// The PDF's drawing space: measured there, a text's height is what paper shows.
constexpr int Resolution = 1200;

int ToPixels(int units)
{
    return int(std::lround(units * (Resolution / 2540.0)));
}

bool IsLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// A start of a text as the lines it fills: blanks at its end hang in its last line, and one
// line break at its end opens no line of its own.
QString AsLines(const QString &text, qsizetype length)
{
    qsizetype end = length;
    while (end > 0 && (text[end - 1] == u' ' || text[end - 1] == u'\t'))
        --end;
    if (end > 0 && text[end - 1] == u'\n') {
        --end;
        if (end > 0 && text[end - 1] == u'\r')
            --end;
    } else if (end > 0 && IsLineBreak(text[end - 1])) {
        --end;
    }
    return text.left(end);
}

} // namespace

CTextMeasure::CTextMeasure(std::shared_ptr<const CPageFontTable> fonts)
    : m_fonts(std::move(fonts))
    , m_device(1, 1, QImage::Format_RGB32)
{
    const int dotsPerMetre = int(std::lround(Resolution / 0.0254));
    m_device.setDotsPerMeterX(dotsPerMetre);
    m_device.setDotsPerMeterY(dotsPerMetre);
}

const QFont &CTextMeasure::FontOf(int index)
{
    auto it = m_fontCache.find(index);
    if (it == m_fontCache.end()) {
        QFont font;
        if (m_fonts && index >= 0 && size_t(index) < m_fonts->size()) {
            const CPageFont &f = (*m_fonts)[size_t(index)];
            font = TextFont(f.face, f.points, f.bold, f.italic, f.underline, f.strikeout,
                            Resolution, 1.0);
        } else {
            font = TextFont({}, 10, false, false, false, false, Resolution, 1.0);
        }
        it = m_fontCache.emplace(index, QFont(font, &m_device)).first;
    }
    return it->second;
}

int CTextMeasure::ToUnits(int pixels) const
{
    // Rounded up, and one unit more: the box drawn at this resolution then holds every pixel.
    return pixels <= 0 ? 0 : int(std::ceil(pixels * (2540.0 / Resolution))) + 1;
}

int CTextMeasure::Pixels(const CPageText &text, const QString &part)
{
    if (part.isEmpty())
        return 0;
    const QFontMetrics metrics(FontOf(text.font), &m_device);
    // The box's width in pixels as the painter rounds its edges.
    const PixRect box {ToPixels(text.box.left), 0, ToPixels(text.box.right), 1};
    const int flags = Qt::TextWordWrap | Qt::AlignTop | Qt::AlignLeft;
    return WrappedTextHeight(metrics, box, part, flags);
}

int CTextMeasure::Height(const CPageText &text)
{
    return ToUnits(Pixels(text, text.text));
}

CTextMeasure::Fit CTextMeasure::FitLines(const CPageText &text, int height, bool firstLine)
{
    const int whole = Pixels(text, text.text);
    if (ToUnits(whole) <= height)
        return {text.text.size(), ToUnits(whole)};
    // Where lines may end; a start of the text that ends at one of them wraps into the very
    // lines the whole text begins with, so the longest start that fits is found by halving.
    std::vector<qsizetype> ends;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text.text);
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary())
        ends.push_back(at);
    Fit fit;
    size_t low = 0; // ends[i] for i < low fit
    size_t high = ends.size(); // ends[i] for i >= high do not
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        const int units = ToUnits(Pixels(text, AsLines(text.text, ends[middle])));
        if (units <= height) {
            fit = {ends[middle], units};
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    if (fit.length == 0 && firstLine && !ends.empty()) {
        // Nothing fits: the first line goes all the same, cut at the bottom.
        qsizetype end = ends.front();
        const int oneLine = Pixels(text, AsLines(text.text, end));
        for (size_t i = 1; i < ends.size() && Pixels(text, AsLines(text.text, ends[i])) == oneLine; ++i)
            end = ends[i];
        fit = {end, height};
    }
    return fit;
}
