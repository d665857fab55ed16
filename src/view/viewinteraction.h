#pragma once

#include "pagegeometry.h"
#include "pixrect.h"

#include <QPoint>
#include <QString>
#include <Qt>

#include <memory>
#include <vector>

class CReportEdit;
class CVornBand;
class CVornDocument;
class CVornElement;
class CVornItem;
class CVornReport;

// What the design view does under the mouse and the keyboard: hit testing, selection (of one band,
// or of any number of items with a primary one), dragging an object's edges or the selected
// items, the selection rectangle, guides while dragging, insertion of new bands and items, key
// steps and deletion. The rules are plain code on the document's report, a page geometry of the
// moment and the view's interaction state; nothing here touches a widget. Every change of the
// model is one step on the document's undo stack (a whole drag, and repeated presses of one arrow
// key on one selection, merge into one), and each operation returns what the widget still has
// to do: repaint, ask the Properties pane for an object, set a cursor.
//
// An interaction object is made for one event, like the geometry it works on: after a band has
// been inserted or removed the geometry no longer matches the report.
class CViewInteraction
{
public:
    // Interaction modes of the view.
    enum Mode : int {
        Idle = 0,
        DragTopLeft = 1,
        DragTop = 2,
        DragTopRight = 3,
        DragRight = 4,
        DragBottomRight = 5,
        DragBottom = 6,
        DragBottomLeft = 7,
        DragLeft = 8,
        Move = 9,
        // 10 to 24 insert one object of a kind (see KindForMode); a kind added later takes a
        // mode of its own from 100 up.
        FirstInsertMode = 10,
        // Drawing a selection rectangle.
        SelectRect = 25,
    };

    // A pixel counts as near an edge within this distance.
    static constexpr int EdgeTolerance = 3;
    static constexpr int GridStep = 10;
    // Margins around a changed item that also cover its selection handles.
    static constexpr int RepaintMargin = 18;
    static constexpr int RepaintMarginBelow = 60;
    // Default size of a new item in view pixels (its kind may make it taller), and of a new band.
    static constexpr int NewItemWidth = 150;
    static constexpr int NewItemHeight = 20;
    static constexpr int NewBandHeight = 1200;
    // A moved or resized item's edges snap to the lines of its band's other items this close.
    static constexpr int GuideTolerance = 4;

    // A rectangle in model units (hundredths of a millimetre). Wide enough that a band's
    // position on the page (the sum of the heights above it) cannot overflow.
    struct ModelRect
    {
        qint64 left = 0;
        qint64 top = 0;
        qint64 right = 0;
        qint64 bottom = 0;

        ModelRect Offset(qint64 dx, qint64 dy) const
        {
            return {left + dx, top + dy, right + dx, bottom + dy};
        }
        friend bool operator==(const ModelRect &, const ModelRect &) = default;
    };

    // A line a dragged item snapped to: vertical at x or horizontal at y, in the coordinates of
    // band `band` (model units), drawn across that band.
    struct Guide
    {
        int band = -1;
        bool vertical = false;
        qint64 position = 0;
        friend bool operator==(const Guide &, const Guide &) = default;
    };

    // The view's interaction fields. The view owns them; the rules read and change them.
    struct State
    {
        int m_mode = Idle;
        // Band or item being dragged; not owned.
        CVornElement *m_dragItem = nullptr;
        // Pointer position (view pixels) at the last button press or accepted drag step.
        int m_lastX = -1;
        int m_lastY = -1;
        // Counts the drags, so that the steps of one drag become one undo step.
        quint64 m_dragSerial = 0;
        // The dragged object's rectangle when the drag began, in its band's coordinates (a band
        // spans (0, 0, page width, height)). Edge drags are measured against it.
        ModelRect m_dragStart;
        // A moved item's rectangle where the pointer alone would put it (band coordinates): the
        // next step goes on from here, not from where a guide took the item, so that the item
        // leaves a guide as the pointer does.
        ModelRect m_dragFree;
        // An insertion mode that stays after each insertion, until Esc or the pointer.
        bool m_sticky = false;
        // The selection rectangle from the press to the pointer (view pixels), and whether it
        // adds to the selection the press left.
        QPoint m_rectFrom;
        QPoint m_rectTo;
        bool m_rectAdds = false;
        // The lines the last drag step snapped to, shown until the button is released.
        std::vector<Guide> m_guides;
        // While an interaction runs: the edits it makes say in its result what to repaint, so
        // the view need not repaint everything when the document tells of them.
        bool m_running = false;
    };

