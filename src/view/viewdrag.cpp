#include "viewinteraction.h"

#include "interactionrules.h"
#include "pagepainter.h"
#include "reportedit.h"
#include "snapguides.h"
#include "vorndocument.h"
#include "vornitems.h"
#include "vornreport.h"

#include <algorithm>
#include <limits>

using namespace InteractionRules;

// Dragging an object's edges or the whole object, the sizing cursor and the grid.

void CViewInteraction::BeginDrag(QPoint pt)
{
    BeginDrag(HitTest(pt, true), pt);
}

void CViewInteraction::BeginDrag(CVornElement *element, QPoint pt)
{
    if (!element)
        return;
    m_state.m_mode = ModeForEdges(NearEdges(m_geometry.GetItemPixelRect(element), pt));
    m_state.m_dragItem = element;
    m_state.m_guides.clear();
    // Every step of this drag merges into one undo step.
    ++m_state.m_dragSerial;
    if (const auto *item = dynamic_cast<const CVornItem *>(element)) {
        m_state.m_dragStart = RectOf(*item);
        m_state.m_dragFree = m_state.m_dragStart;
    } else {
        const auto *band = static_cast<const CVornBand *>(element);
        m_state.m_dragStart = {0, 0, Report().GetPageWidth(), band->GetEffectiveHeight()};
    }
}

CVornElement *CViewInteraction::SelectedEdgeAt(QPoint pt) const
{
    const auto &bands = Report().GetBands();
    const int count = std::min(bands.GetCount(), m_geometry.GetBandCount());
    for (int i = 0; i < count; ++i) {
        const PixRect bandRect = m_geometry.GetBandRect(i);
        for (CVornItem *item : bands[i]->GetItems()) {
            if (!item->IsSelected())
                continue;
            const PixRect rect = m_geometry.GetItemPixelRect(*item, bandRect);
            const PixRect reach = rect.Inflate(EdgeTolerance, EdgeTolerance);
            // Only the outside: inside the item, what lies on top of it is hit as usual. The
            // right and bottom edges are on the reach.
            if (rect.Contains(pt.x(), pt.y()) || pt.x() < reach.left || pt.x() > reach.right
                || pt.y() < reach.top || pt.y() > reach.bottom)
                continue;
            if (ModeForEdges(NearEdges(rect, pt)) != Move)
                return item;
        }
    }
    return nullptr;
}

CViewInteraction::Cursor CViewInteraction::UpdateCursor(QPoint pt) const
{
    const CVornElement *hit = HitTest(pt, true);
    // Near a selected item's edge, also outside it, the edge is what the pointer would pull.
    const CVornElement *element = hit && !hit->IsBandElement() ? hit : SelectedEdgeAt(pt);
    if (!element)
        element = hit;
    if (!element)
        return Cursor::Unchanged;
    const Edges e = NearEdges(m_geometry.GetItemPixelRect(element), pt);
    if (element->IsBandElement()) {
        // A band's sides lie on the page's edges: only its bottom edge can be pulled.
        const PixRect page = m_geometry.GetPageRect();
        const Edges onPage = NearEdges(page, pt);
        if (onPage.left || onPage.top || onPage.right || onPage.bottom)
            return Cursor::Unchanged;
        return e.bottom ? Cursor::SizeVertical : Cursor::NoSizing;
    }
    if ((e.left && e.top) || (e.right && e.bottom))
        return Cursor::SizeNwSe;
    if ((e.right && e.top) || (e.left && e.bottom))
        return Cursor::SizeNeSw;
    if (e.left || e.right)
        return Cursor::SizeHorizontal;
    if (e.top || e.bottom)
        return Cursor::SizeVertical;
    return Cursor::NoSizing;
}

int CViewInteraction::GridAdvance(int pos, int last) const
{
    // Whole grid steps from the last accepted position; the rest waits for the next move.
    return last + (pos - last) / GridStep * GridStep;
}

