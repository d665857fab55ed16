#include "quarnview.h"

#include "elementtext.h"
#include "pagepainter.h"
#include "rulerbar.h"
#include "viewoverlay.h"
#include "vorndocument.h"
#include "vornkind.h"
#include "zoomsteps.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QResizeEvent>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>

CQuarnView::CQuarnView(CVornDocument *document, QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_document(document)
{
    // Keys reach the view once it has been clicked; the cursor follows the pointer over the
    // selected object without a button held.
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    CreateContextMenu();
    m_rulerAcross = new CRulerBar(this, true, this);
    m_rulerDown = new CRulerBar(this, false, this);
    m_rulerCorner = new QWidget(this);
    m_rulerCorner->setAutoFillBackground(true);
    m_rulerCorner->setBackgroundRole(QPalette::Button);
    for (QWidget *part : {static_cast<QWidget *>(m_rulerAcross),
                          static_cast<QWidget *>(m_rulerDown), m_rulerCorner})
        part->hide();
    if (!m_document)
        return;
    // Every paint covers the whole viewport; nothing needs erasing first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAcceptDrops(true);
    connect(m_document, &CVornDocument::changed, this, &CQuarnView::OnReportChanged);
    connect(m_document, &CVornDocument::gridChanged, this, [this] {
        viewport()->update();
        UpdateRulers();
    });
    connect(m_document, &CVornDocument::reportReset, this, &CQuarnView::OnReportReset);
}

void CQuarnView::OnInitialUpdate()
{
    emit showPropertiesRequested(nullptr);
    UpdateScrollSizes();
    viewport()->update();
}

void CQuarnView::OnReportChanged(const CReportChange &change)
{
    // An undo or redo in the middle of a drag ends it: the object may have left the report.
    if (change.Has(CReportChange::Replay)) {
        m_state.m_dragItem = nullptr;
        if (CViewInteraction::IsDragMode(m_state.m_mode)) {
            m_state.m_mode = CViewInteraction::Idle;
            emit dragHeld(false);
        }
    }
    // Bands that grow, shrink, come or go change the extent when they run past the page.
    UpdateScrollSizes();
    // The view's own edits repaint what they changed, as their results ask.
    if (!m_state.m_running) {
        viewport()->update();
        UpdateRulers();
    }
}

void CQuarnView::OnReportReset()
{
    // Every pointer into the old report is gone; the new report starts at the top left.
    m_state.m_dragItem = nullptr;
    m_itemMarks.clear();
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    OnInitialUpdate();
}

void CQuarnView::UpdateScrollSizes()
{
    if (m_document) {
        m_totalSize = CPageGeometry::TotalScrollSize(
                m_document->GetReport(), viewport()->logicalDpiX(), viewport()->logicalDpiY(),
                m_zoomChoice, viewport()->width());
    }
    UpdateScrollBars();
}

double CQuarnView::GetZoom() const
{
    return MakeGeometry().GetZoom();
}

void CQuarnView::SetZoom(double choice)
{
    const QSize client = viewport()->size();
    SetZoomAt(choice, QPoint(client.width() / 2, client.height() / 2));
}

void CQuarnView::SetZoomAt(double choice, QPoint client)
{
    const CPageGeometry before = MakeGeometry();
    m_zoomChoice = CPageGeometry::UsableZoomChoice(choice);
    // A fitted page is as wide as the viewport with its scroll bar: a bar that came and went
    // with the page's height would change the width it fits.
    setVerticalScrollBarPolicy(m_zoomChoice == CPageGeometry::FitWidth ? Qt::ScrollBarAlwaysOn
                                                                       : Qt::ScrollBarAsNeeded);
    UpdateScrollSizes();
    SetScrollPosition(MakeGeometry().ScrollKeepingPoint(before, client));
    viewport()->update();
    m_shownZoom = GetZoom();
    emit zoomChanged();
}

void CQuarnView::ZoomIn()
{
    SetZoom(ZoomSteps::Next(GetZoom()));
}

void CQuarnView::ZoomOut()
{
    SetZoom(ZoomSteps::Previous(GetZoom()));
}

void CQuarnView::SetBandCaptions(bool on)
{
    if (m_bandCaptions == on)
        return;
    m_bandCaptions = on;
    viewport()->update();
}

void CQuarnView::SetScrollPosition(QPoint scroll)
{
    horizontalScrollBar()->setValue(scroll.x());
    verticalScrollBar()->setValue(scroll.y());
}

void CQuarnView::UpdateScrollBars()
{
    // A page step of one viewport (which also sizes the slider) and a line step of a hundredth
    // of the extent.
    const QSize client = viewport()->size();
    QScrollBar *horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, m_totalSize.width() - client.width()));
    horizontal->setPageStep(std::max(1, client.width()));
    horizontal->setSingleStep(std::max(1, m_totalSize.width() / 100));
    QScrollBar *vertical = verticalScrollBar();
    vertical->setRange(0, std::max(0, m_totalSize.height() - client.height()));
    vertical->setPageStep(std::max(1, client.height()));
    vertical->setSingleStep(std::max(1, m_totalSize.height() / 100));
}

