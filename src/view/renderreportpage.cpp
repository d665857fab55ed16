#include "renderreportpage.h"

#include "pagegeometry.h"
#include "pagepainter.h"

#include <QPainter>

#include <cmath>

QImage RenderReportPage(const CVornReport &report, QSize clientSize, bool grid, int dpi)
{
    if (dpi <= 0)
        dpi = 96;
    const QSize total = CPageGeometry::TotalScrollSize(report, dpi, dpi);
    const QSize size = clientSize.isEmpty() ? total : clientSize;
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    // Dots per metre such that the image reports exactly dpi as its logical resolution.
    const int dotsPerMetre = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(QColor(CPagePainter::BackgroundColor));

    const CPageGeometry geometry(report, dpi, dpi, {0, 0, size.width(), size.height()},
                                 QPoint(0, 0), total);
    QPainter painter(&image);
    CPagePainter(painter, geometry, report, grid).Paint();
    return image;
}