CViewInteraction::Result CViewInteraction::DragTo(QPoint pt, bool guides)
{
    Result result;
    CVornElement *element = m_state.m_dragItem;
    const int mode = m_state.m_mode;
    if (!element || mode < DragTopLeft || mode > Move)
        return result;
    const int bandIndex = BandIndexOf(element);
    if (bandIndex < 0)
        return result;
    CVornBand *band = Report().GetBands()[bandIndex];
    CVornItem *item = element == band ? nullptr : dynamic_cast<CVornItem *>(element);

    // Everything in page model coordinates: the band starts bandTop units below the page top.
    const qint64 bandTop = BandTopInModel(bandIndex);
    const qint64 pageWidth = Report().GetPageWidth();
    const ModelRect bandArea {0, bandTop, pageWidth, bandTop + band->GetEffectiveHeight()};
    const ModelRect original = item ? RectOf(*item).Offset(0, bandTop) : bandArea;
    double zoom = 1.0;
    const PixRect page = m_geometry.GetPageRect(&zoom);
    const bool grid = IsGridOn();
    // An edge is placed where the pointer is, against the rectangle the drag began with. A
    // band's top is not stored (its band above decides it), so measuring a top-edge drag
    // against the band as it is now would shorten it again on every move. A move without the
    // grid goes on from where the pointer put the item, which is where it is unless a guide
    // took it.
    const bool freeMove = item && mode == Move && !grid;
    ModelRect wr = mode != Move ? m_state.m_dragStart.Offset(0, bandTop)
            : freeMove          ? m_state.m_dragFree.Offset(0, bandTop)
                                : original;
    const int px = (grid ? GridAdvance(pt.x(), m_state.m_lastX) : pt.x()) - page.left;
    const int py = (grid ? GridAdvance(pt.y(), m_state.m_lastY) : pt.y()) - page.top;
    const qint64 mx = m_geometry.PixelsToModelX(px, zoom);
    const qint64 my = m_geometry.PixelsToModelY(py, zoom);
    if (mx < 0 || my < 0 || mx >= pageWidth || my >= DragLimitY())
        return result;

    // Edges may meet but never cross.
    switch (mode) {
    case DragTopLeft:
        if (my <= wr.bottom && mx <= wr.right) {
            wr.left = mx;
            wr.top = my;
        }
        break;
    case DragTop:
        if (my <= wr.bottom)
            wr.top = my;
        break;
    case DragTopRight:
        if (my <= wr.bottom && mx >= wr.left) {
            wr.top = my;
            wr.right = mx;
        }
        break;
    case DragRight:
        if (mx >= wr.left)
            wr.right = mx;
        break;
    case DragBottomRight:
        if (my >= wr.top && mx >= wr.left) {
            wr.right = mx;
            wr.bottom = my;
        }
        break;
    case DragBottom:
        if (my >= wr.top)
            wr.bottom = my;
        break;
    case DragBottomLeft:
        if (my >= wr.top && mx <= wr.right) {
            wr.left = mx;
            wr.bottom = my;
        }
        break;
    case DragLeft:
        if (mx <= wr.right)
            wr.left = mx;
        break;
    case Move: {
        int dx = pt.x() - m_state.m_lastX;
        int dy = pt.y() - m_state.m_lastY;
        if (grid) {
            dx = dx / GridStep * GridStep;
            dy = dy / GridStep * GridStep;
        }
        wr = wr.Offset(m_geometry.PixelsToModelX(dx, zoom), m_geometry.PixelsToModelY(dy, zoom));
        break;
    }
    default:
        break;
    }

    if (!item) {
        // A band keeps at least the height of its lowest item, whichever edge is pulled.
        qint64 lowest = 0;
        for (const CVornItem *child : band->GetItems())
            lowest = std::max<qint64>(lowest, child->GetBottom());
        if (wr.bottom - wr.top < lowest) {
            if (MovesTop(mode) && mode != Move)
                wr.top = wr.bottom - lowest;
            else
                wr.bottom = wr.top + lowest;
        }
    } else if (mode == Move) {
        wr = KeepInBand(wr.Offset(0, -bandTop), pageWidth, band->GetEffectiveHeight())
                     .Offset(0, bandTop);
    } else {
        // A left or top edge beyond the band comes back to it and takes the opposite edge
        // along by as much; a right or bottom edge pulled past the band stops at its edge.
        if (wr.left < bandArea.left) {
            wr.right -= bandArea.left - wr.left;
            wr.left = bandArea.left;
        }
        if (wr.top < bandArea.top) {
            wr.bottom -= bandArea.top - wr.top;
            wr.top = bandArea.top;
        }
        if (MovesRight(mode) && wr.right > bandArea.right)
            wr.right = bandArea.right;
        if (MovesBottom(mode) && wr.bottom > bandArea.bottom)
            wr.bottom = bandArea.bottom;
        wr.right = std::max(wr.right, wr.left);
        wr.bottom = std::max(wr.bottom, wr.top);
    }

    wr = wr.Offset(0, -bandTop);
    const ModelRect before = original.Offset(0, -bandTop);
    const bool hadGuides = !m_state.m_guides.empty();
    m_state.m_guides.clear();
    if (grid) {
        wr = SnapRectToGrid(wr, bandTop);
        // A moved item keeps its size on the lattice and stays in its band.
        if (item && mode == Move)
            wr = KeepInBand(wr, pageWidth, band->GetEffectiveHeight());
        const bool unchanged = item ? wr == RectOf(*item) : wr.bottom - wr.top == band->GetHeight();
        if (unchanged)
            return result;
    } else if (item) {
        if (freeMove)
            m_state.m_dragFree = wr;
        if (guides)
            wr = SnapToGuides(wr, bandIndex, *item);
    }
    if (hadGuides || !m_state.m_guides.empty())
        result.repaintAll = true;

    CReportEdit edit(m_document, mode == Move ? T("Move") : T("Resize"));
    edit.SetMergeTag(QStringLiteral("drag %1").arg(m_state.m_dragSerial));
    if (item) {
        const ModelRect now = RectOf(*item);
        const bool together = mode == Move && Report().GetSelectedItems().size() > 1;
        if (together) {
            // The selection moves as a whole, so that the items keep their places to each
            // other: the first band edge any of them meets stops them all.
            qint64 dx = wr.left - now.left;
            qint64 dy = wr.top - now.top;
            if (LimitSelectionShift(dx, dy))
                m_state.m_guides.clear();
            wr = now.Offset(dx, dy);
        }
        edit.WillChange(item);
        item->SetRect(ToInt(wr.left), ToInt(wr.top), ToInt(wr.right), ToInt(wr.bottom));
        if (together) {
            MoveFollowers(edit, *item, wr.left - now.left, wr.top - now.top);
            result.repaintAll = true;
        }
    } else {
        edit.WillChange(band);
        band->SetHeight(ToInt(wr.bottom - wr.top));
    }
    if (edit.Commit())
        MarkModified(result);

    if (grid) {
        m_state.m_lastX = GridAdvance(pt.x(), m_state.m_lastX);
        m_state.m_lastY = GridAdvance(pt.y(), m_state.m_lastY);
    } else {
        m_state.m_lastX = pt.x();
        m_state.m_lastY = pt.y();
    }

    if (!(wr == before)) {
        if (item) {
            result.repaintAreas.push_back(ItemRepaintArea(wr.Offset(0, bandTop)));
            result.repaintAreas.push_back(ItemRepaintArea(before.Offset(0, bandTop)));
        } else {
            // The bands below move with the band's height, down to the end of the draw area
            // when they run past the page.
            // The moving bands' selection handles stand out of the page at both sides.
            PixRect area = page.Inflate(CPagePainter::HandleReach, 0);
            area.bottom = std::max(page.bottom, m_geometry.GetDrawArea().bottom);
            result.repaintAreas.push_back(ToClient(area));
        }
        result.updateNow = true;
        result.showProperties = true;
        result.propertiesObject = element;
    }
    return result;
}

