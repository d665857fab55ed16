#include "commandicons.h"

#include "commandtable.h"
#include "layouticons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

#include <functional>

namespace CommandIcons {

namespace {

using Drawing = std::function<void(QPainter &)>;

// Draws a picture made for a square grid into whatever rectangle is asked for, and makes the
// disabled image from the normal one as the style does.
class PaintedIconEngine final : public QIconEngine
{
public:
    PaintedIconEngine(Drawing drawing, qreal gridSize)
        : m_drawing(std::move(drawing))
        , m_gridSize(gridSize)
    { }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        QPixmap image(size);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            const qreal side = qMin(size.width(), size.height());
            painter.translate((size.width() - side) / 2, (size.height() - side) / 2);
            painter.scale(side / m_gridSize, side / m_gridSize);
            m_drawing(painter);
        }
        if (mode == QIcon::Disabled) {
            QStyleOption option;
            option.palette = QApplication::palette();
            return QApplication::style()->generatedIconPixmap(QIcon::Disabled, image, &option);
        }
        return image;
    }

    QIconEngine *clone() const override { return new PaintedIconEngine(m_drawing, m_gridSize); }

private:
    Drawing m_drawing;
    qreal m_gridSize;
};

const QColor SheetLine(80, 80, 80);

QPen Pen(const QColor &color, qreal width = 1)
{
    QPen pen(color, width);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

// A white sheet with its top right corner folded down.
void DrawSheet(QPainter &p, qreal x, qreal y, qreal w, qreal h, qreal fold)
{
    const QPolygonF outline({QPointF(x, y), QPointF(x + w - fold, y), QPointF(x + w, y + fold),
                             QPointF(x + w, y + h), QPointF(x, y + h)});
    p.setPen(Pen(SheetLine));
    p.setBrush(Qt::white);
    p.drawPolygon(outline);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF(
            {QPointF(x + w - fold, y), QPointF(x + w - fold, y + fold), QPointF(x + w, y + fold)}));
}

void DrawNew(QPainter &p)
{
    DrawSheet(p, 3.5, 1.5, 9, 13, 3);
}

void DrawOpen(QPainter &p)
{
    const QColor edge(138, 101, 16);
    p.setPen(Pen(edge));
    p.setBrush(QColor(224, 176, 64));
    p.drawPolygon(QPolygonF({QPointF(1.5, 3.5), QPointF(6, 3.5), QPointF(7.5, 5), QPointF(13.5, 5),
                             QPointF(13.5, 13.5), QPointF(1.5, 13.5)}));
    p.setBrush(QColor(245, 205, 92));
    p.drawPolygon(QPolygonF(
            {QPointF(1.5, 13.5), QPointF(4, 7.5), QPointF(15.5, 7.5), QPointF(13.5, 13.5)}));
}

void DrawSave(QPainter &p)
{
    p.setPen(Pen(QColor(23, 58, 112)));
    p.setBrush(QColor(47, 100, 176));
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 2, 8, 5));
    p.setBrush(QColor(200, 208, 220));
    p.drawRect(QRectF(4.5, 9.5, 7, 4.5));
    p.setBrush(QColor(23, 58, 112));
    p.drawRect(QRectF(6, 10.5, 2, 2.5));
}

void DrawRun(QPainter &p)
{
    p.setPen(Pen(QColor(27, 99, 36)));
    p.setBrush(QColor(46, 157, 58));
    p.drawPolygon(QPolygonF({QPointF(4, 2), QPointF(13.5, 8), QPointF(4, 14)}));
}

void DrawPreview(QPainter &p)
{
    DrawSheet(p, 1.5, 1.5, 9, 12, 2.5);
    // A magnifying glass over the sheet.
    p.setPen(Pen(QColor(60, 60, 60), 1.6));
    p.drawLine(QPointF(11.2, 11.2), QPointF(14.5, 14.5));
    p.setPen(Pen(QColor(40, 70, 120), 1.2));
    p.setBrush(QColor(200, 225, 250, 200));
    p.drawEllipse(QPointF(9, 9), 3.3, 3.3);
}

