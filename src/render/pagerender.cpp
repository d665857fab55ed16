#include "pagerender.h"

#include "pagecontent.h"
#include "pagemodel.h"
#include "pagepainting.h"

#include <QPainter>

#include <cmath>

void PaintPage(QPainter &painter, const CPageModel &model, int index, const QRectF &target)
{
    const std::shared_ptr<const CPage> page = model.GetPage(index);
    const QSize size = model.GetPageSize();
    const QPaintDevice *device = painter.device();
    if (!page || !device || size.width() <= 0 || size.height() <= 0 || target.width() <= 0)
        return;
    const int dpiX = device->logicalDpiX();
    const int dpiY = device->logicalDpiY();
    // The page is drawn in pixels of the device's resolution, scaled to fill target's width.
    const double pageWidth = size.width() * (dpiX / 2540.0);
    const double scale = target.width() / pageWidth;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(scale, scale);
    painter.fillRect(QRectF(0, 0, pageWidth, size.height() * (dpiY / 2540.0)), Qt::white);
    painter.setClipRect(QRectF(0, 0, pageWidth, size.height() * (dpiY / 2540.0)),
                        Qt::IntersectClip);
    CPagePainting(painter, dpiX, dpiY).Paint(*page, index + 1, model.GetPageCount());
    painter.restore();
}

QImage RenderPageImage(const CPageModel &model, int index, int dpi)
{
    const std::shared_ptr<const CPage> page = model.GetPage(index);
    if (!page)
        return {};
    return RenderPageImage(*page, model.GetPageSize(), index + 1, model.GetPageCount(), dpi);
}

QImage RenderPageImage(const CPage &page, QSize size, int number, int count, int dpi)
{
    if (size.width() <= 0 || size.height() <= 0)
        return {};
    if (dpi <= 0)
        dpi = 96;
    const double width = std::ceil(size.width() * (dpi / 2540.0));
    const double height = std::ceil(size.height() * (dpi / 2540.0));
    // An A4 page at 1200 dpi is 140 million pixels; a larger request gets no image rather
    // than gigabytes of memory.
    if (width * height > 1.5e8)
        return {};
    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    // Dots per metre such that the image reports exactly dpi as its logical resolution.
    const int dotsPerMetre = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    QPainter painter(&image);
    CPagePainting(painter, image.logicalDpiX(), image.logicalDpiY()).Paint(page, number, count);
    return image;
}
