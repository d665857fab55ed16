#include "pagegeometry.h"

#include "vornreport.h"

#include <algorithm>
#include <cmath>

namespace {

// Far beyond any page (about 700 m at 96 pixels per inch), yet small enough that the sums of a
// few such values stay inside int: a report read from a damaged file cannot overflow the pixel
// arithmetic.
constexpr double PixelLimit = 1 << 28;

int ClampToInt(double v)
{
    // The cast truncates toward zero; the value is whole already wherever the rules truncate.
    return static_cast<int>(std::clamp(v, -PixelLimit, PixelLimit));
}

int ClampSum(qint64 a, qint64 b)
{
    return ClampToInt(double(a + b));
}

// A device that reports no resolution is taken as the usual screen.
int UsableDpi(int dpi)
{
    return dpi > 0 ? dpi : 96;
}

int ToPixels(qint64 v, double zoom, int dpi)
{
    const double units = std::trunc(double(v) * zoom);
    return ClampToInt(std::trunc(dpi * (units / 2540.0)));
}

int ToModel(int px, int dpi)
{
    return ClampToInt(std::trunc(px / double(dpi) * 2540.0));
}

int ToModelZoomed(int px, int dpi, double zoom)
{
    return ClampToInt(std::trunc(ToModel(px, dpi) * (1.0 / zoom)));
}

} // namespace

CPageGeometry::CPageGeometry(const CVornReport &report, int dpiX, int dpiY, const PixRect &client,
                             QPoint scroll, QSize totalSize)
    : m_report(report)
    , m_dpiX(UsableDpi(dpiX))
    , m_dpiY(UsableDpi(dpiY))
    , m_client(client)
    , m_scroll(scroll)
    , m_totalSize(totalSize)
{
    m_drawArea = m_client;
    m_drawArea.right = std::max(m_client.right, ClampSum(m_client.left, totalSize.width()));
    m_drawArea.bottom = std::max(m_client.bottom, ClampSum(m_client.top, totalSize.height()));

    // The page fills the draw area less 20 pixels on each side, never above full size. The
    // width is measured in model units by converting both edges, so the pixel round trip alone
    // can keep the zoom just below 1 when the window is exactly as wide as the scroll size.
    const PixRect inner = m_drawArea.Inflate(-20, -20);
    const int pageWidth = report.GetPageWidth();
    const int pageHeight = report.GetPageHeight();
    if (pageWidth > 0) {
        const int modelLeft = PixelsToModelX(inner.left);
        const int modelRight = PixelsToModelX(inner.right);
        m_zoom = double(qint64(modelRight) - modelLeft) / pageWidth;
    }
    // A zoom of 0 or below (a window not laid out yet, a page too small to show a pixel) would
    // lose the page or divide by zero in the reverse conversion; such a page is shown unzoomed.
    if (!(m_zoom > 0.0) || m_zoom > 1.0)
        m_zoom = 1.0;

    const int pixelWidth = ToPixels(qint64(std::trunc(m_zoom * pageWidth)), 1.0, m_dpiX);
    const int pixelHeight = ToPixels(qint64(std::trunc(m_zoom * pageHeight)), 1.0, m_dpiY);
    const int dx = (inner.right - inner.left - pixelWidth) / 2 + 20;
    m_pageRect = PixRect {0, 0, pixelWidth, pixelHeight}.Offset(dx, 20);

    int y = m_pageRect.top;
    m_bandTops.reserve(size_t(report.GetBands().GetCount()));
    for (const CVornBand *band : report.GetBands()) {
        m_bandTops.push_back(y);
        y = ClampSum(y, GetBandPixelHeight(*band));
    }
}

QSize CPageGeometry::TotalScrollSize(const CVornReport &report, int dpiX, int dpiY)
{
    const int width = ToPixels(report.GetPageWidth(), 1.0, UsableDpi(dpiX)) + 40;
    const int height = ToPixels(report.GetPageHeight(), 1.0, UsableDpi(dpiY)) + 40;
    return QSize(std::max(width, 0), std::max(height, 0));
}

int CPageGeometry::ModelToPixelsX(qint64 v, double zoom) const
{
    return ToPixels(v, zoom, m_dpiX);
}

int CPageGeometry::ModelToPixelsY(qint64 v, double zoom) const
{
    return ToPixels(v, zoom, m_dpiY);
}

int CPageGeometry::PixelsToModelX(int px) const
{
    return ToModel(px, m_dpiX);
}

int CPageGeometry::PixelsToModelY(int px) const
{
    return ToModel(px, m_dpiY);
}

int CPageGeometry::PixelsToModelX(int px, double zoom) const
{
    return ToModelZoomed(px, m_dpiX, zoom);
}

int CPageGeometry::PixelsToModelY(int px, double zoom) const
{
    return ToModelZoomed(px, m_dpiY, zoom);
}

PixRect CPageGeometry::GetPageRect(double *zoom) const
{
    if (zoom)
        *zoom = m_zoom;
    return m_pageRect;
}

int CPageGeometry::GetBandPixelHeight(const CVornBand &band) const
{
    return ModelToPixelsY(band.GetEffectiveHeight(), m_zoom);
}

PixRect CPageGeometry::GetBandRect(int index) const
{
    const CVornBand *band = m_report.GetBands().GetAt(index);
    const int top = GetBandTop(index);
    return {m_pageRect.left, top,
            ClampSum(m_pageRect.left, ModelToPixelsX(m_report.GetPageWidth(), m_zoom)),
            ClampSum(top, GetBandPixelHeight(*band))};
}

PixRect CPageGeometry::GetDarkArea() const
{
    const int top = ClampSum(m_pageRect.top, ModelToPixelsY(m_report.SumAllBandHeights(), m_zoom));
    return {m_pageRect.left, top, m_pageRect.right, m_pageRect.bottom};
}

PixRect CPageGeometry::GetItemPixelRect(const CVornItem &item, const PixRect &bandRect) const
{
    return {ClampSum(bandRect.left, ModelToPixelsX(item.GetLeft(), m_zoom)),
            ClampSum(bandRect.top, ModelToPixelsY(item.GetTop(), m_zoom)),
            ClampSum(bandRect.left, ModelToPixelsX(item.GetRight(), m_zoom)),
            ClampSum(bandRect.top, ModelToPixelsY(item.GetBottom(), m_zoom))};
}

PixRect CPageGeometry::GetClippedItemRect(const CVornItem &item, const PixRect &bandRect) const
{
    return GetItemPixelRect(item, bandRect).Intersect(bandRect);
}

PixRect CPageGeometry::GetItemPixelRect(const CVornElement *element) const
{
    if (!element)
        return {};
    const auto *item = dynamic_cast<const CVornItem *>(element);
    const auto &bands = m_report.GetBands();
    for (int i = 0; i < bands.GetCount(); ++i) {
        const CVornBand *band = bands[i];
        if (band == element) {
            const int top = GetBandTop(i);
            return {m_pageRect.left, top, m_pageRect.right,
                    ClampSum(top, GetBandPixelHeight(*band))};
        }
        if (item && band->GetItems().IndexOf(item) >= 0)
            return GetItemPixelRect(*item, GetBandRect(i));
    }
    return {};
}