qint64 CViewInteraction::DragLimitY() const
{
    // Bands that run past the page are drawn, and dragged, below it as far as they go.
    const CVornReport &report = Report();
    if (report.SumAllBandHeights() <= report.GetPageHeight())
        return report.GetPageHeight();
    return std::numeric_limits<qint64>::max();
}

CViewInteraction::ModelRect CViewInteraction::KeepInBand(const ModelRect &rect, qint64 width,
                                                         qint64 height)
{
    // For an item larger than its band the right and bottom edges win.
    ModelRect r = rect;
    if (r.left < 0)
        r = r.Offset(-r.left, 0);
    if (r.right > width)
        r = r.Offset(width - r.right, 0);
    if (r.top < 0)
        r = r.Offset(0, -r.top);
    if (r.bottom > height)
        r = r.Offset(0, height - r.bottom);
    return r;
}

CViewInteraction::ModelRect CViewInteraction::RectOf(const CVornItem &item)
{
    return {item.GetLeft(), item.GetTop(), item.GetRight(), item.GetBottom()};
}

bool CViewInteraction::LimitSelectionShift(qint64 &dx, qint64 &dy) const
{
    const qint64 width = Report().GetPageWidth();
    qint64 minX = std::numeric_limits<qint64>::min();
    qint64 maxX = std::numeric_limits<qint64>::max();
    qint64 minY = minX;
    qint64 maxY = maxX;
    for (const CVornBand *band : Report().GetBands()) {
        const qint64 height = band->GetEffectiveHeight();
        for (const CVornItem *item : band->GetItems()) {
            if (!item->IsSelected())
                continue;
            // An item that lies out of its band already may stay where it is, not go further.
            const ModelRect r = RectOf(*item);
            minX = std::max(minX, std::min<qint64>(-r.left, 0));
            maxX = std::min(maxX, std::max<qint64>(width - r.right, 0));
            minY = std::max(minY, std::min<qint64>(-r.top, 0));
            maxY = std::min(maxY, std::max<qint64>(height - r.bottom, 0));
        }
    }
    const qint64 x = std::clamp(dx, minX, maxX);
    const qint64 y = std::clamp(dy, minY, maxY);
    const bool limited = x != dx || y != dy;
    dx = x;
    dy = y;
    return limited;
}

