#include "pixeldrawing.h"

#include <QBrush>
#include <QPainter>

#include <algorithm>

namespace {

// Qt outlines a QRect of width w over w + 1 columns, so the outline path of a rectangle whose
// right edge is exclusive runs one pixel inside it.
QRect OutlinePath(const PixRect &rect)
{
    return QRect(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1);
}

bool IsThinSolid(const QPen &pen)
{
    return pen.style() == Qt::SolidLine && pen.width() <= 1;
}

} // namespace

QColor ColorFromColorRef(quint32 colorRef)
{
    return QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}

int UsablePenWidth(int width)
{
    return std::clamp(width, 1, 1 << 16);
}

QPen OutlinePen(const QColor &color, int width, bool dotted)
{
    const int w = UsablePenWidth(width);
    QPen pen(color, w, dotted ? Qt::DotLine : Qt::SolidLine);
    if (w == 1) {
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
    } else {
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    return pen;
}

void FillPixRect(QPainter &painter, const PixRect &rect, const QColor &color)
{
    if (!rect.IsEmpty())
        painter.fillRect(rect.ToQRect(), color);
}

void DrawRectangle(QPainter &painter, const PixRect &rect, const QPen &pen, const QBrush &brush)
{
    if (rect.IsEmpty())
        return;
    if (IsThinSolid(pen)) {
        // The common case of bands, handles and placeholders, done with exact fills.
        if (brush.style() == Qt::SolidPattern)
            FillPixRect(painter, rect.Inflate(-1, -1), brush.color());
        const QColor color = pen.color();
        FillPixRect(painter, {rect.left, rect.top, rect.right, rect.top + 1}, color);
        FillPixRect(painter, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, color);
        FillPixRect(painter, {rect.left, rect.top, rect.left + 1, rect.bottom}, color);
        FillPixRect(painter, {rect.right - 1, rect.top, rect.right, rect.bottom}, color);
        return;
    }
    painter.setPen(pen);
    painter.setBrush(brush);
    painter.drawRect(OutlinePath(rect));
}

void DrawRoundRect(QPainter &painter, const PixRect &rect, int radiusX, int radiusY,
                   const QPen &pen, const QBrush &brush)
{
    if (rect.IsEmpty())
        return;
    painter.setPen(pen);
    painter.setBrush(brush);
    painter.drawRoundedRect(OutlinePath(rect), radiusX, radiusY, Qt::AbsoluteSize);
}

void DrawEllipse(QPainter &painter, const PixRect &rect, const QPen &pen, const QBrush &brush)
{
    if (rect.IsEmpty())
        return;
    painter.setPen(pen);
    painter.setBrush(brush);
    painter.drawEllipse(OutlinePath(rect));
}

void DrawLine(QPainter &painter, QPoint from, QPoint to, const QPen &pen)
{
    if (from == to)
        return;
    painter.setPen(pen);
    painter.drawLine(from, to);
}
