#include "quarnview.h"

#include "pagepainter.h"
#include "vorndocument.h"

#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>

CQuarnView::CQuarnView(CVornDocument *document, QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_document(document)
{
    if (!m_document)
        return;
    // Every paint covers the whole viewport; nothing needs erasing first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    const auto repaint = [this] {
        viewport()->update();
    };
    connect(m_document, &CVornDocument::reportChanged, this, repaint);
    connect(m_document, &CVornDocument::gridChanged, this, repaint);
    connect(m_document, &CVornDocument::pageSizeChanged, this, [this] {
        UpdateScrollSizes();
        viewport()->update();
    });
    connect(m_document, &CVornDocument::reportReset, this, &CQuarnView::OnReportReset);
}

void CQuarnView::OnInitialUpdate()
{
    emit showPropertiesRequested(nullptr);
    UpdateScrollSizes();
    viewport()->update();
}

void CQuarnView::OnReportReset()
{
    // Every pointer into the old report is gone; the new report starts at the top left.
    m_dragItem = nullptr;
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    OnInitialUpdate();
}

void CQuarnView::UpdateScrollSizes()
{
    if (m_document) {
        m_totalSize = CPageGeometry::TotalScrollSize(
                m_document->GetReport(), viewport()->logicalDpiX(), viewport()->logicalDpiY());
    }
    UpdateScrollBars();
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
                         {0, 0, client.width(), client.height()}, GetScrollPosition(), m_totalSize);
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

void CQuarnView::paintEvent(QPaintEvent *)
{
    if (!m_document)
        return;
    const CPageGeometry geometry = MakeGeometry();
    QPainter painter(viewport());
    // View coordinates include the scroll offset.
    painter.translate(-geometry.GetScroll());
    CPagePainter(painter, geometry, m_document->GetReport(), m_document->IsGridOn(), &m_paintCache)
            .Paint();
}

void CQuarnView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}