void DrawCut(QPainter &p, const QColor &ink)
{
    QPen blade(ink, 1.3);
    blade.setCapStyle(Qt::RoundCap);
    p.setPen(blade);
    p.drawLine(QPointF(5.8, 10), QPointF(10.5, 1.5));
    p.drawLine(QPointF(10.2, 10), QPointF(5.5, 1.5));
    p.setPen(Pen(QColor(192, 48, 48), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(4.5, 12), 2.2, 2.2);
    p.drawEllipse(QPointF(11.5, 12), 2.2, 2.2);
}

void DrawCopy(QPainter &p)
{
    DrawSheet(p, 1.5, 1.5, 8, 10, 2.5);
    DrawSheet(p, 6.5, 4.5, 8, 10, 2.5);
}

void DrawPaste(QPainter &p)
{
    p.setPen(Pen(QColor(107, 74, 28)));
    p.setBrush(QColor(181, 130, 60));
    p.drawRoundedRect(QRectF(2.5, 2.5, 10, 12), 1, 1);
    p.setPen(Pen(SheetLine));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(5, 1.5, 5, 2.5));
    DrawSheet(p, 7.5, 6.5, 7, 8, 2);
}

void DrawDuplicate(QPainter &p)
{
    DrawSheet(p, 1.5, 1.5, 8, 10, 2.5);
    DrawSheet(p, 6.5, 4.5, 8, 10, 2.5);
    // A plus on the copy: made at once, not kept on the clipboard.
    QPen plus(QColor(46, 140, 58), 1.6);
    plus.setCapStyle(Qt::FlatCap);
    p.setPen(plus);
    p.drawLine(QPointF(10.5, 7.5), QPointF(10.5, 12.5));
    p.drawLine(QPointF(8, 10), QPointF(13, 10));
}

void DrawDelete(QPainter &p)
{
    QPen cross(QColor(192, 48, 48), 2.2);
    cross.setCapStyle(Qt::RoundCap);
    p.setPen(cross);
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}

void DrawPrint(QPainter &p)
{
    DrawSheet(p, 4.5, 1.5, 7, 6, 0.01);
    p.setPen(Pen(QColor(79, 85, 92)));
    p.setBrush(QColor(165, 171, 179));
    p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
    DrawSheet(p, 4.5, 10.5, 7, 4, 0.01);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(46, 190, 70));
    p.drawEllipse(QPointF(12.3, 8.5), 0.9, 0.9);
}

void DrawAbout(QPainter &p)
{
    p.setPen(Pen(QColor(23, 58, 112)));
    p.setBrush(QColor(47, 100, 176));
    p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    // The question mark as strokes, so that it looks the same with every font.
    QPen mark(Qt::white, 1.8);
    mark.setCapStyle(Qt::RoundCap);
    p.setPen(mark);
    p.setBrush(Qt::NoBrush);
    QPainterPath hook;
    hook.moveTo(5.6, 6.2);
    hook.cubicTo(5.6, 3.2, 10.4, 3.2, 10.4, 6.0);
    hook.cubicTo(10.4, 7.8, 8, 7.9, 8, 9.6);
    p.drawPath(hook);
    p.drawPoint(QPointF(8, 12.2));
}

void DrawUndo(QPainter &p, const QColor &ink)
{
    QPen pen(ink, 1.6);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    QPainterPath curve;
    curve.moveTo(4, 6.5);
    curve.cubicTo(8, 3.5, 14, 5, 13, 11);
    p.drawPath(curve);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPolygon(QPolygonF({QPointF(2, 4), QPointF(7, 3.5), QPointF(4.5, 8.5)}));
}

} // namespace

