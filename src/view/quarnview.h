#pragma once

#include "fieldplacement.h"
#include "pagegeometry.h"
#include "paintcache.h"
#include "tablechoice.h"
#include "viewinteraction.h"
#include "vornelement.h"

#include <QAbstractScrollArea>
#include <QCursor>
#include <QHash>

#include <functional>
#include <optional>

class CRulerBar;
struct CReportChange;
class CVornDocument;
class QAction;
class QMenu;

// The design surface: a scrolling view of the document's report as one printed page. It keeps
// no copy of the model; every paint reads the report afresh through a page geometry made for
// the moment (resolution of the viewport, its size, the scroll position) and the page painter.
// Mouse and key events go to the interaction rules (CViewInteraction), and the view carries
// out what they ask for: repaints, cursors, requests to the Properties pane. The view never
// calls the Properties pane; it asks for it through its signals.
class CQuarnView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    // document may be null: the view then draws nothing.
    explicit CQuarnView(CVornDocument *document, QWidget *parent = nullptr);

    CVornDocument *GetDocument() const { return m_document; }

    // Runs once a report has been created or opened: asks for the report's properties and
    // sets the scroll extent.
    void OnInitialUpdate();

    // Sets the total scroll size to the page (or the bands, when they run past it) at the
    // chosen zoom plus 40 pixels, read at the viewport's resolution, and the scroll bars from
    // it. Called when the zoom, the page size, the orientation or the bands change.
    void UpdateScrollSizes();

    // The zoom the user chose: a factor from 0.25 to 4, or CPageGeometry::FitWidth (the
    // default). GetZoom is the zoom the page is drawn at now.
    double GetZoomChoice() const { return m_zoomChoice; }
    double GetZoom() const;
    // A new zoom keeping the point under the client position where it is (the middle of the
    // client area when none is given).
    void SetZoom(double choice);
    void SetZoomAt(double choice, QPoint client);
    void ZoomIn();
    void ZoomOut();

    // Band captions: each band's name in a small tab inside its top-left corner.
    bool GetBandCaptions() const { return m_bandCaptions; }
    void SetBandCaptions(bool on);

    // The rulers along the top and the left, outside the viewport (so the page keeps its
    // pixels in it). Off until they are asked for.
    bool GetRulersVisible() const { return m_rulersShown; }
    void SetRulersVisible(bool on);
    CRulerBar *GetRuler(bool across) const { return across ? m_rulerAcross : m_rulerDown; }
    // The view rectangle that holds every selected object; empty when nothing is selected.
    PixRect GetSelectionExtent() const;

    // Selects a band or item (null: nothing), asks for its properties and scrolls it into
    // sight; as a click on it would, for objects that cannot be clicked as well.
    void SelectElement(CVornElement *element);
    // Edit > Select All: every item of the selection's band, or of the report.
    void SelectAll();
    // After a change of the selected objects made elsewhere (a Format command): repaints and
    // asks for the properties and the position of the primary object again.
    void ShowSelection();
    // The view's keys, from the view or from a pane that acts on the view's selection: arrows
    // move (Shift: resize; Ctrl: by a grid step), Delete deletes, Enter goes to the
    // Properties pane. False for a key the view does not handle.
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers);
    // Puts a Page Break band after the selected band (or the band of the selected item), or
    // at the end, and selects it.
    void InsertPageBreak();
    // Inserts a new band of the kind (the Insert menu).
    void InsertBand(int kind);

    // The text of the tooltip at a client point: the band or item under it and its kind.
    QString ToolTipAt(QPoint client) const;

    QSize GetTotalSize() const { return m_totalSize; }
    QPoint GetScrollPosition() const;

    // The geometry of this moment; valid until the report's bands change.
    CPageGeometry MakeGeometry() const;

    // The client area widened to the total scroll size, in view coordinates.
    PixRect GetDrawArea() const;
    // The page in view coordinates and the zoom it is drawn at.
    PixRect GetPageRect(double *zoom = nullptr) const;
    // The unclipped rectangle of a band (across the page) or an item, in view coordinates.
    PixRect GetItemPixelRect(const CVornElement *element) const;

    // The interaction mode: 0 idle, 1 to 9 dragging, 10 to 24 inserting one object.
    int GetMode() const { return m_state.m_mode; }
    void SetMode(int mode) { m_state.m_mode = mode; }
    // The Elements toolbox's choice: the insertion mode for a kind, idle for any other code.
    // A sticky mode stays after each insertion, until Esc or the pointer is chosen.
    void SetInsertKind(int kind, bool sticky = false);
    bool IsInsertSticky() const { return m_state.m_sticky; }
    // The interaction state: the selection rectangle and the guides are drawn from it.
    const CViewInteraction::State &GetInteractionState() const { return m_state; }

    // The pop-up "Edit" menu shown on a right click (which first selects the object under the
    // pointer unless it is selected already) or the context-menu key. It holds the commands
    // given here; until then, placeholders that do nothing. After them come Insert Page Break
    // and those of the layout commands that are enabled when the menu opens.
    QMenu *GetContextMenu() const { return m_contextMenu; }
    void SetContextMenuActions(const QList<QAction *> &actions);
    void SetLayoutActions(const QList<QAction *> &actions);

    // Puts one DB item per field on the band under the client point, side by side from there,
    // as one undo step; they become the selection and the first one is shown in the
    // Properties pane. False when the point is on no band.
    bool PlaceFields(QPoint client, const QList<CFieldChoice> &fields);
    // The next left click on a band places these fields (the Elements pane's page-number
    // entries); an empty list forgets them. Choosing an insertion kind does the same.
    void SetPendingFields(const QList<CFieldChoice> &fields) { m_pendingFields = fields; }
    const QList<CFieldChoice> &GetPendingFields() const { return m_pendingFields; }

    // Items to mark as having a problem: a small red corner, and the text added to the item's
    // tooltip. The program works them out; the view only shows them. Keys are compared, never
    // followed, so a mark of an item deleted meanwhile does no harm.
    void SetItemMarks(const QHash<const CVornItem *, QString> &marks);

    // Tables dragged from the Data pane's schema tree (TableChoice::MimeType) go to this
    // handler with the band under the pointer (-1 on the page below every band); it returns
    // whether it used them. Without one, the view takes no tables.
    using TableDropHandler = std::function<bool(int band, const CTableChoice &choice)>;
    void SetTableDropHandler(TableDropHandler handler) { m_tableDrop = std::move(handler); }
    const QHash<const CVornItem *, QString> &GetItemMarks() const { return m_itemMarks; }

    // Deletes the selected band or item as one undo step named text and selects its
    // neighbour. With confirm, a band that holds items is deleted only when the user agrees.
    // False when nothing was deleted.
    bool DeleteSelection(const QString &text, bool confirm);

