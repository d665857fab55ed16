#include "pagepainter.h"

#include "itemdrawing.h"
#include "itemkinds.h"
#include "itempainter.h"
#include "pixeldrawing.h"
#include "vornband.h"
#include "vornitem.h"
#include "vornreport.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <tuple>

const QString CPagePainter::SampleBarcode = QStringLiteral("2000000000015");

namespace {

constexpr int GridStep = 10;

// The first coordinate of the lattice first + k * GridStep (k >= 0) that is not below from.
int FirstOnLattice(int first, int from)
{
    if (first >= from)
        return first;
    const int steps = (from - first + GridStep - 1) / GridStep;
    return first + steps * GridStep;
}

} // namespace

CPagePainter::CPagePainter(QPainter &painter, const CPageGeometry &geometry,
                           const CVornReport &report, bool grid, CPaintCache *cache)
    : m_painter(painter)
    , m_geometry(geometry)
    , m_report(report)
    , m_grid(grid)
    , m_cache(cache ? cache : &m_ownCache)
{
    m_page = geometry.GetPageRect(&m_zoom);
    m_bandArea = geometry.GetBandArea();
    // What of the draw area can show on the device; loops over pixels stay inside it, as a
    // page from a damaged file may be millions of pixels large.
    m_visible = geometry.GetDrawArea();
    if (const QPaintDevice *device = painter.device()) {
        bool invertible = false;
        const QTransform toView = painter.combinedTransform().inverted(&invertible);
        if (invertible) {
            QRect shown = toView.mapRect(QRect(0, 0, device->width(), device->height()));
            // A repaint of part of a window draws only there: the view clips its painter to
            // the area to repaint. (The paint engine's system clip is no guide: in a window it
            // is in the coordinates of the whole window, not of the widget.)
            if (painter.hasClipping())
                shown &= painter.clipBoundingRect().toAlignedRect();
            m_visible = m_visible.Intersect(
                    {shown.left(), shown.top(), shown.right() + 1, shown.bottom() + 1});
        }
    }
}

void CPagePainter::Paint()
{
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    m_painter.setBackgroundMode(Qt::TransparentMode);
    m_cache->BeginPaint();
    // One object selected keeps its white handles; of several, the primary one is solid.
    const std::vector<CVornElement *> selection = m_report.GetSelection();
    m_solid = selection.size() > 1 ? selection.front() : nullptr;

    FillPixRect(m_painter, m_geometry.GetDrawArea(), QColor(BackgroundColor));
    FillPixRect(m_painter, m_geometry.GetDarkArea(), QColor(BelowBandsColor));
    const int count = m_report.GetBands().GetCount();
    for (int i = 0; i < count; ++i)
        DrawBand(i, Pass::Content);
    if (m_captions) {
        for (int i = 0; i < count; ++i)
            DrawCaption(i);
    }
    for (int i = 0; i < count; ++i)
        DrawBand(i, Pass::Marks);

    m_cache->EndPaint();
    m_painter.restore();
}

void CPagePainter::DrawCaption(int index)
{
    const CVornBand *band = m_report.GetBands().GetAt(index);
    const PixRect rect = m_geometry.GetBandRect(index);
    if (rect.Intersect(m_visible.Inflate(0, 20)).IsEmpty() && !rect.IsEmpty())
        return;
    m_painter.save();
    // A fixed size whatever the zoom: the tab is a label of the designer, not of the report.
    QFont font = m_painter.font();
    font.setPixelSize(10);
    m_painter.setFont(font);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(band->GetName()) + 8;
    const int height = metrics.height() + 2;
    PixRect tab {rect.left + 1, rect.top + 1, rect.left + 1 + width, rect.top + 1 + height};
    if (rect.IsEmpty()) {
        // A Page Break: its line across the page, its tab hanging below it at the right.
        QPen pen(QColor(OutlineColor), 1, Qt::DashLine);
        m_painter.setPen(pen);
        m_painter.drawLine(rect.left, rect.top, rect.right - 1, rect.top);
        tab = tab.Offset(rect.Width() - width - 2, 0);
    } else {
        // A tab never reaches past its band.
        m_painter.setClipRect(rect.ToQRect(), Qt::IntersectClip);
    }
    DrawRectangle(m_painter, tab, OutlinePen(QColor(OutlineColor), 1), QColor(CaptionColor));
    m_painter.setPen(QColor(OutlineColor));
    m_painter.drawText(tab.ToQRect(), Qt::AlignCenter | Qt::TextSingleLine, band->GetName());
    m_painter.restore();
}

