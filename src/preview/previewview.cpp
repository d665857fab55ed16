#include "previewview.h"

#include "pagemodel.h"
#include "pagerender.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

const QColor deskColor(0x80, 0x80, 0x80);
const QColor shadowColor(0x40, 0x40, 0x40);

} // namespace

CPreviewView::CPreviewView(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("PreviewView"));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    m_geometry.SetDpi(logicalDpiY());
    verticalScrollBar()->setSingleStep(40);
}

void CPreviewView::SetModel(std::shared_ptr<const CPageModel> model)
{
    m_model = std::move(model);
    UpdatePages();
}

void CPreviewView::UpdatePages()
{
    if (m_model) {
        m_geometry.SetPageSize(m_model->GetPageSize());
        m_geometry.SetPageCount(m_model->GetPageCount());
    } else {
        m_geometry.SetPageCount(0);
    }
    UpdateScrollBars();
    viewport()->update();
    const int page = GetCurrentPage();
    if (page != m_lastPage) {
        m_lastPage = page;
        emit currentPageChanged(page);
    }
}

void CPreviewView::SetZoom(double zoom)
{
    const int page = GetCurrentPage();
    // The part of the current page above the view's top stays in proportion.
    const int step = m_geometry.PagePixelSize().height() + CPreviewGeometry::gap;
    const double within = step > 0
            ? double(verticalScrollBar()->value() - m_geometry.ScrollPositionOf(page)) / step
            : 0.0;
    const double oldZoom = m_geometry.GetZoom();
    m_geometry.SetZoom(zoom);
    if (m_geometry.GetZoom() == oldZoom)
        return;
    UpdateScrollBars();
    const int newStep = m_geometry.PagePixelSize().height() + CPreviewGeometry::gap;
    verticalScrollBar()->setValue(m_geometry.ScrollPositionOf(page) + int(within * newStep));
    viewport()->update();
}

double CPreviewView::FitWidthZoom() const
{
    const QSize full = maximumViewportSize();
    CPreviewGeometry wide = m_geometry;
    wide.SetZoom(m_geometry.FitWidthZoom(full));
    if (wide.ContentSize().height() <= full.height())
        return wide.GetZoom();
    return m_geometry.FitWidthZoom(full - QSize(verticalScrollBar()->sizeHint().width(), 0));
}

int CPreviewView::GetCurrentPage() const
{
    // A page brought to the top stays current while the view stays there: the last pages
    // cannot reach the top, and another may fill more of the view.
    const int value = verticalScrollBar()->value();
    if (m_shownPage >= 0 && m_shownPage < m_geometry.GetPageCount() && value == m_shownAt)
        return m_shownPage;
    // The page that fills most of the view, not merely the one at its top edge.
    return m_geometry.MostVisiblePage(value, viewport()->height());
}

void CPreviewView::ShowPage(int index)
{
    if (m_geometry.GetPageCount() <= 0)
        return;
    index = std::clamp(index, 0, m_geometry.GetPageCount() - 1);
    QScrollBar *bar = verticalScrollBar();
    m_shownPage = index;
    m_shownAt = std::clamp(m_geometry.ScrollPositionOf(index), bar->minimum(), bar->maximum());
    bar->setValue(m_shownAt);
    if (m_lastPage != index) {
        m_lastPage = index;
        emit currentPageChanged(index);
    }
}

void CPreviewView::UpdateScrollBars()
{
    m_geometry.SetViewportWidth(viewport()->width());
    const QSize content = m_geometry.ContentSize();
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, content.width() - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setRange(0, std::max(0, content.height() - view.height()));
    verticalScrollBar()->setPageStep(view.height());
}

void CPreviewView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), deskColor);
    if (!m_model)
        return;
    const int x = horizontalScrollBar()->value();
    const int y = verticalScrollBar()->value();
    int first = 0;
    int last = -1;
    m_geometry.VisiblePages(y, viewport()->height(), first, last);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int index = first; index <= last; ++index) {
        const QRect page = m_geometry.PageRect(index).translated(-x, -y);
        if (!page.intersects(event->rect()))
            continue;
        painter.fillRect(page.translated(3, 3), shadowColor);
        painter.fillRect(page, Qt::white);
        painter.save();
        painter.setClipRect(page);
        PaintPage(painter, *m_model, index, QRectF(page));
        painter.restore();
    }
}

void CPreviewView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
    emit viewportResized();
}

void CPreviewView::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    // One notch is 120; touch pads send less at a time.
    m_wheelRemainder += event->angleDelta().y();
    const int steps = m_wheelRemainder / 120;
    m_wheelRemainder -= steps * 120;
    if (steps != 0)
        emit zoomStepRequested(steps);
    event->accept();
}

void CPreviewView::scrollContentsBy(int, int)
{
    viewport()->update();
    const int page = GetCurrentPage();
    if (page != m_lastPage) {
        m_lastPage = page;
        emit currentPageChanged(page);
    }
}