signals:
    // The Properties pane should show this object; null shows the report.
    void showPropertiesRequested(CVornElement *element);
    // The Properties pane should put the focus on the main property of the object it shows.
    void focusMainPropertyRequested();
    // An insertion or drag ended; the Elements toolbox goes back to its "Pointer" entry.
    void returnedToPointer();
    // A drag or key step moved or resized the selected object.
    void elementGeometryChanged(CVornElement *element);
    // A press began to move or resize an object (true), or its button was released (false).
    void dragHeld(bool held);
    // The zoom choice or the zoom it gives changed.
    void zoomChanged();
    // The pointer moved over the view (view coordinates).
    void pointerMoved(QPoint view);

protected:
    // Asks whether to delete a band with its items; the question is shown in a message box.
    virtual bool ConfirmBandDeletion(const QString &question);

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    // Fields dragged from the Data pane (FieldChoice::MimeType) are dropped on a band.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void UpdateScrollBars();
    void LayoutRulers();
    void UpdateRulers();
    void OnReportChanged(const CReportChange &change);
    void OnReportReset();
    void CreateContextMenu();
    void RebuildContextMenu();
    void ShowContextMenu(QPoint globalPos);
    void SelectForContextMenu(QPoint client);
    // Carries out what the interaction rules asked for.
    void Apply(CViewInteraction::Result &result);
    void ApplyCursor(CViewInteraction::Cursor cursor);
    void SetScrollPosition(QPoint scroll);
    void EmitGeometryOfSelection(const CViewInteraction::Result &result);
    // The band under a client point, -1 for none.
    int BandAt(QPoint client) const;
    // Where a dragged table would go: the band under the point, -1 on the page below every
    // band, -2 off the page or when the view takes no tables.
    int TableTarget(const QMimeData *data, QPoint client) const;
    void PaintItemMarks(QPainter &painter, const CPageGeometry &geometry) const;

    CVornDocument *m_document;
    QSize m_totalSize;
    // Decoded pictures and text measurements, kept between paints.
    CPaintCache m_paintCache;

    // Interaction state (mode, dragged object, last pointer position), driven by the mouse
    // and keyboard handlers; the dragged object is cleared when the report is reset.
    CViewInteraction::State m_state;
    // The cursor in place before a sizing cursor was first set; empty when none is saved.
    std::optional<QCursor> m_savedCursor;
    QMenu *m_contextMenu = nullptr;
    TableDropHandler m_tableDrop;
    QAction *m_pageBreakAction = nullptr;
    QList<QAction *> m_menuActions;
    QList<QAction *> m_layoutActions;
    double m_zoomChoice = 1.0;
    // The zoom last announced, so that a resize that changes a fitted zoom is told too.
    double m_shownZoom = 0.0;
    // Wheel turns with Ctrl held, gathered until they make one notch.
    int m_wheelTurn = 0;
    bool m_bandCaptions = false;
    bool m_rulersShown = false;
    CRulerBar *m_rulerAcross = nullptr;
    CRulerBar *m_rulerDown = nullptr;
    QWidget *m_rulerCorner = nullptr;
    QList<CFieldChoice> m_pendingFields;
    QHash<const CVornItem *, QString> m_itemMarks;
};