QIcon Icon(int id, const QPalette &palette)
{
    const QColor ink = palette.color(QPalette::Active, QPalette::WindowText);
    Drawing drawing;
    switch (id) {
    case CommandTable::FileNew:
        drawing = DrawNew;
        break;
    case CommandTable::FileOpen:
        drawing = DrawOpen;
        break;
    case CommandTable::FileSave:
        drawing = DrawSave;
        break;
    case CommandTable::FileRun:
        drawing = DrawRun;
        break;
    case CommandTable::FilePreview:
        drawing = DrawPreview;
        break;
    case CommandTable::EditCut:
        drawing = [ink](QPainter &p) {
            DrawCut(p, ink);
        };
        break;
    case CommandTable::EditCopy:
        drawing = DrawCopy;
        break;
    case CommandTable::EditPaste:
        drawing = DrawPaste;
        break;
    case CommandTable::FilePrint:
        drawing = DrawPrint;
        break;
    case CommandTable::EditDuplicate:
        drawing = DrawDuplicate;
        break;
    case CommandTable::EditClear:
        drawing = DrawDelete;
        break;
    case CommandTable::AppAbout:
        drawing = DrawAbout;
        break;
    case CommandTable::EditUndo:
        drawing = [ink](QPainter &p) {
            DrawUndo(p, ink);
        };
        break;
    case CommandTable::EditRedo:
        // The undo arrow turned the other way.
        drawing = [ink](QPainter &p) {
            p.translate(16, 0);
            p.scale(-1, 1);
            DrawUndo(p, ink);
        };
        break;
    default:
        // The layout commands draw their own.
        if (LayoutIcons::Has(id)) {
            drawing = [id, ink](QPainter &p) {
                LayoutIcons::Draw(p, id, ink);
            };
            break;
        }
        return QIcon();
    }
    return QIcon(new PaintedIconEngine(std::move(drawing), 16));
}

void PaintAppIcon(QPainter &p, const QRectF &rect)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(rect.topLeft());
    p.scale(rect.width() / 64, rect.height() / 64);

    const QColor edge(59, 74, 94);
    p.setPen(Pen(edge, 2));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF(
            {QPointF(10, 4), QPointF(44, 4), QPointF(54, 14), QPointF(54, 60), QPointF(10, 60)}));
    p.setBrush(QColor(223, 230, 239));
    p.drawPolygon(QPolygonF({QPointF(44, 4), QPointF(44, 14), QPointF(54, 14)}));

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(47, 100, 176));
    p.drawRect(QRectF(14, 9, 27, 8));
    p.setPen(Pen(QColor(154, 168, 184), 2));
    for (const qreal y : {23.0, 29.0, 35.0})
        p.drawLine(QPointF(15, y), QPointF(49, y));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(46, 157, 58));
    p.drawRect(QRectF(14, 49, 36, 7));

    QPen outline(Qt::white, 2.5);
    outline.setJoinStyle(Qt::RoundJoin);
    p.setPen(outline);
    p.setBrush(QColor(217, 83, 30));
    p.drawPolygon(QPolygonF({QPointF(20, 21), QPointF(28.5, 21), QPointF(35, 42), QPointF(41.5, 21),
                             QPointF(50, 21), QPointF(39.5, 54), QPointF(30.5, 54)}));
    p.restore();
}

QIcon AppIcon()
{
    return QIcon(
            new PaintedIconEngine([](QPainter &p) { PaintAppIcon(p, QRectF(0, 0, 64, 64)); }, 64));
}

QIcon ExtensionArrow(bool vertical, bool rightToLeft)
{
    // Drawn on a grid of 8, as the arrow shows small.
    return QIcon(new PaintedIconEngine(
            [vertical, rightToLeft](QPainter &p) {
                if (vertical) {
                    // The right-pointing drawing turned a quarter clockwise.
                    p.translate(8, 0);
                    p.rotate(90);
                } else if (rightToLeft) {
                    p.translate(8, 0);
                    p.scale(-1, 1);
                }
                QPen pen(QApplication::palette().color(QPalette::ButtonText), 1);
                pen.setCapStyle(Qt::SquareCap);
                pen.setJoinStyle(Qt::MiterJoin);
                p.setPen(pen);
                p.setBrush(Qt::NoBrush);
                for (const qreal x : {1.0, 4.5})
                    p.drawPolyline(
                            QPolygonF({QPointF(x, 1.5), QPointF(x + 2.5, 4), QPointF(x, 6.5)}));
            },
            8));
}

} // namespace CommandIcons
