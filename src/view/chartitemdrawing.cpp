#include "itemdrawing.h"

#include "chartitem.h"
#include "kindtable.h"
#include "pagegeometry.h"
#include "pagepainting.h"
#include "pixeldrawing.h"
#include "vornchart.h"

#include <QPainter>

#include <cmath>

namespace {

// The chart laid out by the engine's own layout in the item's size, with made-up data of its
// shape (its type, series, title and legend), and drawn onto the item's pixels.
void DrawChart(const CVornItem &item, const PixRect &box, const CItemDrawContext &context)
{
    const auto &chart = static_cast<const CVornChart &>(item);
    const int width = item.GetRight() - item.GetLeft();
    const int height = item.GetBottom() - item.GetTop();
    if (width <= 0 || height <= 0 || box.Width() <= 0 || box.Height() <= 0)
        return;
    auto fonts
            = std::make_shared<CPageFontTable>(CPageFontTable {{ChartFontFace(), ChartFontPoints}});
    CPage page(fonts);
    const QRgb text = ColorFromColorRef(chart.GetColor()).rgb();
    for (CPageItem &primitive :
         LayoutChart(ChartSampleData(chart), {0, 0, width, height}, ChartStyleOf(chart, 0, text)))
        page.Add(std::move(primitive));
    // Painted at the whole resolution nearest to the item's pixels, then scaled by what is left.
    const int dpiX = std::max(1, int(std::lround(box.Width() * 2540.0 / width)));
    const int dpiY = std::max(1, int(std::lround(box.Height() * 2540.0 / height)));
    QPainter &painter = context.painter;
    painter.save();
    painter.translate(box.left, box.top);
    painter.scale(box.Width() / (width * dpiX / 2540.0), box.Height() / (height * dpiY / 2540.0));
    CPagePainting painting(painter, dpiX, dpiY);
    painting.Paint(page, 1, 1);
    painter.restore();
}

} // namespace

void AddChartDrawings(CKindTable<CItemDrawing> &table)
{
    table.Add(CVornChart::Kind, {DrawChart});
}
