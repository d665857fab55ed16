#include "viewinteraction.h"

#include "pagepainter.h"
#include "reportedit.h"
#include "vorndocument.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

struct Edges
{
    bool left = false;
    bool top = false;
    bool right = false;
    bool bottom = false;
};

Edges NearEdges(const PixRect &rect, QPoint pt)
{
    const auto near = [](int a, int b) {
        return std::abs(a - b) <= CViewInteraction::EdgeTolerance;
    };
    return {near(pt.x(), rect.left), near(pt.y(), rect.top), near(pt.x(), rect.right),
            near(pt.y(), rect.bottom)};
}

int ModeForEdges(const Edges &e)
{
    using I = CViewInteraction;
    if (e.left && e.top)
        return I::DragTopLeft;
    if (e.right && e.top)
        return I::DragTopRight;
    if (e.right && e.bottom)
        return I::DragBottomRight;
    if (e.left && e.bottom)
        return I::DragBottomLeft;
    if (e.left)
        return I::DragLeft;
    if (e.top)
        return I::DragTop;
    if (e.right)
        return I::DragRight;
    if (e.bottom)
        return I::DragBottom;
    return I::Move;
}

// Which edges a mode pulls; a move takes all four.
bool MovesLeft(int mode)
{
    using I = CViewInteraction;
    return mode == I::DragTopLeft || mode == I::DragBottomLeft || mode == I::DragLeft
            || mode == I::Move;
}

bool MovesTop(int mode)
{
    using I = CViewInteraction;
    return mode == I::DragTopLeft || mode == I::DragTop || mode == I::DragTopRight
            || mode == I::Move;
}

bool MovesRight(int mode)
{
    using I = CViewInteraction;
    return mode == I::DragTopRight || mode == I::DragRight || mode == I::DragBottomRight
            || mode == I::Move;
}

bool MovesBottom(int mode)
{
    using I = CViewInteraction;
    return mode == I::DragBottomRight || mode == I::DragBottom || mode == I::DragBottomLeft
            || mode == I::Move;
}

// To the nearest multiple of the grid step: a remainder below half a step rounds down.
int RoundToGrid(int v)
{
    const int step = CViewInteraction::GridStep;
    const int remainder = v % step;
    return remainder < step / 2 ? v - remainder : v - remainder + step;
}

QString T(const char *text)
{
    return QCoreApplication::translate("Vantel", text);
}