QPoint CQuarnView::GetScrollPosition() const
{
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

CPageGeometry CQuarnView::MakeGeometry() const
{
    static const CVornReport noReport;
    const CVornReport &report = m_document ? m_document->GetReport() : noReport;
    const QSize client = viewport()->size();
    return CPageGeometry(report, viewport()->logicalDpiX(), viewport()->logicalDpiY(),
                         {0, 0, client.width(), client.height()}, GetScrollPosition(), m_totalSize,
                         m_zoomChoice);
}

PixRect CQuarnView::GetDrawArea() const
{
    return MakeGeometry().GetDrawArea();
}

PixRect CQuarnView::GetPageRect(double *zoom) const
{
    return MakeGeometry().GetPageRect(zoom);
}

PixRect CQuarnView::GetItemPixelRect(const CVornElement *element) const
{
    return MakeGeometry().GetItemPixelRect(element);
}

void CQuarnView::paintEvent(QPaintEvent *event)
{
    if (!m_document)
        return;
    const CPageGeometry geometry = MakeGeometry();
    QPainter painter(viewport());
    // The page painter skips the items outside the painter's clip.
    painter.setClipRegion(event->region());
    // View coordinates include the scroll offset.
    painter.translate(-geometry.GetScroll());
    CPagePainter page(painter, geometry, m_document->GetReport(), m_document->IsGridOn(),
                      &m_paintCache);
    page.SetBandCaptions(m_bandCaptions);
    page.Paint();
    PaintItemMarks(painter, geometry);
    ViewOverlay::Paint(painter, geometry, m_state);
}

void CQuarnView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    LayoutRulers();
    // A fitted page follows the viewport's width.
    if (m_zoomChoice == CPageGeometry::FitWidth)
        UpdateScrollSizes();
    else
        UpdateScrollBars();
    // A fitted page may change its zoom with the window.
    if (m_document && GetZoom() != m_shownZoom) {
        m_shownZoom = GetZoom();
        emit zoomChanged();
    }
}

void CQuarnView::SetInsertKind(int kind, bool sticky)
{
    m_state.m_mode = CViewInteraction::ModeForKind(kind);
    m_state.m_sticky = sticky && m_state.m_mode != CViewInteraction::Idle;
    m_pendingFields = FieldChoice::ForElementsEntry(kind);
}

void CQuarnView::InsertPageBreak()
{
    if (!m_document)
        return;
    const CPageGeometry geometry = MakeGeometry();
    CViewInteraction interaction(*m_document, geometry, m_state);
    CViewInteraction::Result result = interaction.InsertPageBreak();
    Apply(result);
}

void CQuarnView::InsertBand(int kind)
{
    if (!m_document)
        return;
    const CPageGeometry geometry = MakeGeometry();
    CViewInteraction interaction(*m_document, geometry, m_state);
    CViewInteraction::Result result = interaction.InsertBand(kind);
    Apply(result);
}

void CQuarnView::SelectElement(CVornElement *element)
{
    if (!m_document)
        return;
    {
        const CPageGeometry geometry = MakeGeometry();
        CViewInteraction interaction(*m_document, geometry, m_state);
        CViewInteraction::Result result = interaction.SelectItem(element);
        Apply(result);
    }
    if (!element)
        return;
    // An inverted rectangle is shown by its corners all the same; the margin takes in the
    // selection handles.
    const CPageGeometry geometry = MakeGeometry();
    const PixRect r = geometry.GetItemPixelRect(element);
    const PixRect shown {std::min(r.left, r.right), std::min(r.top, r.bottom),
                         std::max(r.left, r.right), std::max(r.top, r.bottom)};
    SetScrollPosition(geometry.ScrollToShow(shown.Inflate(8, 8)));
}