    // The pointer shape the widget should show.
    enum class Cursor {
        Unchanged, // leave the cursor as it is
        NoSizing, // back to the arrow if a sizing cursor is showing
        SizeNwSe, // diagonal, top-left to bottom-right
        SizeNeSw, // diagonal, top-right to bottom-left
        SizeHorizontal,
        SizeVertical,
    };

    // What the widget must do after an operation.
    struct Result
    {
        // Invalidate the whole view.
        bool repaintAll = false;
        // Areas to invalidate, in client coordinates.
        std::vector<PixRect> repaintAreas;
        // Paint the invalidated areas at once (a drag step follows the pointer).
        bool updateNow = false;
        // Ask the Properties pane for propertiesObject (null: the report).
        bool showProperties = false;
        CVornElement *propertiesObject = nullptr;
        // The model changed; the change is on the document's undo stack.
        bool modified = false;
        // Put the focus on the main row of the Properties pane.
        bool focusMainProperty = false;
        // The Elements toolbox goes back to its "Pointer" entry.
        bool returnToPointer = false;
        Cursor cursor = Cursor::Unchanged;
    };

    CViewInteraction(CVornDocument &document, const CPageGeometry &geometry, State &state);
    CViewInteraction(const CViewInteraction &) = delete;
    CViewInteraction &operator=(const CViewInteraction &) = delete;
    ~CViewInteraction();

    // A mode that moves or resizes an object under the pointer.
    static bool IsDragMode(int mode) { return mode >= DragTopLeft && mode <= Move; }
    // The insertion modes and the kinds they insert; other kinds give Idle, other modes 0.
    static int ModeForKind(int kind);
    static int KindForMode(int mode);
    static bool IsInsertMode(int mode) { return KindForMode(mode) != 0; }

    // Events, in view coordinates. Shift or Ctrl with a click adds items to the selection (Ctrl
    // takes a selected one out again); Alt while dragging turns the guides off.
    Result OnLeftButtonDown(QPoint pt, Qt::KeyboardModifiers modifiers = {});
    Result OnMouseMove(QPoint pt, Qt::KeyboardModifiers modifiers = {});
    // Every release of the left button ends a drag, a selection rectangle (selecting what it
    // touches) or an insertion: back to idle, unless the insertion mode is sticky.
    Result OnLeftButtonUp(QPoint pt);
    // A key press with Shift and Ctrl held or not; keys are Qt::Key values. Ctrl makes an
    // arrow key step by the grid step instead of one pixel. Esc leaves an insertion mode, or
    // else clears the selection.
    Result OnKeyDown(int key, bool shift, bool ctrl = false);

    // The band or item under the point: items above their band, any other item above the
    // Shapes, a later item above an earlier one. With selectedOnly only the selected object
    // counts (the selected band, or the first selected item hit). Null when the point is on
    // no band.
    CVornElement *HitTest(QPoint pt, bool selectedOnly) const;

    // Selects the object under the point (or nothing) and asks for its properties.
    Result SelectAt(QPoint pt);
    Result SelectItem(CVornElement *element);
    // Adds an item to the selection as its primary object (a band clicked this way is selected
    // alone); with toggle a selected item leaves the selection instead.
    Result AddToSelection(CVornElement *element, bool toggle);
    // Every item of the band that holds the selection; every item of the report when nothing
    // or a band is selected.
    Result SelectAll();
    // The items whose visible part touches a view rectangle (corners in any order, both
    // included), in report order.
    std::vector<CVornItem *> ItemsInRect(QPoint from, QPoint to) const;
    // Selects the items the rectangle touches; with add they join the selection.
    Result SelectInRect(QPoint from, QPoint to, bool add);

    // Starts dragging the selected object under the point: its corners and edges (within
    // EdgeTolerance) resize it, anywhere else moves it (with every other selected item). Nothing
    // when no selected object is hit.
    void BeginDrag(QPoint pt);
    void BeginDrag(CVornElement *element, QPoint pt);
    // The selected item with an edge or corner within EdgeTolerance of a point just outside it,
    // where the outer half of its handles lies; null when there is none.
    CVornElement *SelectedEdgeAt(QPoint pt) const;

    // The cursor for the point while idle: a sizing cursor on the edges and corners of the
    // selected item, the vertical one on the bottom edge of the selected band.
    Cursor UpdateCursor(QPoint pt) const;

    // One drag step to the pointer position, by the current mode. With guides (and the grid
    // off) a moved or resized item snaps to the lines of its band's other items.
    Result DragTo(QPoint pt, bool guides = true);

