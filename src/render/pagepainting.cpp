#include "pagepainting.h"

#include "barcodepainting.h"
#include "dataformat.h"
#include "ean13symbol.h"
#include "imageplacement.h"
#include "itempainter.h"
#include "pagetextlines.h"
#include "pixeldrawing.h"
#include "textlines.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

int Round(double v)
{
    return int(std::lround(std::clamp(v, -1e9, 1e9)));
}

} // namespace

CPagePainting::CPagePainting(QPainter &painter, int dpiX, int dpiY)
    : m_painter(painter)
    , m_dpiX(dpiX > 0 ? dpiX : 96)
    , m_dpiY(dpiY > 0 ? dpiY : 96)
{ }

int CPagePainting::ToPixelsX(int units) const
{
    return Round(units * (m_dpiX / 2540.0));
}

int CPagePainting::ToPixelsY(int units) const
{
    return Round(units * (m_dpiY / 2540.0));
}

PixRect CPagePainting::ToPixels(const CPageRect &rect) const
{
    return {ToPixelsX(rect.left), ToPixelsY(rect.top), ToPixelsX(rect.right),
            ToPixelsY(rect.bottom)};
}

void CPagePainting::Paint(const CPage &page, int number, int count)
{
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    m_painter.setBackgroundMode(Qt::TransparentMode);
    const std::vector<CPageItem> &items = page.GetItems();
    const CPageTextLines *lines = page.GetTextLines().get();
    for (size_t i = 0; i < items.size(); ++i) {
        VisitPrimitive(
                items[i],
                [&](const CPageText &text) {
                    Draw(page, text, lines ? lines->Get(i) : nullptr, number, count);
                },
                [this](const CPageShape &shape) { Draw(shape); },
                [this](const CPageImage &image) { Draw(image); },
                [this](const CPageBarcode &barcode) { Draw(barcode); },
                [this](const CPagePath &path) { Draw(path); });
    }
    m_painter.restore();
}

const QFont &CPagePainting::PaintFontOf(const CPage &page, int index)
{
    const QPaintDevice *device = m_painter.device();
    if (device != m_fontDevice) {
        m_paintFonts.clear();
        m_fontDevice = device;
    }
    const QFont &font = m_layoutFonts.Get(page, index);
    auto it = m_paintFonts.find(&font);
    if (it == m_paintFonts.end())
        it = m_paintFonts.emplace(&font, device ? PaintFont(font, m_dpiY, *device) : font).first;
    return it->second;
}

void CPagePainting::Draw(const CPage &page, const CPageText &text, const TextLines *broken,
                         int number, int count)
{
    const CPageRect &box = text.box;
    if (box.right <= box.left || box.bottom <= box.top)
        return;
    // Page numbers as the page's own numbering counts them.
    const QString value = PageTextValue(text, page.NumberShown(number), page.CountShown(count));
    if (value.isEmpty())
        return;
    // Broken here unless the layout did it already.
    const TextLines lines
            = broken ? TextLines() : BreakPageText(text, value, m_layoutFonts.Get(page, text.font));
    m_painter.setPen(QColor::fromRgb(text.color));
    PaintTextLinesWith(m_painter, m_dpiX, m_dpiY, PaintFontOf(page, text.font),
                       broken ? *broken : lines,
                       QRectF(box.left, box.top, box.right - box.left, box.bottom - box.top),
                       text.horzAlignment, text.vertAlignment, text.wordWrap);
}

void CPagePainting::Draw(const CPageShape &shape)
{
    const PixRect box = ToPixels(shape.box);
    // A line width counts 1/96 inch on any device.
    const int width = std::max(1, Round(shape.lineWidth * (m_dpiX / 96.0)));
    const QPen pen = OutlinePen(QColor::fromRgb(shape.color), width, shape.dotted);
    PaintItemShape(m_painter, box, int(shape.kind), pen, QBrush(QColor::fromRgb(shape.fill)));
}