void CQuarnView::SelectAll()
{
    if (!m_document)
        return;
    const CPageGeometry geometry = MakeGeometry();
    CViewInteraction interaction(*m_document, geometry, m_state);
    CViewInteraction::Result result = interaction.SelectAll();
    Apply(result);
}

void CQuarnView::ShowSelection()
{
    if (!m_document)
        return;
    CVornElement *primary = m_document->GetReport().FindFirstSelected();
    viewport()->update();
    emit showPropertiesRequested(primary);
    emit elementGeometryChanged(primary);
}

QString CQuarnView::ToolTipAt(QPoint client) const
{
    if (!m_document)
        return QString();
    const CPageGeometry geometry = MakeGeometry();
    CViewInteraction::State state = m_state;
    CViewInteraction interaction(*m_document, geometry, state);
    const CVornElement *hit = interaction.HitTest(geometry.ClientToView(client), false);
    QString text = ElementText::Describe(m_document->GetReport(), hit);
    if (hit && !IsBand(hit->GetKind())) {
        const auto mark = m_itemMarks.constFind(static_cast<const CVornItem *>(hit));
        if (mark != m_itemMarks.constEnd())
            text += QLatin1Char('\n') + *mark;
    }
    return text;
}

bool CQuarnView::ConfirmBandDeletion(const QString &question)
{
    return QMessageBox::question(this, tr("Vantel"), question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No)
            == QMessageBox::Yes;
}

bool CQuarnView::DeleteSelection(const QString &text, bool confirm)
{
    if (!m_document)
        return false;
    CVornElement *selected = m_document->GetReport().FindFirstSelected();
    if (!selected)
        return false;
    if (const auto *band = dynamic_cast<const CVornBand *>(selected);
        confirm && band && !band->GetItems().IsEmpty()) {
        const int count = band->GetItems().GetCount();
        const QString question = count == 1
                ? tr("Delete the band \"%1\" and its 1 item?").arg(band->GetName())
                : tr("Delete the band \"%1\" and its %2 items?").arg(band->GetName()).arg(count);
        if (!ConfirmBandDeletion(question))
            return false;
    }
    const CPageGeometry geometry = MakeGeometry();
    CViewInteraction interaction(*m_document, geometry, m_state);
    CViewInteraction::Result result = selected->IsBandElement()
            ? interaction.DeleteSelected(selected, text)
            : interaction.DeleteItems(m_document->GetReport().GetSelectedItems(), text);
    Apply(result);
    return result.modified;
}

void CQuarnView::Apply(CViewInteraction::Result &result)
{
    if (result.repaintAll || !result.repaintAreas.empty())
        UpdateRulers();
    // A drag step is painted at once so that what moves follows the pointer.
    if (result.repaintAll && result.updateNow) {
        viewport()->repaint();
    } else if (result.repaintAll) {
        viewport()->update();
    } else if (!result.repaintAreas.empty()) {
        QRegion region;
        for (const PixRect &area : result.repaintAreas)
            region += area.ToQRect();
        if (result.updateNow)
            viewport()->repaint(region);
        else
            viewport()->update(region);
    }
    if (result.showProperties)
        emit showPropertiesRequested(result.propertiesObject);
    if (result.focusMainProperty)
        emit focusMainPropertyRequested();
    if (result.returnToPointer)
        emit returnedToPointer();
}

void CQuarnView::ApplyCursor(CViewInteraction::Cursor cursor)
{
    Qt::CursorShape shape = Qt::ArrowCursor;
    switch (cursor) {
    case CViewInteraction::Cursor::SizeNwSe:
        shape = Qt::SizeFDiagCursor;
        break;
    case CViewInteraction::Cursor::SizeNeSw:
        shape = Qt::SizeBDiagCursor;
        break;
    case CViewInteraction::Cursor::SizeHorizontal:
        shape = Qt::SizeHorCursor;
        break;
    case CViewInteraction::Cursor::SizeVertical:
        shape = Qt::SizeVerCursor;
        break;
    case CViewInteraction::Cursor::Unchanged:
    case CViewInteraction::Cursor::NoSizing:
        // A widget keeps its cursor until it is changed, so away from the selected object the
        // arrow comes back as well: the pointer never carries a sizing cursor over the page.
        if (m_savedCursor) {
            viewport()->setCursor(Qt::ArrowCursor);
            m_savedCursor.reset();
        }
        return;
    }
    if (!m_savedCursor)
        m_savedCursor = viewport()->cursor();
    viewport()->setCursor(shape);
}

