#pragma once

#include <QFont>
#include <QRectF>
#include <QString>

#include <vector>

class QPaintDevice;
class QPainter;

// How the engine breaks a text into lines: once, in hundredths of a millimetre, with the font's
// unhinted design metrics, so that a screen at any zoom, an image at any resolution, a PDF and
// a printer break every text at the same words and place every line at the same spot. The
// page painter draws with these lines and the layout measures growing texts with them; the
// design view keeps its own device-bound drawing.

// A paint device of 2540 dots per inch: one dot per hundredth of a millimetre. Fonts resolved
// against it measure in report units. Shared, read-only, usable from any thread.
const QPaintDevice &LayoutDevice();

// The font a text of the report is laid out in: the face (sans-serif as the fallback family),
// the point size as it is, weight 700 or 400, italic, underline and strike-out, unhinted.
QFont LayoutFont(const QString &face, double points, bool bold, bool italic, bool underline,
                 bool strikeout);

// One line of a broken text: the characters [start, start + length) of the text laid out
// (TextLines::text), and the width they take without trailing blanks.
struct TextLine
{
    qsizetype start = 0;
    qsizetype length = 0;
    double width = 0; // hundredths of a millimetre

    friend bool operator==(const TextLine &, const TextLine &) = default;
};

// A text broken into lines. The first line's top lies `leading` below the top of the text,
// each further line `spacing` below the one before; a line's baseline is `ascent` below its
// top.
struct TextLines
{
    QString text; // the text as laid out: line feeds as line separators, other controls blanks
    std::vector<TextLine> lines;
    double ascent = 0;
    double leading = 0;
    double spacing = 0;

    // The height the lines take, as the layout reserves it for a growing text.
    double Height() const { return double(lines.size()) * spacing; }
    double LineTop(size_t index) const { return leading + double(index) * spacing; }
};

// Breaks text for a box width wide (hundredths of a millimetre) in font (LayoutFont). A
// wrapped text breaks at word boundaries and at line feeds (a word longer than the line stays
// whole and runs past it); a text that does not wrap is one line, its line feeds shown as
// blanks. An empty text gives no lines.
TextLines BreakTextLines(const QFont &font, const QString &text, double width, bool wrap);

// Where the lines go in box (hundredths of a millimetre): each line left (0), right (1) or
// centred (2); a single line at the top (0), centre (1) or bottom (2) of the box; a wrapped
// text starting at the top, or moved down by |d / 2| for centre and by |d| for bottom, d being
// the box's height less the text's (so a text taller than its box is moved down as well).
// Returns the top left corner of every line.
std::vector<QPointF> PlaceTextLines(const TextLines &lines, const QRectF &box, int horzAlignment,
                                    int vertAlignment, bool wrap);

// Whether a line placed at top (PlaceTextLines) shows in box: some of its height lies in it.
inline bool TextLineShows(const TextLines &lines, double top, const QRectF &box)
{
    return top < box.bottom() && top + lines.spacing > box.top();
}

// Whether the box cuts a text off: some of its placed lines (PlaceTextLines) has its baseline
// outside the box or runs out of it at a side, so that more than the tails of letters is lost.
bool TextLinesCut(const TextLines &lines, const std::vector<QPointF> &places, const QRectF &box);

// Draws the lines into box on painter, whose coordinates are device pixels at dpiX by dpiY
// pixels per inch: every line at its place from PlaceTextLines, its baseline where the layout
// put it, in font at the device's size, with the painter's pen. Text that runs out of the
// box is cut at the box, and lines that do not show in it are not drawn at all (a PDF's text
// layer holds only what can be seen).
void PaintTextLines(QPainter &painter, double dpiX, double dpiY, const QFont &font,
                    const TextLines &lines, const QRectF &box, int horzAlignment, int vertAlignment,
                    bool wrap);

// The font PaintTextLines draws font (LayoutFont) in on device at dpiY. A painter that draws
// many texts makes it once per font and draws with PaintTextLinesWith, so that no text looks up
// its face again.
QFont PaintFont(const QFont &font, double dpiY, const QPaintDevice &device);
void PaintTextLinesWith(QPainter &painter, double dpiX, double dpiY, const QFont &paintFont,
                        const TextLines &lines, const QRectF &box, int horzAlignment,
                        int vertAlignment, bool wrap);
