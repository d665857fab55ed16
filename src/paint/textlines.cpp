#include "textlines.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

// 2540 dots per inch are 100,000 dots per metre.
constexpr int LayoutDotsPerMetre = 100000;
// The width a text that does not wrap is laid out in: wider than any page.
constexpr double UnboundedWidth = 1e7;
// Beyond this FreeType cannot scale a face on the layout device (65,535 dots per em).
constexpr int MaxPoints = 1600;

// Qt's own text drawing turns carriage returns and tabs into blanks and line feeds into line
// breaks (blanks on a single line); the engine does the same so that it prints what the
// designer shows.
QString Prepared(const QString &text, bool wrap)
{
    // Most texts hold none of these: they are shared as they are, not copied.
    const auto changed = [wrap](QChar c) {
        const char16_t u = c.unicode();
        return u == u'\r' || u == u'\t' || u == u'\n' || u == QChar::ParagraphSeparator
                || (u == QChar::LineSeparator && !wrap);
    };
    if (std::none_of(text.cbegin(), text.cend(), changed))
        return text;
    QString prepared = text;
    for (QChar &c : prepared) {
        const char16_t u = c.unicode();
        if (u == u'\r' || u == u'\t')
            c = u' ';
        else if (u == u'\n' || u == QChar::LineSeparator || u == QChar::ParagraphSeparator)
            c = wrap ? QChar(QChar::LineSeparator) : QChar(u' ');
    }
    return prepared;
}

QTextOption LayoutOption(bool wrap)
{
    QTextOption option;
    // Design metrics: advances scale with the size, so no resolution rounds them differently.
    option.setUseDesignMetrics(true);
    option.setWrapMode(wrap ? QTextOption::WordWrap : QTextOption::NoWrap);
    return option;
}

} // namespace

const QPaintDevice &LayoutDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_Mono);
        image.setDotsPerMeterX(LayoutDotsPerMetre);
        image.setDotsPerMeterY(LayoutDotsPerMetre);
        return image;
    }();
    return device;
}

QFont LayoutFont(const QString &face, double points, bool bold, bool italic, bool underline,
                 bool strikeout)
{
    QFont font;
    if (!face.isEmpty())
        font.setFamilies({face});
    font.setStyleHint(QFont::SansSerif);
    // A point size of 0 stands for the default height, which must not depend on the desktop.
    font.setPointSizeF(points > 0 ? std::min(points, double(MaxPoints)) : 10.0);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeout);
    font.setHintingPreference(QFont::PreferNoHinting);
    // Resolved for the layout device once, here: every measure of the font then finds its face
    // at once instead of looking it up again.
    return QFont(font, &LayoutDevice());
}

TextLines BreakTextLines(const QFont &font, const QString &text, double width, bool wrap)
{
    TextLines result;
    result.text = Prepared(text, wrap);
    const QFontMetricsF metrics(font, &LayoutDevice());
    result.ascent = metrics.ascent();
    result.leading = std::max(0.0, metrics.leading());
    result.spacing = result.leading + metrics.ascent() + metrics.descent();
    if (result.text.isEmpty())
        return result;

    QTextLayout layout(result.text, font, &LayoutDevice());
    layout.setTextOption(LayoutOption(wrap));
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(wrap ? std::max(0.0, width) : UnboundedWidth);
        result.lines.push_back({line.textStart(), line.textLength(), line.naturalTextWidth()});
    }
    layout.endLayout();
    return result;
}

std::vector<QPointF> PlaceTextLines(const TextLines &lines, const QRectF &box, int horzAlignment,
                                    int vertAlignment, bool wrap)
{
    double top = box.top();
    const double room = box.height() - lines.Height();
    if (wrap) {
        if (vertAlignment == 1)
            top += std::abs(room) / 2;
        else if (vertAlignment == 2)
            top += std::abs(room);
    } else if (vertAlignment == 1) {
        top += room / 2;
    } else if (vertAlignment == 2) {
        top += room;
    }
    std::vector<QPointF> places;
    places.reserve(lines.lines.size());
    for (size_t i = 0; i < lines.lines.size(); ++i) {
        const double spare = box.width() - lines.lines[i].width;
        const double x = horzAlignment == 1 ? box.left() + spare
                : horzAlignment == 2        ? box.left() + spare / 2
                                            : box.left();
        places.emplace_back(x, top + lines.LineTop(i));
    }
    return places;
}