void CViewInteraction::MoveFollowers(CReportEdit &edit, const CVornItem &dragged, qint64 dx,
                                     qint64 dy)
{
    for (CVornBand *band : Report().GetBands()) {
        for (CVornItem *item : band->GetItems()) {
            if (!item->IsSelected() || item == &dragged)
                continue;
            const ModelRect r = RectOf(*item).Offset(dx, dy);
            edit.WillChange(item);
            item->SetRect(ToInt(r.left), ToInt(r.top), ToInt(r.right), ToInt(r.bottom));
        }
    }
}

CViewInteraction::ModelRect CViewInteraction::SnapToGuides(const ModelRect &rect, int bandIndex,
                                                           const CVornItem &item)
{
    // The lines of the band's items that do not move along: the selected ones go with it.
    const CVornBand *band = Report().GetBands()[bandIndex];
    std::vector<SnapGuides::Span> columns;
    std::vector<SnapGuides::Span> rows;
    for (const CVornItem *other : band->GetItems()) {
        if (other == &item || other->IsSelected())
            continue;
        columns.push_back({other->GetLeft(), other->GetRight()});
        rows.push_back({other->GetTop(), other->GetBottom()});
    }
    const qint64 width = Report().GetPageWidth();
    const qint64 height = band->GetEffectiveHeight();
    const double zoom = m_geometry.GetZoom();
    const int mode = m_state.m_mode;
    const SnapGuides::Snap x = SnapGuides::Find(
            {rect.left, rect.right}, MovesLeft(mode), MovesRight(mode),
            SnapGuides::BandLines(width, columns), m_geometry.PixelsToModelX(GuideTolerance, zoom));
    const SnapGuides::Snap y = SnapGuides::Find(
            {rect.top, rect.bottom}, MovesTop(mode), MovesBottom(mode),
            SnapGuides::BandLines(height, rows), m_geometry.PixelsToModelY(GuideTolerance, zoom));

    ModelRect snapped = rect;
    if (mode == Move) {
        snapped = KeepInBand(rect.Offset(x.shift, y.shift), width, height);
    } else {
        if (MovesLeft(mode))
            snapped.left += x.shift;
        else if (MovesRight(mode))
            snapped.right += x.shift;
        if (MovesTop(mode))
            snapped.top += y.shift;
        else if (MovesBottom(mode))
            snapped.bottom += y.shift;
        // A snap that would cross the edges or leave the band is not taken.
        if (snapped.left > snapped.right || snapped.left < 0 || snapped.right > width) {
            snapped.left = rect.left;
            snapped.right = rect.right;
        }
        if (snapped.top > snapped.bottom || snapped.top < 0 || snapped.bottom > height) {
            snapped.top = rect.top;
            snapped.bottom = rect.bottom;
        }
    }
    // A guide shows only where a moving edge or centre line really lies on it (a band's limit
    // may have taken the item off again).
    const auto onLine = [](qint64 low, qint64 high, bool lowMoves, bool highMoves, qint64 line) {
        return (lowMoves && low == line) || (highMoves && high == line)
                || (lowMoves && highMoves && (low + high) / 2 == line);
    };
    if (x.line && onLine(snapped.left, snapped.right, MovesLeft(mode), MovesRight(mode), *x.line))
        m_state.m_guides.push_back({bandIndex, true, *x.line});
    if (y.line && onLine(snapped.top, snapped.bottom, MovesTop(mode), MovesBottom(mode), *y.line))
        m_state.m_guides.push_back({bandIndex, false, *y.line});
    return snapped;
}