int ToInt(qint64 v)
{
    return int(std::clamp<qint64>(v, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

CViewInteraction::ModelRect RectOf(const CVornItem &item)
{
    return {item.GetLeft(), item.GetTop(), item.GetRight(), item.GetBottom()};
}

// Mode and kind of each insertion mode; modes 12, 13 and 15 insert nothing.
struct InsertMode
{
    int mode;
    int kind;
};

constexpr InsertMode InsertModes[] = {
        {10, VornKind::ReportHeader}, {11, VornKind::PageHeader},   {14, VornKind::ReportContents},
        {16, VornKind::PageFooter},   {17, VornKind::ReportFooter}, {18, VornKind::Text},
        {19, VornKind::Shape},        {20, VornKind::DbText},       {21, VornKind::Image},
        {22, VornKind::DbImage},      {23, VornKind::Barcode},      {24, VornKind::DbBarcode},
};

bool IsInsertableBandKind(int kind)
{
    return kind >= VornKind::ReportContents && kind <= VornKind::PageFooter;
}

} // namespace

CViewInteraction::CViewInteraction(CVornDocument &document, const CPageGeometry &geometry,
                                   State &state)
    : m_document(document)
    , m_geometry(geometry)
    , m_state(state)
{ }

int CViewInteraction::ModeForKind(int kind)
{
    for (const InsertMode &entry : InsertModes) {
        if (entry.kind == kind)
            return entry.mode;
    }
    return Idle;
}

int CViewInteraction::KindForMode(int mode)
{
    for (const InsertMode &entry : InsertModes) {
        if (entry.mode == mode)
            return entry.kind;
    }
    return VornKind::None;
}

CVornReport &CViewInteraction::Report() const
{
    return m_document.GetReport();
}

bool CViewInteraction::IsGridOn() const
{
    return m_document.IsGridOn();
}

void CViewInteraction::MarkModified(Result &result)
{
    result.modified = true;
}

PixRect CViewInteraction::ToClient(const PixRect &view) const
{
    const QPoint scroll = m_geometry.GetScroll();
    return view.Offset(-scroll.x(), -scroll.y());
}

int CViewInteraction::BandIndexOf(const CVornElement *element) const
{
    if (!element)
        return -1;
    // By identity: items of different bands may share a name.
    const auto &bands = Report().GetBands();
    for (int i = 0; i < bands.GetCount(); ++i) {
        const CVornBand *band = bands[i];
        if (band == element)
            return i;
        for (const CVornItem *item : band->GetItems()) {
            if (item == element)
                return i;
        }
    }
    return -1;
}

qint64 CViewInteraction::BandTopInModel(int bandIndex) const
{
    qint64 sum = 0;
    const auto &bands = Report().GetBands();
    for (int i = 0; i < bandIndex; ++i)
        sum += bands[i]->GetEffectiveHeight();
    return sum;
}

// ---------------------------------------------------------------------------------------------
// Events

CViewInteraction::Result CViewInteraction::OnLeftButtonDown(QPoint pt)
{
    Result result;
    const int mode = m_state.m_mode;
    if (mode == Idle) {
        const CVornElement *hit = HitTest(pt, false);
        if (hit && hit->IsSelected())
            BeginDrag(pt);
        else
            result = SelectAt(pt);
        m_state.m_lastX = pt.x();
        m_state.m_lastY = pt.y();
    } else if (mode >= FirstInsertMode && mode <= LastInsertMode) {
        result = InsertAt(pt, KindForMode(mode));
    }
    return result;
}

CViewInteraction::Result CViewInteraction::OnMouseMove(QPoint pt)
{
    const int mode = m_state.m_mode;
    if (mode == Idle) {
        Result result;
        result.cursor = UpdateCursor(pt);
        return result;
    }
    if (mode >= DragTopLeft && mode <= Move)
        return DragTo(pt);
    return {};
}

void CViewInteraction::OnLeftButtonUp(State &state)
{
    state.m_mode = Idle;
    state.m_dragItem = nullptr;
    state.m_lastX = -1;
    state.m_lastY = -1;
}

CViewInteraction::Result CViewInteraction::OnKeyDown(int key, bool shift, bool ctrl)
{
    CVornElement *selected = Report().FindFirstSelected();
    const int sx = ctrl ? GridKeyStepX() : KeyStepX();
    const int sy = ctrl ? GridKeyStepY() : KeyStepY();
    const auto step = [&](int dx, int dy) {
        return shift ? ResizeByKeys(selected, dx, dy) : MoveByKeys(selected, dx, dy);
    };
    switch (key) {
    case Qt::Key_Left:
        return step(-sx, 0);
    case Qt::Key_Right:
        return step(sx, 0);
    case Qt::Key_Up:
        return step(0, -sy);
    case Qt::Key_Down:
        return step(0, sy);
    case Qt::Key_Delete:
        return DeleteSelected(selected);
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        Result result;
        result.focusMainProperty = true;
        return result;
    }
    default:
        return {};
    }
}

// ---------------------------------------------------------------------------------------------
// Hit testing and selection

CVornElement *CViewInteraction::HitTest(QPoint pt, bool selectedOnly) const
{
    const auto &bands = Report().GetBands();
    const int count = std::min(bands.GetCount(), m_geometry.GetBandCount());
    int hitBand = -1;
    PixRect bandRect;
    for (int i = 0; i < count; ++i) {
        bandRect = m_geometry.GetBandRect(i);
        if (bandRect.Contains(pt.x(), pt.y())) {
            hitBand = i;
            break;
        }
    }
    if (hitBand < 0)
        return nullptr;
    CVornBand *band = bands[hitBand];
    if (selectedOnly && band->IsSelected())
        return band;

    // Shapes first, then the other items, as they are drawn: a later hit lies on top.
    CVornElement *hit = nullptr;
    for (const bool shapes : {true, false}) {
        for (CVornItem *item : band->GetItems()) {
            if ((item->GetKind() == VornKind::Shape) != shapes)
                continue;
            if (!m_geometry.GetItemPixelRect(*item, bandRect).Contains(pt.x(), pt.y()))
                continue;
            if (selectedOnly) {
                if (item->IsSelected())
                    return item;
                continue;
            }
            hit = item;
        }
    }
    if (selectedOnly)
        return nullptr;
    return hit ? hit : band;
}

CViewInteraction::Result CViewInteraction::SelectAt(QPoint pt)
{
    return SelectItem(HitTest(pt, false));
}

CViewInteraction::Result CViewInteraction::SelectItem(CVornElement *element)
{
    Report().DeselectAll();
    if (element)
        element->SetSelected(true);
    Result result;
    result.showProperties = true;
    result.propertiesObject = element;
    result.repaintAll = true;
    return result;
}

// ---------------------------------------------------------------------------------------------
// Dragging

void CViewInteraction::BeginDrag(QPoint pt)
{
    CVornElement *element = HitTest(pt, true);
    if (!element)
        return;
    m_state.m_mode = ModeForEdges(NearEdges(m_geometry.GetItemPixelRect(element), pt));
    m_state.m_dragItem = element;
    // Every step of this drag merges into one undo step.
    ++m_state.m_dragSerial;
    if (const auto *item = dynamic_cast<const CVornItem *>(element)) {
        m_state.m_dragStart = RectOf(*item);
    } else {
        const auto *band = static_cast<const CVornBand *>(element);
        m_state.m_dragStart = {0, 0, Report().GetPageWidth(), band->GetEffectiveHeight()};
    }
}

CViewInteraction::Cursor CViewInteraction::UpdateCursor(QPoint pt) const
{
    const CVornElement *element = HitTest(pt, true);
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

CViewInteraction::Result CViewInteraction::DragTo(QPoint pt)
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
    const qint64 pageHeight = Report().GetPageHeight();
    const ModelRect bandArea {0, bandTop, pageWidth, bandTop + band->GetEffectiveHeight()};
    const ModelRect original = item ? RectOf(*item).Offset(0, bandTop) : bandArea;
    // An edge is placed where the pointer is, against the rectangle the drag began with. A
    // band's top is not stored (its band above decides it), so measuring a top-edge drag
    // against the band as it is now would shorten it again on every move.
    ModelRect wr = mode == Move ? original : m_state.m_dragStart.Offset(0, bandTop);

    double zoom = 1.0;
    const PixRect page = m_geometry.GetPageRect(&zoom);
    const bool grid = IsGridOn();
    const int px = (grid ? GridAdvance(pt.x(), m_state.m_lastX) : pt.x()) - page.left;
    const int py = (grid ? GridAdvance(pt.y(), m_state.m_lastY) : pt.y()) - page.top;
    const qint64 mx = m_geometry.PixelsToModelX(px, zoom);
    const qint64 my = m_geometry.PixelsToModelY(py, zoom);
    if (mx < 0 || my < 0 || mx >= pageWidth || my >= pageHeight)
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
        // Pushed back into the band; for an item larger than its band the right and bottom
        // edges win.
        if (wr.left < bandArea.left)
            wr = wr.Offset(bandArea.left - wr.left, 0);
        if (wr.right > bandArea.right)
            wr = wr.Offset(bandArea.right - wr.right, 0);
        if (wr.top < bandArea.top)
            wr = wr.Offset(0, bandArea.top - wr.top);
        if (wr.bottom > bandArea.bottom)
            wr = wr.Offset(0, bandArea.bottom - wr.bottom);
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
    if (grid) {
        wr = SnapRectToGrid(wr, bandTop);
        const bool unchanged = item ? wr == RectOf(*item) : wr.bottom - wr.top == band->GetHeight();
        if (unchanged)
            return result;
    }

    CReportEdit edit(m_document, mode == Move ? T("Move") : T("Resize"));
    edit.SetMergeTag(QStringLiteral("drag %1").arg(m_state.m_dragSerial));
    if (item) {
        edit.WillChange(item);
        item->SetRect(ToInt(wr.left), ToInt(wr.top), ToInt(wr.right), ToInt(wr.bottom));
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
    // converted to pixels and back, so that the others keep their exact model values.
    const int mode = m_state.m_mode;
    const double zoom = m_geometry.GetZoom();
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

// ---------------------------------------------------------------------------------------------
// Insertion

CViewInteraction::Result CViewInteraction::InsertAt(QPoint pt, int kind)
{
    Result result;
    const bool bandKind = IsInsertableBandKind(kind);
    if (!bandKind && !IsItemKind(kind))
        return result;
    double zoom = 1.0;
    const PixRect page = m_geometry.GetPageRect(&zoom);
    if (!page.Contains(pt.x(), pt.y()))
        return result;

    const int host = BandIndexOf(HitTest(pt, false));
    ModelRect rect;
    if (host >= 0) {
        const int height = kind == VornKind::Shape ? NewShapeHeight : NewItemHeight;
        PixRect r {pt.x(), pt.y(), pt.x() + NewItemWidth, pt.y() + height};
        if (IsGridOn())
            r = {RoundToGrid(r.left), RoundToGrid(r.top), RoundToGrid(r.right),
                 RoundToGrid(r.bottom)};
        // Cut to the band. Clamping each edge equals the intersection whenever the two meet,
        // and keeps the item on the band when rounding took it just past a very thin one.
        const PixRect b = m_geometry.GetBandRect(host);
        r = {std::clamp(r.left, b.left, b.right), std::clamp(r.top, b.top, b.bottom),
             std::clamp(r.right, b.left, b.right), std::clamp(r.bottom, b.top, b.bottom)};
        rect = {m_geometry.PixelsToModelX(r.left - page.left, zoom),
                m_geometry.PixelsToModelY(r.top - b.top, zoom),
                m_geometry.PixelsToModelX(r.right - page.left, zoom),
                m_geometry.PixelsToModelY(r.bottom - b.top, zoom)};
    }

    CVornReport &report = Report();
    // Made before the selection changes, so that an undo selects what was selected.
    CReportEdit edit(m_document, T("Insert"));
    report.DeselectAll();
    if (bandKind) {
        auto band = std::make_unique<CVornBand>(kind, report.MakeUniqueName(kind));
        band->SetHeight(NewBandHeight);
        band->SetSelected(true);
        CVornBand *added = edit.InsertBand(BandInsertIndex(kind), std::move(band));
        result.repaintAll = true;
        result.showProperties = true;
        result.propertiesObject = added;
        MarkModified(result);
        return result;
    }
    // No band under the point: nothing is inserted, but the cleared selection is shown.
    result.repaintAll = true;
    if (host < 0)
        return result;

    CVornBand *band = report.GetBands()[host];
    std::unique_ptr<CVornItem> item = CreateItem(kind);
    item->SetRect(ToInt(rect.left), ToInt(rect.top), ToInt(rect.right), ToInt(rect.bottom));
    item->SetName(report.MakeUniqueName(kind));
    item->SetSelected(true);
    if (kind == VornKind::Text) {
        static_cast<CVornText *>(item.get())
                ->SetText(QCoreApplication::translate("Vantel", "Some text here"));
    } else if (kind == VornKind::DbText) {
        static_cast<CVornDbText *>(item.get())->SetDataSource(band->GetName());
    }
    CVornItem *added = edit.InsertItem(band, band->GetItems().GetCount(), std::move(item));
    result.showProperties = true;
    result.propertiesObject = added;
    MarkModified(result);
    return result;
}

int CViewInteraction::BandInsertIndex(int kind) const
{
    return BandInsertIndex(Report(), kind);
}

int CViewInteraction::BandInsertIndex(const CVornReport &report, int kind)
{
    const auto &bands = report.GetBands();
    const int n = bands.GetCount();
    const auto kindAt = [&bands](int i) {
        return bands[i]->GetKind();
    };
    const auto isFooter = [](int k) {
        return k == VornKind::ReportFooter || k == VornKind::PageFooter;
    };
    switch (kind) {
    case VornKind::ReportContents:
        for (int i = 0; i < n; ++i) {
            if (isFooter(kindAt(i)))
                return i;
        }
        return n;
    case VornKind::ReportFooter:
        for (int i = n - 1; i >= 0; --i) {
            if (!isFooter(kindAt(i)))
                return i + 1;
        }
        return n;
    case VornKind::PageHeader: {
        int i = 0;
        while (i < n && kindAt(i) == VornKind::PageHeader)
            ++i;
        return i;
    }
    case VornKind::ReportHeader: {
        // Page headers first, then the report headers, then everything else.
        int i = 0;
        while (i < n && kindAt(i) == VornKind::PageHeader)
            ++i;
        while (i < n && kindAt(i) == VornKind::ReportHeader)
            ++i;
        return i;
    }
    default:
        return n;
    }
}

CViewInteraction::Result CViewInteraction::InsertPageBreak()
{
    Result result;
    CVornReport &report = Report();
    auto &bands = report.GetBands();
    const int after = BandIndexOf(report.FindFirstSelected());
    const int index = after >= 0 ? after + 1 : bands.GetCount();
    auto band = std::make_unique<CVornBand>(VornKind::PageBreak,
                                            report.MakeUniqueName(VornKind::PageBreak));
    // Made before the selection changes, so that an undo selects what was selected.
    CReportEdit edit(m_document, T("Insert Page Break"));
    report.DeselectAll();
    band->SetSelected(true);
    CVornBand *added = edit.InsertBand(index, std::move(band));
    result.repaintAll = true;
    result.showProperties = true;
    result.propertiesObject = added;
    MarkModified(result);
    return result;
}

// ---------------------------------------------------------------------------------------------
// Keyboard

int CViewInteraction::KeyStepX() const
{
    return int(double(2540 / m_geometry.DpiX()) / m_geometry.GetZoom());
}

int CViewInteraction::KeyStepY() const
{
    return int(double(2540 / m_geometry.DpiY()) / m_geometry.GetZoom());
}

int CViewInteraction::GridKeyStepX() const
{
    return m_geometry.PixelsToModelX(GridStep, m_geometry.GetZoom());
}

int CViewInteraction::GridKeyStepY() const
{
    return m_geometry.PixelsToModelY(GridStep, m_geometry.GetZoom());
}

PixRect CViewInteraction::BandRepaintArea(int bandIndex) const
{
    PixRect area = m_geometry.GetBandRect(bandIndex);
    area = {area.left - RepaintMargin, area.top - RepaintMargin, area.right + RepaintMargin,
            area.bottom + RepaintMarginBelow};
    return ToClient(area);
}

CViewInteraction::Result CViewInteraction::MoveByKeys(CVornElement *element, int dx, int dy)
{
    Result result;
    auto *item = dynamic_cast<CVornItem *>(element);
    const int bandIndex = BandIndexOf(item);
    if (!item || bandIndex < 0)
        return result;
    const CVornBand *band = Report().GetBands()[bandIndex];
    const ModelRect moved = RectOf(*item).Offset(dx, dy);
    if (moved.top >= 0 && moved.bottom <= band->GetEffectiveHeight() && moved.left >= 0
        && moved.right <= Report().GetPageWidth()) {
        CReportEdit edit(m_document, T("Move"));
        // Presses of one key on one object add up to one undo step.
        edit.SetMergeTag(QStringLiteral("move %1 %2").arg(dx).arg(dy));
        edit.WillChange(item);
        item->SetRect(ToInt(moved.left), ToInt(moved.top), ToInt(moved.right), ToInt(moved.bottom));
        edit.Commit();
        MarkModified(result);
        result.repaintAreas.push_back(BandRepaintArea(bandIndex));
    }
    result.showProperties = true;
    result.propertiesObject = item;
    return result;
}

CViewInteraction::Result CViewInteraction::ResizeByKeys(CVornElement *element, int dx, int dy)
{
    Result result;
    const int bandIndex = BandIndexOf(element);
    if (bandIndex < 0)
        return result;
    CVornReport &report = Report();
    CVornBand *band = report.GetBands()[bandIndex];
    const qint64 bandHeight = band->GetEffectiveHeight();

    if (element == band) {
        const qint64 height = bandHeight + dy;
        const qint64 others = report.SumAllBandHeights() - bandHeight;
        if (height <= 0 || height + others > report.GetPageHeight())
            return result;
        CReportEdit edit(m_document, T("Resize"));
        edit.SetMergeTag(QStringLiteral("resize %1 %2").arg(dx).arg(dy));
        edit.WillChange(band);
        band->SetHeight(ToInt(height));
        edit.Commit();
        MarkModified(result);
        result.repaintAll = true;
        result.showProperties = true;
        result.propertiesObject = band;
        return result;
    }

    auto *item = dynamic_cast<CVornItem *>(element);
    if (!item)
        return result;
    const qint64 right = qint64(item->GetRight()) + dx;
    qint64 bottom = qint64(item->GetBottom()) + dy;
    // An item taller than its band ends at the band's bottom.
    if (bottom - item->GetTop() > bandHeight)
        bottom = bandHeight;
    const bool refused = bottom - item->GetTop() <= 0 || right - item->GetLeft() <= 0
            || bottom > bandHeight || right > report.GetPageWidth();
    if (!refused) {
        CReportEdit edit(m_document, T("Resize"));
        edit.SetMergeTag(QStringLiteral("resize %1 %2").arg(dx).arg(dy));
        edit.WillChange(item);
        item->SetRight(ToInt(right));
        item->SetBottom(ToInt(bottom));
        edit.Commit();
        MarkModified(result);
        result.repaintAreas.push_back(ToClient(m_geometry.GetBandRect(bandIndex)));
    }
    result.showProperties = true;
    result.propertiesObject = item;
    return result;
}

// ---------------------------------------------------------------------------------------------
// Deletion

CVornElement *CViewInteraction::NextSelectionAfterDelete(const CVornElement *element) const
{
    const int bandIndex = BandIndexOf(element);
    if (bandIndex < 0)
        return nullptr;
    const auto &bands = Report().GetBands();
    CVornBand *band = bands[bandIndex];
    if (element == band) {
        if (bandIndex + 1 < bands.GetCount())
            return bands[bandIndex + 1];
        return bandIndex > 0 ? bands[bandIndex - 1] : nullptr;
    }
    const auto &items = band->GetItems();
    const int index = items.IndexOf(static_cast<const CVornItem *>(element));
    if (index + 1 < items.GetCount())
        return items[index + 1];
    if (index > 0)
        return items[index - 1];
    return band;
}

CViewInteraction::Result CViewInteraction::DeleteSelected(CVornElement *element,
                                                          const QString &text)
{
    const int bandIndex = BandIndexOf(element);
    if (bandIndex < 0)
        return {};
    CVornElement *next = NextSelectionAfterDelete(element);
    PixRect bandArea;
    if (element != Report().GetBands()[bandIndex])
        bandArea = ToClient(m_geometry.GetBandRect(bandIndex));
    // The object goes into the history, which keeps it for an undo; the Properties pane may
    // still point at it until it is asked for the next selection.
    CReportEdit edit(m_document, text.isEmpty() ? T("Delete") : text);
    edit.Delete(element);
    // A drag in progress must not reach the removed object.
    m_state.m_dragItem = nullptr;

    Result result = SelectItem(next);
    edit.Commit();
    if (!bandArea.IsEmpty())
        result.repaintAreas.push_back(bandArea);
    MarkModified(result);
    return result;
}
