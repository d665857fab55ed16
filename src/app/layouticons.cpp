#include "layouticons.h"

#include "commandtable.h"

#include <QPainter>

namespace LayoutIcons {

namespace {

const QColor BarFill(47, 100, 176);
const QColor SheetFill(214, 226, 242);

void Bar(QPainter &p, const QRectF &rect, const QColor &ink)
{
    p.setPen(QPen(ink, 0.8));
    p.setBrush(BarFill);
    p.drawRect(rect);
}

void Rule(QPainter &p, qreal x, const QColor &ink, bool dashed = false)
{
    QPen pen(ink, 1.2);
    if (dashed)
        pen.setDashPattern({1.5, 1.5});
    p.setPen(pen);
    p.drawLine(QPointF(x, 1), QPointF(x, 15));
}

// An arrow across from left to right with heads at both ends, at height y.
void Span(QPainter &p, qreal left, qreal right, qreal y, const QColor &ink)
{
    p.setPen(QPen(ink, 1));
    p.drawLine(QPointF(left, y), QPointF(right, y));
    p.drawLine(QPointF(left, y), QPointF(left + 2, y - 1.5));
    p.drawLine(QPointF(left, y), QPointF(left + 2, y + 1.5));
    p.drawLine(QPointF(right, y), QPointF(right - 2, y - 1.5));
    p.drawLine(QPointF(right, y), QPointF(right - 2, y + 1.5));
}

// The images of the commands that work across; the ones that work down are these turned.
void DrawAcross(QPainter &p, int id, const QColor &ink)
{
    using namespace CommandTable;
    switch (id) {
    case FormatAlignLefts:
    case FormatAlignTops:
        Rule(p, 2, ink);
        Bar(p, QRectF(3, 3, 11, 4), ink);
        Bar(p, QRectF(3, 9, 6, 4), ink);
        break;
    case FormatAlignCenters:
    case FormatAlignMiddles:
        Bar(p, QRectF(2, 3, 12, 4), ink);
        Bar(p, QRectF(5, 9, 6, 4), ink);
        Rule(p, 8, ink, true);
        break;
    case FormatAlignRights:
    case FormatAlignBottoms:
        Rule(p, 14, ink);
        Bar(p, QRectF(2, 3, 11, 4), ink);
        Bar(p, QRectF(7, 9, 6, 4), ink);
        break;
    case FormatSameWidth:
    case FormatSameHeight:
        Span(p, 2, 14, 2.5, ink);
        Bar(p, QRectF(2, 5, 12, 4), ink);
        Bar(p, QRectF(2, 11, 12, 4), ink);
        break;
    case FormatSpaceAcross:
    case FormatSpaceDown:
        Bar(p, QRectF(1, 5, 3, 7), ink);
        Bar(p, QRectF(6.5, 5, 3, 7), ink);
        Bar(p, QRectF(12, 5, 3, 7), ink);
        p.setPen(QPen(ink, 1));
        for (const qreal x : {5.25, 10.75})
            p.drawLine(QPointF(x, 2), QPointF(x, 15));
        break;
    default:
        break;
    }
}

} // namespace

bool Has(int id)
{
    return id >= CommandTable::FormatAlignLefts && id <= CommandTable::FormatSendToBack;
}

void Draw(QPainter &p, int id, const QColor &ink)
{
    using namespace CommandTable;
    p.save();
    switch (id) {
    case FormatAlignTops:
    case FormatAlignMiddles:
    case FormatAlignBottoms:
    case FormatSameHeight:
    case FormatSpaceDown:
        // Turned a quarter clockwise: the left goes to the top.
        p.translate(16, 0);
        p.rotate(90);
        DrawAcross(p, id, ink);
        break;
    case FormatSameSize:
        Bar(p, QRectF(2, 2, 7, 7), ink);
        Bar(p, QRectF(7, 7, 7, 7), ink);
        break;
    case FormatSizeToFit: {
        p.setPen(QPen(ink, 0.8, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(1.5, 3.5, 13, 9));
        QFont font = p.font();
        font.setPixelSize(9);
        font.setBold(true);
        p.setFont(font);
        p.setPen(BarFill);
        p.drawText(QRectF(1.5, 3.5, 13, 9), Qt::AlignCenter, QStringLiteral("Ab"));
        break;
    }
    case FormatBringToFront:
    case FormatSendToBack: {
        const bool front = id == FormatBringToFront;
        p.setPen(QPen(ink, 0.8));
        // The sheet behind first; the one that moves is the filled one.
        p.setBrush(front ? SheetFill : BarFill);
        p.drawRect(QRectF(1.5, 1.5, 8, 8));
        p.setBrush(front ? BarFill : SheetFill);
        p.drawRect(QRectF(6.5, 6.5, 8, 8));
        break;
    }
    default:
        DrawAcross(p, id, ink);
        break;
    }
    p.restore();
}

} // namespace LayoutIcons