void CPagePainter::DrawBand(int index, Pass pass)
{
    const CVornBand *band = m_report.GetBands().GetAt(index);
    const PixRect rect = m_geometry.GetBandRect(index);
    if (pass == Pass::Marks && band->IsSelected())
        DrawSelectionMarks(rect, band == m_solid);
    if (pass == Pass::Content) {
        DrawRectangle(m_painter, rect, OutlinePen(QColor(OutlineColor), 1), QBrush(Qt::white));
        DrawOtherColumns(*band, rect);
    }
    // Drawn in both passes: under the items, and again over them for the marks.
    if (m_grid)
        DrawGrid(rect);
    // Shapes first, so that every other item of the band lies on top of them.
    for (const bool under : {true, false}) {
        for (const CVornItem *item : band->GetItems()) {
            if (IsDrawnUnderOthers(item->GetKind()) == under)
                DrawItem(*item, rect, pass);
        }
    }
}

void CPagePainter::DrawOtherColumns(const CVornBand &band, const PixRect &rect)
{
    if (band.GetKind() != VornKind::ReportContents)
        return;
    const CColumnPlaces columns = ColumnPlacesOf(band.GetPaging(), m_report.GetPageWidth());
    const auto x = [&](qint64 model) {
        return int(std::clamp<qint64>(qint64(rect.left) + m_geometry.ModelToPixelsX(model, m_zoom),
                                      rect.left, rect.right));
    };
    for (int c = 1; c < columns.count; ++c) {
        const qint64 left = columns.left + qint64(c) * columns.pitch;
        const PixRect shade {x(left), rect.top + 1, x(left + columns.width), rect.bottom - 1};
        FillPixRect(m_painter, shade.Intersect(rect.Inflate(-1, -1)), QColor(OtherColumnColor));
    }
}

void CPagePainter::DrawGrid(const PixRect &band)
{
    // One lattice for the whole page, at P.left + 9 + 10i and P.top + 9 + 10j; the remainders
    // keep the sign of their dividend.
    const int x0 = band.left + 9 - ((band.left - m_page.left) % GridStep);
    const int y0 = band.top + 9 - ((band.top - m_page.top) % GridStep);
    const PixRect area = band.Intersect(m_visible);
    if (area.IsEmpty())
        return;
    QPolygon dots;
    for (int y = FirstOnLattice(y0, area.top); y < area.bottom; y += GridStep) {
        for (int x = FirstOnLattice(x0, area.left); x < area.right; x += GridStep)
            dots.append(QPoint(x, y));
    }
    m_painter.setPen(QPen(QColor(GridColor), 1));
    m_painter.drawPoints(dots);
}

void CPagePainter::DrawItem(const CVornItem &item, const PixRect &band, Pass pass)
{
    const PixRect box = m_geometry.GetClippedItemRect(item, band);
    if (pass == Pass::Marks) {
        if (item.IsSelected())
            DrawSelectionMarks(box, &item == m_solid);
        return;
    }
    if (box.IsEmpty())
        return;

    const CItemDrawing *drawing = ItemDrawingOf(item.GetKind());
    if (!drawing)
        return;
    // Everything an item draws stays in its box, or as far out of it as its kind reaches (a
    // shape's pen keeps its full width as long as it stays on the band).
    PixRect clip = box;
    if (drawing->reach) {
        const int reach = drawing->reach(item);
        clip = box.Inflate(reach, reach).Intersect(band);
    }
    // Items that cannot show are not laid out at all: a page may hold thousands.
    if (clip.Intersect(m_visible).IsEmpty())
        return;
    m_painter.save();
    m_painter.setClipRect(clip.ToQRect(), Qt::IntersectClip);
    drawing->draw(item, box, {m_painter, m_geometry, *m_cache, m_zoom});
    m_painter.restore();
}