PixRect CViewInteraction::ItemRepaintArea(const ModelRect &rect) const
{
    const double zoom = m_geometry.GetZoom();
    const PixRect page = m_geometry.GetPageRect();
    const PixRect pixels {m_geometry.ModelToPixelsX(rect.left, zoom) - RepaintMargin,
                          m_geometry.ModelToPixelsY(rect.top, zoom) - RepaintMargin,
                          m_geometry.ModelToPixelsX(rect.right, zoom) + RepaintMargin,
                          m_geometry.ModelToPixelsY(rect.bottom, zoom) + RepaintMarginBelow};
    return ToClient(pixels.Offset(page.left, page.top));
}

CViewInteraction::ModelRect CViewInteraction::SnapRectToGrid(const ModelRect &rect,
                                                             qint64 bandTop) const
{
    // The lattice starts at the page's top-left corner. Only the edges the mode moves are
    // converted to pixels and back, so that the others keep their exact model values. A move
    // puts the top-left corner on the lattice and carries the rest along: its size stays.
    const int mode = m_state.m_mode;
    const double zoom = m_geometry.GetZoom();
    if (mode == Move) {
        const int x = RoundToGrid(m_geometry.ModelToPixelsX(rect.left, zoom));
        const int y = RoundToGrid(m_geometry.ModelToPixelsY(rect.top + bandTop, zoom));
        return rect.Offset(m_geometry.PixelsToModelX(x, zoom) - rect.left,
                           m_geometry.PixelsToModelY(y, zoom) - bandTop - rect.top);
    }
    ModelRect snapped = rect;
    if (MovesLeft(mode)) {
        const int px = RoundToGrid(m_geometry.ModelToPixelsX(rect.left, zoom));
        snapped.left = m_geometry.PixelsToModelX(px, zoom);
    }
    if (MovesRight(mode)) {
        const int px = RoundToGrid(m_geometry.ModelToPixelsX(rect.right, zoom));
        snapped.right = m_geometry.PixelsToModelX(px, zoom);
    }
    if (MovesTop(mode)) {
        const int px = RoundToGrid(m_geometry.ModelToPixelsY(rect.top + bandTop, zoom));
        snapped.top = m_geometry.PixelsToModelY(px, zoom) - bandTop;
    }
    if (MovesBottom(mode)) {
        const int px = RoundToGrid(m_geometry.ModelToPixelsY(rect.bottom + bandTop, zoom));
        snapped.bottom = m_geometry.PixelsToModelY(px, zoom) - bandTop;
    }
    return snapped;
}
