#include "viewinteraction.h"

#include "interactionrules.h"
#include "itemkinds.h"
#include "reportedit.h"
#include "vorndocument.h"
#include "vornitems.h"
#include "vornreport.h"

using namespace InteractionRules;

namespace {

// Mode and kind of each band's insertion mode; modes 12 and 13 insert nothing, and each item
// kind names its own mode.
struct InsertMode
{
    int mode;
    int kind;
};

constexpr InsertMode BandInsertModes[] = {
        {10, VornKind::ReportHeader}, {11, VornKind::PageHeader}, {14, VornKind::ReportContents},
        {15, VornKind::PageBreak},    {16, VornKind::PageFooter}, {17, VornKind::ReportFooter},
};

} // namespace

CViewInteraction::CViewInteraction(CVornDocument &document, const CPageGeometry &geometry,
                                   State &state)
    : m_document(document)
    , m_geometry(geometry)
    , m_state(state)
    , m_wasRunning(state.m_running)
{
    m_state.m_running = true;
}

CViewInteraction::~CViewInteraction()
{
    m_state.m_running = m_wasRunning;
}

int CViewInteraction::ModeForKind(int kind)
{
    for (const InsertMode &entry : BandInsertModes) {
        if (entry.kind == kind)
            return entry.mode;
    }
    if (const CItemKind *item = FindItemKind(kind))
        return item->look.insertMode;
    return Idle;
}

int CViewInteraction::KindForMode(int mode)
{
    for (const InsertMode &entry : BandInsertModes) {
        if (entry.mode == mode)
            return entry.kind;
    }
    for (const CItemKind &item : ItemKinds()) {
        if (item.look.insertMode == mode)
            return item.code;
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

// Events; the other files of CViewInteraction hold the rules they call on.

CViewInteraction::Result CViewInteraction::OnLeftButtonDown(QPoint pt,
                                                            Qt::KeyboardModifiers modifiers)
{
    Result result;
    const int mode = m_state.m_mode;
    if (IsInsertMode(mode))
        return InsertAt(pt, KindForMode(mode));
    if (mode != Idle)
        return result;
    m_state.m_lastX = pt.x();
    m_state.m_lastY = pt.y();
    m_state.m_guides.clear();

    CVornElement *hit = HitTest(pt, false);
    const bool adding = modifiers & (Qt::ShiftModifier | Qt::ControlModifier);
    const auto beginRect = [&](bool adds) {
        m_state.m_mode = SelectRect;
        m_state.m_rectFrom = pt;
        m_state.m_rectTo = pt;
        m_state.m_rectAdds = adds;
    };
    if (adding) {
        // Items join the selection; a press anywhere else starts a rectangle that adds.
        if (hit && !hit->IsBandElement())
            return AddToSelection(hit, modifiers.testFlag(Qt::ControlModifier));
        beginRect(true);
        return result;
    }

    // The outer half of a selected item's handle belongs to the item, not to what lies under it.
    CVornElement *grabbed = hit && hit->IsSelected() ? hit : SelectedEdgeAt(pt);
    if (grabbed) {
        CVornReport &report = Report();
        if (!grabbed->IsBandElement() && report.FindFirstSelected() != grabbed) {
            // The item clicked last becomes the primary one.
            report.Select(grabbed, true);
            result.repaintAll = true;
            result.showProperties = true;
            result.propertiesObject = grabbed;
        }
        BeginDrag(grabbed, pt);
        // Pulling a band's side or its inside changes nothing: that draws a rectangle instead.
        if (grabbed->IsBandElement()
            && (m_state.m_mode == Move || m_state.m_mode == DragLeft
                || m_state.m_mode == DragRight)) {
            m_state.m_dragItem = nullptr;
            beginRect(false);
        }
        return result;
    }
    result = SelectAt(pt);
    // Where no item lies, the press goes on as a selection rectangle; on an item it goes on
    // as a move of it, in one gesture (it showed no handles to pull).
    if (!hit || hit->IsBandElement()) {
        beginRect(false);
    } else {
        BeginDrag(hit, pt);
        m_state.m_mode = Move;
    }
    return result;
}

CViewInteraction::Result CViewInteraction::OnMouseMove(QPoint pt, Qt::KeyboardModifiers modifiers)
{
    const int mode = m_state.m_mode;
    if (mode == Idle) {
        Result result;
        result.cursor = UpdateCursor(pt);
        return result;
    }
    if (mode >= DragTopLeft && mode <= Move)
        return DragTo(pt, !modifiers.testFlag(Qt::AltModifier));
    if (mode == SelectRect && pt != m_state.m_rectTo) {
        m_state.m_rectTo = pt;
        Result result;
        result.repaintAll = true;
        return result;
    }
    return {};
}

CViewInteraction::Result CViewInteraction::OnLeftButtonUp(QPoint pt)
{
    Result result;
    const int mode = m_state.m_mode;
    if (mode == SelectRect) {
        m_state.m_rectTo = pt;
        // A press without a move is a click: the press has selected already, unless it added.
        if (m_state.m_rectTo != m_state.m_rectFrom)
            result = SelectInRect(m_state.m_rectFrom, m_state.m_rectTo, m_state.m_rectAdds);
        else if (CVornElement *band = m_state.m_rectAdds ? HitTest(pt, false) : nullptr)
            result = SelectItem(band);
        result.repaintAll = true;
    }
    if (!m_state.m_guides.empty()) {
        m_state.m_guides.clear();
        result.repaintAll = true;
    }
    const bool stays = m_state.m_sticky && IsInsertMode(mode);
    if (!stays) {
        m_state.m_mode = Idle;
        m_state.m_sticky = false;
        result.returnToPointer = true;
    }
    m_state.m_dragItem = nullptr;
    m_state.m_lastX = -1;
    m_state.m_lastY = -1;
    return result;
}

CViewInteraction::Result CViewInteraction::OnKeyDown(int key, bool shift, bool ctrl)
{
    CVornElement *selected = Report().FindFirstSelected();
    const std::vector<CVornItem *> items = Report().GetSelectedItems();
    const int sx = ctrl ? GridKeyStepX() : KeyStepX();
    const int sy = ctrl ? GridKeyStepY() : KeyStepY();
    const auto step = [&](int dx, int dy) {
        if (items.size() > 1)
            return shift ? ResizeItemsByKeys(items, dx, dy) : MoveItemsByKeys(items, dx, dy);
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
        return items.size() > 1 ? DeleteItems(items) : DeleteSelected(selected);
    case Qt::Key_Escape: {
        if (IsInsertMode(m_state.m_mode)) {
            Result result;
            m_state.m_mode = Idle;
            m_state.m_sticky = false;
            result.returnToPointer = true;
            return result;
        }
        return selected ? SelectItem(nullptr) : Result();
    }
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
