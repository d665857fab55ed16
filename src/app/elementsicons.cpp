#include "elementsicons.h"

#include "colorref.h"
#include "itemkinds.h"
#include "readablecolor.h"
#include "vornkind.h"

#include <QPainter>
#include <QPolygon>

namespace ElementsIcons {

namespace {

// Colours of the drawings; none of them is the transparent grey.
const QColor Outline(0, 0, 0);
const QColor Paper(255, 255, 255);
const QColor Band(0, 128, 0);
const QColor Ink(0, 0, 128);
const QColor Accent(192, 0, 0);
const QColor Sun(255, 200, 0);

void DrawPointer(QPainter &p)
{
    const QPolygon arrow({QPoint(4, 1), QPoint(4, 13), QPoint(7, 10), QPoint(9, 15), QPoint(11, 14),
                          QPoint(9, 9), QPoint(13, 9)});
    p.setPen(Outline);
    p.setBrush(Paper);
    p.drawPolygon(arrow);
}

// A sheet with a coloured bar at the top, across the middle or at the bottom.
void DrawSheet(QPainter &p)
{
    p.setPen(Outline);
    p.setBrush(Paper);
    p.drawRect(1, 2, 13, 11);
}

void DrawHeader(QPainter &p)
{
    DrawSheet(p);
    p.fillRect(2, 3, 12, 4, Band);
}

void DrawContents(QPainter &p)
{
    DrawSheet(p);
    for (const int y : {5, 8, 11})
        p.fillRect(3, y, 10, 1, Ink);
}

void DrawFooter(QPainter &p)
{
    DrawSheet(p);
    p.fillRect(2, 9, 12, 4, Band);
}

void DrawText(QPainter &p)
{
    QPen pen(Ink, 2);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.drawPolyline(QPolygon({QPoint(3, 15), QPoint(8, 2), QPoint(13, 15)}));
    p.drawLine(5, 10, 11, 10);
}

void DrawShape(QPainter &p)
{
    p.setPen(Ink);
    p.setBrush(Paper);
    p.drawRect(1, 1, 9, 8);
    p.setPen(Accent);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(5, 6, 10, 9);
}

void DrawImage(QPainter &p)
{
    p.setPen(Outline);
    p.setBrush(Paper);
    p.drawRect(0, 2, 15, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(Sun);
    p.drawEllipse(9, 4, 4, 4);
    p.setBrush(Band);
    p.drawPolygon(QPolygon({QPoint(1, 14), QPoint(6, 6), QPoint(11, 14)}));
}

void DrawBarcode(QPainter &p)
{
    p.fillRect(0, 2, 16, 12, Paper);
    // Bars of one and two pixels, as an EAN-13 code alternates them.
    const int bars[][2] = {{1, 1}, {3, 2}, {6, 1}, {8, 1}, {10, 2}, {13, 1}};
    for (const auto &bar : bars)
        p.fillRect(bar[0], 3, bar[1], 10, Outline);
}

// Three bars of a bar chart on their axis.
void DrawChart(QPainter &p)
{
    p.fillRect(0, 1, 16, 14, Paper);
    p.fillRect(3, 8, 3, 6, Ink);
    p.fillRect(7, 3, 3, 11, Accent);
    p.fillRect(11, 6, 3, 8, Band);
    p.fillRect(1, 14, 15, 1, Outline);
    p.fillRect(1, 2, 1, 13, Outline);
}

} // namespace

namespace {

QImage DrawBitmap()
{
    QImage image(IconSize * IconCount, IconSize, QImage::Format_RGB32);
    image.fill(TransparentColor);
    QPainter painter(&image);
    // Hard edges only: a blended edge pixel would lie between a colour and the grey and would
    // not be taken out.
    painter.setRenderHint(QPainter::Antialiasing, false);
    void (*const draw[IconCount])(QPainter &)
            = {DrawPointer, DrawHeader, DrawContents, DrawFooter,  DrawText,
               DrawShape,   DrawImage,  nullptr,      DrawBarcode, DrawChart};
    for (int i = 0; i < IconCount; ++i) {
        if (!draw[i])
            continue;
        painter.save();
        painter.translate(i * IconSize, 0);
        painter.setClipRect(0, 0, IconSize, IconSize);
        draw[i](painter);
        painter.restore();
    }
    painter.end();
    return image;
}

} // namespace

QImage Bitmap()
{
    // Drawn once: the Elements and Outline panes each ask for it, and again with every look.
    static const QImage bitmap = DrawBitmap();
    return bitmap;
}

QPixmap Strip(QRgb background)
{
    const quint32 backgroundRef = QColorToColorRef(QColor::fromRgb(background));
    QImage image = Bitmap().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == TransparentColor) {
                line[x] = 0;
                continue;
            }
            const quint32 ref = QColorToColorRef(QColor::fromRgb(line[x]));
            line[x] = ColorRefToQColor(ReadableColorRef(ref, backgroundRef)).rgb();
        }
    }
    return QPixmap::fromImage(image);
}

int IndexForKind(int kind)
{
    switch (kind) {
    case VornKind::PageHeader:
    case VornKind::ReportHeader:
        return 1;
    case VornKind::ReportContents:
    case VornKind::PageBreak:
        return 2;
    case VornKind::ReportFooter:
    case VornKind::PageFooter:
        return 3;
    default: {
        // An item kind's picture is part of its look.
        const CItemKind *item = FindItemKind(kind);
        return item && item->look.icon >= 0 && item->look.icon < IconCount ? item->look.icon : 0;
    }
    }
}

QIcon IconForKind(const QPixmap &strip, int kind)
{
    return QIcon(strip.copy(IndexForKind(kind) * IconSize, 0, IconSize, IconSize));
}

} // namespace ElementsIcons
