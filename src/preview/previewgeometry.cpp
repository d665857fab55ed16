#include "previewgeometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double hundredthsPerInch = 2540.0;
constexpr double zoomSteps[] = {0.1, 0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 3.0, 4.0, 6.0, 8.0};

} // namespace

double CPreviewGeometry::Clamp(double zoom)
{
    if (!std::isfinite(zoom))
        return 1.0;
    return std::clamp(zoom, minZoom, maxZoom);
}

void CPreviewGeometry::SetZoom(double zoom)
{
    m_zoom = Clamp(zoom);
}

QSize CPreviewGeometry::PagePixelSize() const
{
    const double scale = m_zoom * m_dpi / hundredthsPerInch;
    return QSize(std::max(1, int(std::lround(m_pageSize.width() * scale))),
                 std::max(1, int(std::lround(m_pageSize.height() * scale))));
}

QSize CPreviewGeometry::ContentSize() const
{
    const QSize page = PagePixelSize();
    const qint64 height = qint64(m_pageCount) * (page.height() + gap) + gap;
    return QSize(page.width() + 2 * gap, int(std::min<qint64>(height, 1'000'000'000)));
}

QRect CPreviewGeometry::PageRect(int index) const
{
    const QSize page = PagePixelSize();
    const int left = std::max(gap, (m_viewportWidth - page.width()) / 2);
    const qint64 top = gap + qint64(index) * (page.height() + gap);
    return QRect(QPoint(left, int(std::min<qint64>(top, 1'000'000'000))), page);
}

int CPreviewGeometry::ScrollPositionOf(int index) const
{
    return PageRect(index).top() - gap;
}

int CPreviewGeometry::PageAt(int y) const
{
    if (m_pageCount <= 0)
        return 0;
    const int step = PagePixelSize().height() + gap;
    return std::clamp(std::max(0, y) / step, 0, m_pageCount - 1);
}

void CPreviewGeometry::VisiblePages(int y, int height, int &first, int &last) const
{
    if (m_pageCount <= 0) {
        first = 0;
        last = -1;
        return;
    }
    first = PageAt(y);
    last = PageAt(y + std::max(0, height - 1));
}

int CPreviewGeometry::MostVisiblePage(int y, int height) const
{
    int first = 0;
    int last = -1;
    VisiblePages(y, height, first, last);
    int best = first;
    qint64 bestShown = -1;
    for (int index = first; index <= last; ++index) {
        const QRect page = PageRect(index);
        const qint64 shown = std::min<qint64>(page.bottom() + 1, qint64(y) + height)
                - std::max<qint64>(page.top(), y);
        if (shown > bestShown) {
            best = index;
            bestShown = shown;
        }
    }
    return best;
}

double CPreviewGeometry::FitWidthZoom(QSize viewport) const
{
    const double width = m_pageSize.width() * m_dpi / hundredthsPerInch;
    return Clamp((viewport.width() - 2.0 * gap) / width);
}

double CPreviewGeometry::FitPageZoom(QSize viewport) const
{
    const double height = m_pageSize.height() * m_dpi / hundredthsPerInch;
    return std::min(FitWidthZoom(viewport), Clamp((viewport.height() - 2.0 * gap) / height));
}

double CPreviewGeometry::ZoomIn(double zoom)
{
    for (const double step : zoomSteps) {
        if (step > zoom + 1e-6)
            return step;
    }
    return maxZoom;
}

double CPreviewGeometry::ZoomOut(double zoom)
{
    for (auto it = std::rbegin(zoomSteps); it != std::rend(zoomSteps); ++it) {
        if (*it < zoom - 1e-6)
            return *it;
    }
    return minZoom;
}
