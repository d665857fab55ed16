#include "ean13layout.h"

#include "barcodeunits.h"
#include "ean13.h"

#include <algorithm>
#include <utility>

namespace {

// No page is anywhere near this size (167 m); the bound keeps every sum below in range.
constexpr int CoordinateLimit = 1 << 24;

int Bounded(int v)
{
    return std::clamp(v, -CoordinateLimit, CoordinateLimit);
}

} // namespace

Ean13Layout LayoutEan13(QStringView value, int left, int top, int right, int bottom, int dpiX,
                        int dpiY)
{
    Ean13Layout layout;
    if (value.isEmpty())
        return layout;

    left = Bounded(left);
    top = Bounded(top);
    right = Bounded(right);
    bottom = Bounded(bottom);
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);

    const auto toPixels = [dpiX, dpiY](const Ean13Layout::Box &box) {
        const int x = UnitsToPixels(box.left, dpiX);
        const int y = UnitsToPixels(box.top, dpiY);
        return QRect(x, y, UnitsToPixels(box.right, dpiX) - x, UnitsToPixels(box.bottom, dpiY) - y);
    };

    if (!IsValidEan13(value)) {
        layout.kind = Ean13Layout::Kind::CrossedBox;
        const QRect box = toPixels({left, top, right, bottom});
        const QPoint lt(box.x(), box.y());
        const QPoint rt(box.x() + box.width(), box.y());
        const QPoint lb(box.x(), box.y() + box.height());
        const QPoint rb(rt.x(), lb.y());
        // One stroke through both diagonals and three sides, then the right side.
        for (const QLine &line : {QLine(lt, rb), QLine(rb, lb), QLine(lb, rt), QLine(rt, lt),
                                  QLine(lt, lb), QLine(rb, rt)}) {
            if (line.p1() != line.p2())
                layout.crossLines.push_back(line);
        }
        return layout;
    }

    layout.kind = Ean13Layout::Kind::Symbol;
    const int d = (right - left) / Ean13Layout::ModuleCount;
    const int h = bottom - top;
    // The whole symbol stays inside the box, so that the item's clip never cuts the end
    // guard off (a scanner reads nothing without it).
    layout.pitch = d;
    layout.digits = h >= Ean13Layout::DigitsMinHeight;

    // On the device every module is the same whole number of pixels wide: bars of one
    // width must print alike, which widths rounded from units one by one would not. Only a
    // box narrower than 95 pixels spreads the modules over its pixels unevenly.
    const int x0 = UnitsToPixels(left, dpiX);
    const int boxPixels = UnitsToPixels(right, dpiX) - x0;
    const int pixelPitch = boxPixels / Ean13Layout::ModuleCount;
    const auto moduleX = [x0, boxPixels, pixelPitch](int i) {
        return x0 + (pixelPitch > 0 ? i * pixelPitch : (i * boxPixels) / Ean13Layout::ModuleCount);
    };

    // With digits the bars between the guards stop above them; dividing first can leave that
    // bottom a few units above the digits' box.
    int innerBottom = bottom;
    if (layout.digits) {
        innerBottom = top + (h / 11) * 7;
        layout.textUnits = {left + 3 * d, top + (7 * h) / 11, right - 3 * d, bottom};
        layout.textPixels = toPixels(layout.textUnits);
    }

    const std::array<int, 84> halves = EncodeEan13(value);
    for (int i = 0; i < Ean13Layout::ModuleCount; ++i) {
        Ean13Layout::Module &module = layout.modules[i];
        const bool guard = i < 3 || i >= 92;
        if (guard)
            module.bar = (i % 2) == 0; // 101 at both ends
        else if (i < 45)
            module.bar = halves[i - 3] != 0;
        else if (i < 50)
            module.bar = (i % 2) == 0; // 01010 in the centre
        else
            module.bar = halves[i - 8] != 0;
        module.units = {left + i * layout.pitch, top, left + (i + 1) * layout.pitch,
                        guard ? bottom : innerBottom};
        const QRect rows = toPixels(module.units);
        module.pixels = QRect(moduleX(i), rows.y(), moduleX(i + 1) - moduleX(i), rows.height());
    }
    return layout;
}