void CQuarnView::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    event->accept();
    if (!m_document || event->button() != Qt::LeftButton)
        return;
    if (!m_pendingFields.isEmpty()) {
        // The release that follows goes back to the pointer, as after any insertion.
        PlaceFields(event->position().toPoint(), std::exchange(m_pendingFields, {}));
        return;
    }
    const CPageGeometry geometry = MakeGeometry();
    CViewInteraction interaction(*m_document, geometry, m_state);
    CViewInteraction::Result result = interaction.OnLeftButtonDown(
            geometry.ClientToView(event->position().toPoint()), event->modifiers());
    Apply(result);
    if (CViewInteraction::IsDragMode(m_state.m_mode))
        emit dragHeld(true);
}

void CQuarnView::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (!m_document)
        return;
    const bool idle = m_state.m_mode == CViewInteraction::Idle;
    const CPageGeometry geometry = MakeGeometry();
    CViewInteraction interaction(*m_document, geometry, m_state);
    const QPoint at = geometry.ClientToView(event->position().toPoint());
    CViewInteraction::Result result = interaction.OnMouseMove(at, event->modifiers());
    m_rulerAcross->SetPointer(event->position().toPoint().x());
    m_rulerDown->SetPointer(event->position().toPoint().y());
    emit pointerMoved(at);
    if (idle)
        ApplyCursor(result.cursor);
    else
        EmitGeometryOfSelection(result);
    Apply(result);
}

void CQuarnView::EmitGeometryOfSelection(const CViewInteraction::Result &result)
{
    if (result.modified && m_document)
        emit elementGeometryChanged(m_document->GetReport().FindFirstSelected());
}

void CQuarnView::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton) {
        if (!m_document) {
            m_state.m_mode = CViewInteraction::Idle;
            m_state.m_sticky = false;
            emit returnedToPointer();
            return;
        }
        const bool dragged = CViewInteraction::IsDragMode(m_state.m_mode);
        const CPageGeometry geometry = MakeGeometry();
        CViewInteraction interaction(*m_document, geometry, m_state);
        CViewInteraction::Result result
                = interaction.OnLeftButtonUp(geometry.ClientToView(event->position().toPoint()));
        Apply(result);
        if (dragged)
            emit dragHeld(false);
    } else if (event->button() == Qt::RightButton) {
        SelectForContextMenu(event->position().toPoint());
        ShowContextMenu(event->globalPosition().toPoint());
    }
}

void CQuarnView::keyPressEvent(QKeyEvent *event)
{
    if (!HandleKey(event->key(), event->modifiers())) {
        // Page keys and the like still scroll.
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

bool CQuarnView::HandleKey(int key, Qt::KeyboardModifiers modifiers)
{
    bool arrow = false;
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        arrow = true;
        break;
    case Qt::Key_Delete:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        break;
    default:
        return false;
    }
    if (!m_document)
        return true;
    if (key == Qt::Key_Delete) {
        // Shift+Delete is Cut's key; it never deletes here on its own.
        if (!(modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
            DeleteSelection(QString(), true);
        return true;
    }
    const CPageGeometry geometry = MakeGeometry();
    CViewInteraction interaction(*m_document, geometry, m_state);
    CViewInteraction::Result result = interaction.OnKeyDown(
            key, modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::ControlModifier));
    if (arrow)
        EmitGeometryOfSelection(result);
    Apply(result);
    return true;
}

void CQuarnView::wheelEvent(QWheelEvent *event)
{
    if (!event->modifiers().testFlag(Qt::ControlModifier)) {
        m_wheelTurn = 0;
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    event->accept();
    // One zoom level per notch; the finer turns of a touchpad add up to one.
    m_wheelTurn += event->angleDelta().y();
    const QPoint client = event->position().toPoint();
    while (m_wheelTurn >= QWheelEvent::DefaultDeltasPerStep) {
        m_wheelTurn -= QWheelEvent::DefaultDeltasPerStep;
        SetZoomAt(ZoomSteps::Next(GetZoom()), client);
    }
    while (m_wheelTurn <= -QWheelEvent::DefaultDeltasPerStep) {
        m_wheelTurn += QWheelEvent::DefaultDeltasPerStep;
        SetZoomAt(ZoomSteps::Previous(GetZoom()), client);
    }
}

bool CQuarnView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Leave) {
        m_rulerAcross->SetPointer(-1);
        m_rulerDown->SetPointer(-1);
    }
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QString text = ToolTipAt(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}