void CPagePainter::DrawSelectionMarks(const PixRect &rect, bool solid)
{
    // The bands that run past the page count as page here: their marks show where they are.
    const PixRect &page = m_bandArea;
    const bool topLeft = page.Contains(rect.left, rect.top);
    const bool topRight = page.Contains(rect.right, rect.top);
    const bool bottomRight = page.Contains(rect.right, rect.bottom);
    const bool bottomLeft = page.Contains(rect.left, rect.bottom);

    // Each side is a dotted line of no thickness, cut to the page; a side is drawn when one of
    // its end corners is on the page.
    const int x1 = std::max(rect.left, page.left);
    const int x2 = std::min(rect.right, page.right);
    const int y1 = std::max(rect.top, page.top);
    const int y2 = std::min(rect.bottom, page.bottom);
    QPolygon dots;
    // Every other pixel, on a checkerboard fixed to the view; only the visible part is listed.
    const PixRect &shown = m_visible;
    const auto row = [&dots, &shown](int y, int from, int to) {
        if (y < shown.top || y >= shown.bottom)
            return;
        for (int x = std::max(from, shown.left); x < std::min(to, shown.right); ++x) {
            if (((x + y) & 1) == 0)
                dots.append(QPoint(x, y));
        }
    };
    const auto column = [&dots, &shown](int x, int from, int to) {
        if (x < shown.left || x >= shown.right)
            return;
        for (int y = std::max(from, shown.top); y < std::min(to, shown.bottom); ++y) {
            if (((x + y) & 1) == 0)
                dots.append(QPoint(x, y));
        }
    };
    const bool top = topLeft || topRight;
    if (top)
        row(y1, x1, x2);
    if (topRight || bottomRight)
        column(x2, y1, y2);
    if (bottomLeft || bottomRight)
        row(y2, x1, x2);
    // The top side has inverted the shared corner already; inverting it twice would undo it.
    if (topLeft || bottomLeft)
        column(x1, top ? y1 + 1 : y1, y2);
    DrawFocusLines(dots);

    const QPen pen = OutlinePen(QColor(OutlineColor), 1);
    const QBrush brush = solid ? QBrush(QColor(OutlineColor)) : QBrush(Qt::white);
    for (const auto &[x, y, on] :
         {std::tuple(rect.left, rect.top, topLeft), std::tuple(rect.right, rect.top, topRight),
          std::tuple(rect.right, rect.bottom, bottomRight),
          std::tuple(rect.left, rect.bottom, bottomLeft)}) {
        if (on)
            DrawRectangle(m_painter,
                          {x - HandleReach, y - HandleReach, x + HandleReach, y + HandleReach}, pen,
                          brush);
    }
}

void CPagePainter::DrawFocusLines(const QPolygon &points)
{
    if (points.isEmpty())
        return;
    m_painter.save();
    // Focus lines invert what lies under them so that they show on any colour; a device
    // without raster operations gets plain dark dots instead.
    const QPaintEngine *engine = m_painter.paintEngine();
    if (engine && engine->hasFeature(QPaintEngine::RasterOpModes)) {
        m_painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        m_painter.setPen(QPen(Qt::white, 1));
    } else {
        m_painter.setPen(QPen(QColor(OutlineColor), 1));
    }
    m_painter.drawPoints(points);
    m_painter.restore();
}