    // Rounds the edges the current mode moves to the 10-pixel lattice of the page; rect is in
    // the coordinates of a band whose top lies bandTop model units below the page top.
    ModelRect SnapRectToGrid(const ModelRect &rect, qint64 bandTop) const;

    // Inserts a band, or an item into the band under the point, of the kind given.
    Result InsertAt(QPoint pt, int kind);
    // Where a new band of the kind goes in the band list.
    int BandInsertIndex(int kind) const;
    static int BandInsertIndex(const CVornReport &report, int kind);
    // Inserts a Page Break band right after the band that holds the selection (the selected
    // band, or the band of the selected item), at the end when nothing is selected; it is
    // named like any new object and becomes the selection.
    Result InsertPageBreak();
    // Inserts a band of the kind where InsertAt would put it (a Page Break as InsertPageBreak
    // does), without a point on the page: the Insert menu.
    Result InsertBand(int kind);

    // The key step: one screen pixel in model units at the current zoom.
    int KeyStepX() const;
    int KeyStepY() const;
    // The Ctrl key step: one grid step (10 pixels) in model units at the current zoom.
    int GridKeyStepX() const;
    int GridKeyStepY() const;
    Result MoveByKeys(CVornElement *element, int dx, int dy);
    Result ResizeByKeys(CVornElement *element, int dx, int dy);
    // The same for several items as one step: refused for all when refused for one.
    Result MoveItemsByKeys(const std::vector<CVornItem *> &items, int dx, int dy);
    Result ResizeItemsByKeys(const std::vector<CVornItem *> &items, int dx, int dy);

    // Deletes the object (a band with the references to it, as one undo step) and selects its
    // neighbour. The history keeps the object.
    // The undo step is named text ("Delete" when empty).
    Result DeleteSelected(CVornElement *element, const QString &text = QString());
    // Deletes several items as one step and selects the neighbour of the first.
    Result DeleteItems(const std::vector<CVornItem *> &items, const QString &text = QString());
    // The object selected after this one is deleted: the next sibling, else the previous one,
    // else (for an item) its band. Siblings in `leaving`, deleted with it, are passed over.
    CVornElement *NextSelectionAfterDelete(const CVornElement *element,
                                           const std::vector<CVornItem *> &leaving = {}) const;

    // The band that holds an item (by identity), or the band itself; -1 when not in the report.
    int BandIndexOf(const CVornElement *element) const;

    // A rectangle of band coordinates pushed back into a band of that size, as a move is: first
    // the left and top edges, then the right and bottom ones (which win for a larger item).
    static ModelRect KeepInBand(const ModelRect &rect, qint64 width, qint64 height);
    static ModelRect RectOf(const CVornItem &item);

private:
    // Inserts a new band of the kind at index (past the end: the last), selected.
    Result AddBand(CReportEdit &edit, int kind, int index);
    CVornReport &Report() const;
    // Sum of the heights of the bands above band i (a Page Break counts 0).
    qint64 BandTopInModel(int bandIndex) const;
    // Whole-pixel pointer position relative to the page, stepped by the grid when it is on.
    int GridAdvance(int pos, int last) const;
    // How far down a drag may reach, in model units from the page top: the page, or no limit
    // when the bands run past the page.
    qint64 DragLimitY() const;
    // Snaps a dragged item (band coordinates) to the guides of its band; records what it
    // snapped to.
    ModelRect SnapToGuides(const ModelRect &rect, int bandIndex, const CVornItem &item);
    Result StepItemsByKeys(const std::vector<CVornItem *> &items, int dx, int dy, bool resize);
    // Cuts a shift of the selected items so that none of them leaves its band (one out of it
    // already goes no further out); true when it was cut.
    bool LimitSelectionShift(qint64 &dx, qint64 &dy) const;
    // Moves the other selected items by the dragged one's displacement.
    void MoveFollowers(CReportEdit &edit, const CVornItem &dragged, qint64 dx, qint64 dy);
    PixRect ToClient(const PixRect &view) const;
    // The area of a rectangle in page model units, in client pixels, grown by the margins.
    PixRect ItemRepaintArea(const ModelRect &pageRect) const;
    PixRect BandRepaintArea(int bandIndex) const;
    bool IsGridOn() const;
    void MarkModified(Result &result);

    CVornDocument &m_document;
    const CPageGeometry &m_geometry;
    State &m_state;
    bool m_wasRunning;
};