QFont PaintFont(const QFont &font, double dpiY, const QPaintDevice &device)
{
    // The device resolves the point size with its own resolution.
    QFont paintFont = font;
    const int deviceDpi = device.logicalDpiY();
    if (deviceDpi > 0)
        paintFont.setPointSizeF(font.pointSizeF() * dpiY / deviceDpi);
    return QFont(paintFont, &device);
}

void PaintTextLines(QPainter &painter, double dpiX, double dpiY, const QFont &font,
                    const TextLines &lines, const QRectF &box, int horzAlignment, int vertAlignment,
                    bool wrap)
{
    if (const QPaintDevice *device = painter.device()) {
        PaintTextLinesWith(painter, dpiX, dpiY, PaintFont(font, dpiY, *device), lines, box,
                           horzAlignment, vertAlignment, wrap);
    }
}

bool TextLinesCut(const TextLines &lines, const std::vector<QPointF> &places, const QRectF &box)
{
    for (size_t i = 0; i < lines.lines.size() && i < places.size(); ++i) {
        const double baseline = places[i].y() + lines.ascent;
        if (baseline > box.bottom() + 0.5 || baseline < box.top() - 0.5
            || places[i].x() < box.left() - 0.5
            || places[i].x() + lines.lines[i].width > box.right() + 0.5)
            return true;
    }
    return false;
}

void PaintTextLinesWith(QPainter &painter, double dpiX, double dpiY, const QFont &paintFont,
                        const TextLines &lines, const QRectF &box, int horzAlignment,
                        int vertAlignment, bool wrap)
{
    QPaintDevice *device = painter.device();
    if (lines.lines.empty() || !device || dpiX <= 0 || dpiY <= 0)
        return;
    const std::vector<QPointF> places
            = PlaceTextLines(lines, box, horzAlignment, vertAlignment, wrap);
    const double sx = dpiX / 2540.0;
    const double sy = dpiY / 2540.0;

    bool inside = lines.Height() <= box.height() + 0.5;
    for (size_t i = 0; i < lines.lines.size(); ++i) {
        inside = inside && places[i].x() >= box.left() - 0.5
                && places[i].x() + lines.lines[i].width <= box.right() + 0.5
                && places[i].y() >= box.top() - 0.5;
    }
    if (!inside) {
        painter.save();
        painter.setClipRect(
                QRectF(box.left() * sx, box.top() * sy, box.width() * sx, box.height() * sy),
                Qt::IntersectClip);
    }
    // Each line is laid out on its own, so that it holds exactly the characters the layout gave
    // it (a single layout would break again where the device's widths say); its baseline goes
    // where the layout put it, whatever the device's own rounding of the ascent.
    for (size_t i = 0; i < lines.lines.size(); ++i) {
        if (!TextLineShows(lines, places[i].y(), box))
            continue;
        QTextLayout layout(lines.text.mid(lines.lines[i].start, lines.lines[i].length), paintFont,
                           device);
        layout.setTextOption(LayoutOption(false));
        // Keeps the glyphs shaped for the line to draw them: without it they are dropped at
        // the end of the layout and the text is shaped a second time.
        layout.setCacheEnabled(true);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        if (line.isValid()) {
            line.setLineWidth(UnboundedWidth);
            const double baseline = (places[i].y() + lines.ascent) * sy;
            line.setPosition(QPointF(places[i].x() * sx, baseline - line.ascent()));
        }
        layout.endLayout();
        layout.draw(&painter, QPointF());
    }
    if (!inside)
        painter.restore();
}
