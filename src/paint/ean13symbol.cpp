#include "ean13symbol.h"

#include "barcodefont.h"
#include "ean13layout.h"
#include "textlines.h"

#include <QPaintDevice>
#include <QPainter>

namespace {

// The digits' height for a box size, measured on the layout device so that every output gets
// the same; the last answer is kept, as a page of labels has boxes of one size.
int DigitsHeight(QStringView value, qint64 width, qint64 height)
{
    thread_local qint64 lastWidth = -1;
    thread_local qint64 lastHeight = -1;
    thread_local int lastResult = 0;
    if (width != lastWidth || height != lastHeight) {
        lastWidth = width;
        lastHeight = height;
        lastResult = LargestFittingHeight(
                [&](int n) { return BarcodeTextFits(LayoutDevice(), value, n, width, height); });
    }
    return lastResult;
}

QRect Edges(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

} // namespace

Ean13Symbol LayoutEan13Symbol(QStringView value, int left, int top, int right, int bottom)
{
    Ean13Symbol symbol;
    // The geometry in units does not depend on a resolution.
    const Ean13Layout layout = LayoutEan13(value, left, top, right, bottom, 2540, 2540);
    if (layout.kind == Ean13Layout::Kind::Nothing)
        return symbol;
    symbol.box = Edges(std::min(left, right), std::min(top, bottom), std::max(left, right),
                       std::max(top, bottom));
    if (layout.kind == Ean13Layout::Kind::CrossedBox) {
        symbol.kind = Ean13Symbol::Kind::CrossedBox;
        return symbol;
    }
    symbol.kind = Ean13Symbol::Kind::Symbol;
    const auto &modules = layout.modules;
    const Ean13Layout::Box &first = modules.front().units;
    const Ean13Layout::Box &last = modules.back().units;
    symbol.symbol = Edges(first.left, first.top, last.right, last.bottom);
    // Neighbouring bars of one height make one rectangle: antialiased edges of bars drawn one
    // by one would leave grey seams between them.
    for (int i = 0; i < Ean13Layout::ModuleCount;) {
        if (!modules[i].bar) {
            ++i;
            continue;
        }
        int end = i;
        while (end + 1 < Ean13Layout::ModuleCount && modules[end + 1].bar
               && modules[end + 1].units.bottom == modules[i].units.bottom)
            ++end;
        const Ean13Layout::Box &a = modules[i].units;
        symbol.bars.push_back(Edges(a.left, a.top, modules[end].units.right, a.bottom));
        i = end + 1;
    }
    if (layout.digits) {
        // Under the modules between the guards: three modules in from either end.
        const int textLeft = modules[3].units.left;
        const int textRight = modules[Ean13Layout::ModuleCount - 3].units.left;
        const int textTop = layout.textUnits.top;
        const int textBottom = layout.textUnits.bottom;
        symbol.digitsBox = Edges(textLeft, textTop, textRight, textBottom);
        symbol.digitsHeight
                = DigitsHeight(value, qint64(textRight) - textLeft, qint64(textBottom) - textTop);
        symbol.digits = value.toString();
    }
    return symbol;
}

void PaintEan13Symbol(QPainter &painter, const Ean13Symbol &symbol, double dpiX, double dpiY)
{
    const QPaintDevice *device = painter.device();
    if (symbol.kind == Ean13Symbol::Kind::Nothing || !device || dpiX <= 0 || dpiY <= 0)
        return;
    const double sx = dpiX / 2540.0;
    const double sy = dpiY / 2540.0;
    const auto toDevice = [sx, sy](const QRect &units) {
        return QRectF(QPointF(units.left() * sx, units.top() * sy),
                      QPointF((units.right() + 1) * sx, (units.bottom() + 1) * sy));
    };

    painter.save();
    if (symbol.kind == Ean13Symbol::Kind::CrossedBox) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(Qt::black, 0));
        painter.setBrush(Qt::NoBrush);
        const QRectF box = toDevice(symbol.box);
        painter.drawRect(box);
        painter.drawLine(box.topLeft(), box.bottomRight());
        painter.drawLine(box.topRight(), box.bottomLeft());
        painter.restore();
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillRect(toDevice(symbol.symbol), Qt::white);
    for (const QRect &bar : symbol.bars)
        painter.fillRect(toDevice(bar), Qt::black);
    if (symbol.digitsHeight > 0) {
        // Centred with the layout's own metrics, like every text of the engine, so that the
        // digits sit at the same place at every resolution.
        const QFont font
                = LayoutFont(BarcodeFont(0, 0).family(), symbol.digitsHeight * 72.0 / 2540.0, true,
                             false, false, false);
        const QRectF box(symbol.digitsBox.left(), symbol.digitsBox.top(), symbol.digitsBox.width(),
                         symbol.digitsBox.height());
        painter.setPen(Qt::black);
        PaintTextLines(painter, dpiX, dpiY, font,
                       BreakTextLines(font, symbol.digits, box.width(), false), box, 2, 0, false);
    }
    painter.restore();
}
