// The design view's part in designing with the data: fields dropped from the Data pane or placed
// by the Elements pane's page-number entries, tables dropped from its schema tree, and the marks
// of items with a problem.
#include "quarnview.h"

#include "viewinteraction.h"
#include "vorndocument.h"
#include "vornreport.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFontMetricsF>
#include <QMimeData>
#include <QPainter>
#include <QPolygon>

#include <cmath>

namespace {

QList<CFieldChoice> DraggedFields(const QMimeData *data)
{
    const QString type = QString::fromLatin1(FieldChoice::MimeType);
    return data && data->hasFormat(type) ? FieldChoice::Decode(data->data(type))
                                         : QList<CFieldChoice>();
}

int RoundToGrid(int v)
{
    const int step = CViewInteraction::GridStep;
    const int remainder = v % step;
    return remainder < step / 2 ? v - remainder : v - remainder + step;
}

} // namespace

int CQuarnView::BandAt(QPoint client) const
{
    if (!m_document)
        return -1;
    const CPageGeometry geometry = MakeGeometry();
    const QPoint pt = geometry.ClientToView(client);
    if (!geometry.IsOnPage(pt.x(), pt.y()))
        return -1;
    const int count
            = std::min(geometry.GetBandCount(), m_document->GetReport().GetBands().GetCount());
    for (int i = 0; i < count; ++i) {
        if (geometry.GetBandRect(i).Contains(pt.x(), pt.y()))
            return i;
    }
    return -1;
}

bool CQuarnView::PlaceFields(QPoint client, const QList<CFieldChoice> &fields)
{
    const int host = BandAt(client);
    if (host < 0 || fields.isEmpty())
        return false;
    const CPageGeometry geometry = MakeGeometry();
    double zoom = 1.0;
    const PixRect page = geometry.GetPageRect(&zoom);
    const PixRect band = geometry.GetBandRect(host);
    QPoint pt = geometry.ClientToView(client);
    if (m_document->IsGridOn())
        pt = QPoint(RoundToGrid(pt.x()), RoundToGrid(pt.y()));
    pt.ry() = std::clamp(pt.y(), band.top, band.bottom);

    // One line of the default font (Times New Roman, 10 points) on paper.
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSizeF(10.0);
    const QFontMetricsF metrics(font, viewport());
    const int dpiY = std::max(1, viewport()->logicalDpiY());

    CVornReport &report = m_document->GetReport();
    FieldChoice::Placement placement;
    placement.left = geometry.PixelsToModelX(pt.x() - page.left, zoom);
    placement.top = geometry.PixelsToModelY(pt.y() - band.top, zoom);
    placement.width = geometry.PixelsToModelX(CViewInteraction::NewItemWidth, zoom);
    placement.height = int(std::ceil(metrics.lineSpacing() * 2540.0 / dpiY));
    placement.pageRight = report.GetPageWidth();
    const QList<CVornItem *> placed = FieldChoice::Place(*m_document, *report.GetBands()[host],
                                                         placement, fields, tr("Insert"));
    if (placed.isEmpty())
        return false;
    viewport()->update();
    emit showPropertiesRequested(placed.constFirst());
    setFocus(Qt::OtherFocusReason);
    return true;
}

int CQuarnView::TableTarget(const QMimeData *data, QPoint client) const
{
    if (!m_document || !m_tableDrop || !data
        || !data->hasFormat(QString::fromLatin1(TableChoice::MimeType)))
        return -2;
    const int band = BandAt(client);
    if (band >= 0)
        return band;
    const CPageGeometry geometry = MakeGeometry();
    const QPoint pt = geometry.ClientToView(client);
    if (!geometry.IsOnPage(pt.x(), pt.y()))
        return -2;
    // Below the last band, not above the first.
    const int count = geometry.GetBandCount();
    return count == 0 || pt.y() >= geometry.GetBandRect(count - 1).bottom ? -1 : -2;
}

void CQuarnView::dragEnterEvent(QDragEnterEvent *event)
{
    // Where a table may land shows as the pointer moves.
    if (m_tableDrop && event->mimeData()->hasFormat(QString::fromLatin1(TableChoice::MimeType))) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
        return;
    }
    // Anything else (a report file) is for the main window.
    if (DraggedFields(event->mimeData()).isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void CQuarnView::dragMoveEvent(QDragMoveEvent *event)
{
    if (m_tableDrop && event->mimeData()->hasFormat(QString::fromLatin1(TableChoice::MimeType))) {
        event->setDropAction(Qt::CopyAction);
        event->setAccepted(TableTarget(event->mimeData(), event->position().toPoint()) > -2);
        return;
    }
    if (DraggedFields(event->mimeData()).isEmpty()) {
        event->ignore();
        return;
    }
    // Fields land on a band only.
    event->setDropAction(Qt::CopyAction);
    event->setAccepted(BandAt(event->position().toPoint()) >= 0);
}

void CQuarnView::dropEvent(QDropEvent *event)
{
    const QPoint client = event->position().toPoint();
    if (const int band = TableTarget(event->mimeData(), client); band > -2) {
        const CTableChoice choice = TableChoice::Decode(
                event->mimeData()->data(QString::fromLatin1(TableChoice::MimeType)));
        // The handler may ask the user first: the drag ends before that.
        event->setDropAction(Qt::CopyAction);
        event->accept();
        if (!choice.table.isEmpty())
            QMetaObject::invokeMethod(
                    this,
                    [this, band, choice] {
                        if (m_tableDrop && m_tableDrop(band, choice) && m_document) {
                            viewport()->update();
                            emit showPropertiesRequested(
                                    m_document->GetReport().FindFirstSelected());
                            setFocus(Qt::OtherFocusReason);
                        }
                    },
                    Qt::QueuedConnection);
        return;
    }
    const QList<CFieldChoice> fields = DraggedFields(event->mimeData());
    if (fields.isEmpty() || !PlaceFields(event->position().toPoint(), fields)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void CQuarnView::SetItemMarks(const QHash<const CVornItem *, QString> &marks)
{
    if (marks == m_itemMarks)
        return;
    m_itemMarks = marks;
    viewport()->update();
}

void CQuarnView::PaintItemMarks(QPainter &painter, const CPageGeometry &geometry) const
{
    if (m_itemMarks.isEmpty())
        return;
    // A small red triangle in the top-right corner of the item, as much as shows on its band.
    constexpr int side = 7;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(220, 0, 0));
    const auto &bands = m_document->GetReport().GetBands();
    const int count = std::min(geometry.GetBandCount(), bands.GetCount());
    for (int i = 0; i < count; ++i) {
        const PixRect bandRect = geometry.GetBandRect(i);
        for (const CVornItem *item : bands[i]->GetItems()) {
            if (!m_itemMarks.contains(item))
                continue;
            const PixRect r = geometry.GetClippedItemRect(*item, bandRect);
            if (r.right <= r.left || r.bottom <= r.top)
                continue;
            const int size = std::min({side, r.right - r.left, r.bottom - r.top});
            painter.drawPolygon(QPolygon({QPoint(r.right - size, r.top), QPoint(r.right, r.top),
                                          QPoint(r.right, r.top + size)}));
        }
    }
    painter.restore();
}