void CPagePainting::Draw(const CPageImage &image)
{
    const PixRect box = ToPixels(image.box);
    if (box.IsEmpty())
        return;
    CPictureStore &store = CPictureStore::Instance();
    const CPagePicture *picture = image.picture.get();
    const CPagePicture::Info info = picture ? store.InfoOf(*picture) : CPagePicture::Info();
    if (!info.valid) {
        PaintItemPicture(m_painter, box, nullptr, 0, 0, m_dpiX, m_dpiY);
        return;
    }
    const ImagePlacement placement
            = PlaceImage(box, info.units, image.horzAlignment, image.vertAlignment, m_dpiX, m_dpiY);
    // Picture units to the picture's own pixels; a whole picture maps exactly onto them.
    const double unitsWide = std::max(info.units.width(), 1);
    const double unitsHigh = std::max(info.units.height(), 1);
    const QRectF &part = placement.source;
    const QRect source = QRectF(part.x() * info.pixels.width() / unitsWide,
                                part.y() * info.pixels.height() / unitsHigh,
                                part.width() * info.pixels.width() / unitsWide,
                                part.height() * info.pixels.height() / unitsHigh)
                                 .toAlignedRect()
                                 .intersected(QRect(QPoint(0, 0), info.pixels));
    const QRectF target(placement.target.ToQRect());
    if (source.isEmpty() || target.isEmpty())
        return;
    // The pixels the target covers on the device, zoom and screen scale included, and no more
    // than the picture resolution asks for.
    const QTransform &transform = m_painter.worldTransform();
    const QPaintDevice *device = m_painter.device();
    const double ratio = device ? device->devicePixelRatio() : 1.0;
    double scaleX = std::hypot(transform.m11(), transform.m12()) * ratio;
    double scaleY = std::hypot(transform.m21(), transform.m22()) * ratio;
    if (m_pictureDpi > 0) {
        scaleX = std::min(scaleX, double(m_pictureDpi) / m_dpiX);
        scaleY = std::min(scaleY, double(m_pictureDpi) / m_dpiY);
    }
    const QSize size(int(std::ceil(target.width() * scaleX)),
                     int(std::ceil(target.height() * scaleY)));
    const QImage drawn = store.ImageOf(*picture, source, size);
    if (!drawn.isNull())
        m_painter.drawImage(target, drawn);
}

void CPagePainting::Draw(const CPageBarcode &barcode)
{
    m_painter.save();
    // A symbol of the barcode library lies inside its box, but for the font of its
    // human-readable line: only a box cut short (at the foot of a page) needs the clip then,
    // which a PDF writes as a path around every symbol.
    const CPageRect &box = barcode.box;
    const CPageRect &clip = barcode.clip;
    const bool inside = barcode.drawing && barcode.drawing->texts.empty() && clip.left <= box.left
            && clip.top <= box.top && box.right <= clip.right && box.bottom <= clip.bottom;
    if (!inside)
        m_painter.setClipRect(ToPixels(clip).ToQRect(), Qt::IntersectClip);
    if (barcode.drawing) {
        PaintBarcodeDrawing(
                m_painter, *barcode.drawing,
                QPointF(barcode.box.left * (m_dpiX / 2540.0), barcode.box.top * (m_dpiY / 2540.0)),
                m_dpiX / 2540.0, m_dpiY / 2540.0);
        m_painter.restore();
        return;
    }
    PaintEan13Symbol(m_painter,
                     LayoutEan13Symbol(barcode.value, barcode.box.left, barcode.box.top,
                                       barcode.box.right, barcode.box.bottom),
                     m_dpiX, m_dpiY);
    m_painter.restore();
}

void CPagePainting::Draw(const CPagePath &path)
{
    const bool stroked = qAlpha(path.stroke) > 0 && path.width > 0;
    const bool filled = path.closed && qAlpha(path.fill) > 0;
    if (path.points.size() < 2 || (!stroked && !filled))
        return;
    // Device units as fractions, not whole pixels: a PDF or SVG keeps the points as laid out.
    const double scaleX = m_dpiX / 2540.0;
    const double scaleY = m_dpiY / 2540.0;
    const CPageRect &box = path.box;
    QPainterPath drawn;
    drawn.moveTo((box.left + path.points.front().x) * scaleX,
                 (box.top + path.points.front().y) * scaleY);
    for (size_t i = 1; i < path.points.size(); ++i)
        drawn.lineTo((box.left + path.points[i].x) * scaleX, (box.top + path.points[i].y) * scaleY);
    if (path.closed)
        drawn.closeSubpath();
    QPen pen(Qt::NoPen);
    if (stroked) {
        pen = QPen(QColor::fromRgba(path.stroke), path.width * scaleX, Qt::SolidLine, Qt::FlatCap,
                   Qt::MiterJoin);
    }
    const QRectF frame(box.left * scaleX, box.top * scaleY, (box.right - box.left) * scaleX,
                       (box.bottom - box.top) * scaleY);
    // Cut only where the path reaches past its box: a miter may reach past half the width.
    const double reach = stroked ? pen.widthF() : 0.0;
    const bool cut = !frame.contains(drawn.boundingRect().adjusted(-reach, -reach, reach, reach));
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    if (cut)
        m_painter.setClipRect(frame, Qt::IntersectClip);
    m_painter.setPen(pen);
    m_painter.setBrush(filled ? QBrush(QColor::fromRgba(path.fill)) : QBrush(Qt::NoBrush));
    m_painter.drawPath(drawn);
    m_painter.restore();
}
