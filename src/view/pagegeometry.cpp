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
                             QPoint scroll, QSize totalSize, double zoomChoice)
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

    // The page keeps 20 pixels to the draw area's edges on each side.
    const PixRect inner = m_drawArea.Inflate(-20, -20);
    const int pageWidth = report.GetPageWidth();
    const int pageHeight = report.GetPageHeight();
    const double choice = UsableZoomChoice(zoomChoice);
    m_zoom = choice == FitWidth ? FitWidthZoom(report, m_dpiX, client.Width()) : choice;

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

QSize CPageGeometry::TotalScrollSize(const CVornReport &report, int dpiX, int dpiY,
                                     double zoomChoice, int clientWidth)
{
    const double choice = UsableZoomChoice(zoomChoice);
    const double zoom = choice == FitWidth ? FitWidthZoom(report, dpiX, clientWidth) : choice;
    const int width = ToPixels(report.GetPageWidth(), zoom, UsableDpi(dpiX));
    // The bands as drawn: each height converted on its own.
    int bands = 0;
    for (const CVornBand *band : report.GetBands())
        bands = ClampSum(bands, ToPixels(band->GetEffectiveHeight(), zoom, UsableDpi(dpiY)));
    const int height = std::max(ToPixels(report.GetPageHeight(), zoom, UsableDpi(dpiY)), bands);
    return QSize(std::max(width + 40, 0), std::max(height + 40, 0));
}

double CPageGeometry::FitWidthZoom(const CVornReport &report, int dpiX, int clientWidth)
{
    const int pageWidth = report.GetPageWidth();
    const int inner = clientWidth - 40;
    if (pageWidth <= 0 || inner <= 0)
        return 1.0;
    // The width in model units that the pixels hold, as the pixels are converted back.
    const double zoom = double(ToModel(inner, UsableDpi(dpiX))) / pageWidth;
    return std::clamp(zoom, MinZoom, MaxZoom);
}

double CPageGeometry::UsableZoomChoice(double zoomChoice)
{
    if (!(zoomChoice > 0.0))
        return FitWidth;
    return std::clamp(zoomChoice, MinZoom, MaxZoom);
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

PixRect CPageGeometry::GetBandArea() const
{
    PixRect area = m_pageRect;
    if (!m_bandTops.empty()) {
        const int last = int(m_bandTops.size()) - 1;
        area.bottom = std::max(area.bottom, GetBandRect(last).bottom);
    }
    return area;
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

QPoint CPageGeometry::ScrollToShow(const PixRect &viewRect) const
{
    const auto axis = [](int scroll, int low, int high, int clientSize, int total) {
        // The far edge first, then the near one, so that the near edge wins.
        if (high > scroll + clientSize)
            scroll = high - clientSize;
        if (low < scroll)
            scroll = low;
        return std::clamp(scroll, 0, std::max(0, total - clientSize));
    };
    return {axis(m_scroll.x(), viewRect.left, viewRect.right, m_client.Width(),
                 m_totalSize.width()),
            axis(m_scroll.y(), viewRect.top, viewRect.bottom, m_client.Height(),
                 m_totalSize.height())};
}

QPoint CPageGeometry::ScrollKeepingPoint(const CPageGeometry &before, QPoint client) const
{
    // The point in model units from the page's top-left corner, at the zoom before.
    const QPoint view = before.ClientToView(client);
    const PixRect oldPage = before.GetPageRect();
    const int mx = before.PixelsToModelX(view.x() - oldPage.left, before.GetZoom());
    const int my = before.PixelsToModelY(view.y() - oldPage.top, before.GetZoom());
    // The page's place does not depend on the scroll position.
    const int x = ClampSum(m_pageRect.left, ModelToPixelsX(mx, m_zoom));
    const int y = ClampSum(m_pageRect.top, ModelToPixelsY(my, m_zoom));
    const int maxX = std::max(0, m_totalSize.width() - m_client.Width());
    const int maxY = std::max(0, m_totalSize.height() - m_client.Height());
    return {std::clamp(x - client.x(), 0, maxX), std::clamp(y - client.y(), 0, maxY)};
}
