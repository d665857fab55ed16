#include "livepreviewview.h"

#include "pagehits.h"
#include "pagemodel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

CLivePreviewView::CLivePreviewView(QWidget *parent)
    : CPreviewView(parent)
{
    setObjectName(QStringLiteral("LivePreviewView"));
}

void CLivePreviewView::SetOutlined(std::vector<CPageSource> sources)
{
    if (sources == m_outlined)
        return;
    m_outlined = std::move(sources);
    viewport()->update();
}

void CLivePreviewView::VisiblePages(int &first, int &last) const
{
    GetGeometry().VisiblePages(verticalScrollBar()->value(), viewport()->height(), first, last);
}

CPageSource CLivePreviewView::SourceAt(QPoint point, int *pageIndex) const
{
    const CPreviewGeometry &geometry = GetGeometry();
    const QPoint content
            = point + QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const int index = geometry.PageAt(content.y());
    const QRect rect = geometry.PageRect(index);
    const std::shared_ptr<const CPage> page = GetModel() ? GetModel()->GetPage(index) : nullptr;
    if (pageIndex)
        *pageIndex = index;
    if (!page || !rect.contains(content))
        return {};
    const QSize units = geometry.GetPageSize();
    const int x = int(qint64(content.x() - rect.left()) * units.width() / rect.width());
    const int y = int(qint64(content.y() - rect.top()) * units.height() / rect.height());
    return PageHits::At(*page, x, y);
}

void CLivePreviewView::paintEvent(QPaintEvent *event)
{
    CPreviewView::paintEvent(event);
    if (m_outlined.empty() || !GetModel())
        return;
    const CPreviewGeometry &geometry = GetGeometry();
    const QSize units = geometry.GetPageSize();
    if (units.width() <= 0 || units.height() <= 0)
        return;
    int first = 0;
    int last = -1;
    VisiblePages(first, last);
    QPainter painter(viewport());
    // One pixel along the inside of each instance's box: the rows of a list lie close
    // together at a small zoom, and wider lines would cover their text.
    QPen pen(palette().color(QPalette::Highlight), 0);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QPoint scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    for (int index = first; index <= last; ++index) {
        const std::shared_ptr<const CPage> page = GetModel()->GetPage(index);
        if (!page)
            continue;
        const QRect rect = geometry.PageRect(index).translated(-scroll);
        const double sx = double(rect.width()) / units.width();
        const double sy = double(rect.height()) / units.height();
        for (const CPageSource &source : m_outlined) {
            for (const CPageRect &box : PageHits::PlacesOf(*page, units.width(), source)) {
                const QRect place = QRectF(rect.left() + box.left * sx, rect.top() + box.top * sy,
                                           (box.right - box.left) * sx, (box.bottom - box.top) * sy)
                                            .toRect();
                painter.drawRect(place.adjusted(0, 0, -1, -1));
            }
        }
    }
}

void CLivePreviewView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        CPreviewView::mousePressEvent(event);
        return;
    }
    const CPageSource source = SourceAt(event->position().toPoint());
    if (source.band >= 0)
        emit sourceClicked(source);
    event->accept();
}
