#include "itempainter.h"

#include "imageplacement.h"
#include "pixeldrawing.h"
#include "textitemlayout.h"
#include "textmeasurecache.h"

#include <QPaintDevice>
#include <QPainter>
#include <QTransform>

#include <algorithm>

int WrappedTextHeight(const QFontMetrics &metrics, const PixRect &box, const QString &text,
                      int flags)
{
    return metrics.boundingRect(box.ToQRect(), flags, text).height();
}

int WrappedTextHeight(QPainter &painter, const PixRect &box, const QString &text, int flags,
                      CTextMeasureCache *cache)
{
    const auto measure = [&] {
        return WrappedTextHeight(painter.fontMetrics(), box, text, flags);
    };
    if (!cache)
        return measure();
    // Measurements are kept between paints: laying text out costs as much as drawing it.
    const CTextMeasureCache::Key key {painter.font().key(),
                                      painter.device()->logicalDpiY(),
                                      text,
                                      box.Width(),
                                      box.Height(),
                                      flags};
    return cache->Height(key, measure);
}

PixRect ItemTextLayout(QPainter &painter, const PixRect &box, const QString &text, int flags,
                       int vertAlignment, CTextMeasureCache *cache)
{
    PixRect layout = box;
    // A wrapped text aligned to the top starts at the top whatever its height.
    if ((flags & Qt::TextWordWrap) && (vertAlignment == 1 || vertAlignment == 2)) {
        const int height = WrappedTextHeight(painter, box, text, flags, cache);
        layout.top = WrappedTextTop(box, height, vertAlignment);
    }
    return layout;
}

QString ItemTextShown(QPainter &painter, const PixRect &box, const QString &text, int flags)
{
    if (text.size() <= 20000)
        return text;
    int height = box.Height();
    if (const QPaintDevice *device = painter.device()) {
        bool invertible = false;
        const QTransform toLogical = painter.combinedTransform().inverted(&invertible);
        if (invertible)
            height = std::min(
                    height,
                    toLogical.mapRect(QRect(0, 0, device->width(), device->height())).height());
    }
    const qsizetype limit
            = VisibleTextLimit(box.Width(), height, painter.fontMetrics().lineSpacing());
    return VisibleTextPart(text, limit, flags);
}

void PaintItemText(QPainter &painter, const PixRect &box, const QString &text, int flags,
                   int vertAlignment, CTextMeasureCache *cache)
{
    const QString shown = ItemTextShown(painter, box, text, flags);
    const PixRect layout = ItemTextLayout(painter, box, shown, flags, vertAlignment, cache);
    if (!layout.IsEmpty())
        painter.drawText(layout.ToQRect(), flags, shown);
}

void PaintItemShape(QPainter &painter, const PixRect &box, int shapeType, const QPen &pen,
                    const QBrush &brush)
{
    switch (shapeType) {
    case 1:
        DrawRectangle(painter, box, pen, brush);
        break;
    case 2:
        DrawRoundRect(painter, box, 1, 1, pen, brush);
        break;
    case 3:
        DrawLine(painter, QPoint(box.left, box.top), QPoint(box.left, box.bottom), pen);
        break;
    case 4:
        DrawLine(painter, QPoint(box.left, box.top), QPoint(box.right, box.top), pen);
        break;
    case 5:
        DrawEllipse(painter, box, pen, brush);
        break;
    default:
        break;
    }
}

void PaintItemPicture(QPainter &painter, const PixRect &box, const CPictureCache::Picture *picture,
                      int horzAlignment, int vertAlignment, int dpiX, int dpiY)
{
    if (picture && !picture->image.isNull()) {
        const ImagePlacement placement
                = PlaceImage(box, picture->units, horzAlignment, vertAlignment, dpiX, dpiY);
        // Picture units to the image's own pixels; a whole picture maps exactly onto the image.
        const QImage &image = picture->image;
        const double unitsWide = std::max(picture->units.width(), 1);
        const double unitsHigh = std::max(picture->units.height(), 1);
        const QRectF &part = placement.source;
        const QRectF source(part.x() * image.width() / unitsWide,
                            part.y() * image.height() / unitsHigh,
                            part.width() * image.width() / unitsWide,
                            part.height() * image.height() / unitsHigh);
        painter.drawImage(QRectF(placement.target.ToQRect()), image, source);
        return;
    }
    // No picture, or bytes that are none: a white box crossed by its diagonals.
    const QPen pen = OutlinePen(Qt::black, 1);
    DrawRectangle(painter, box, pen, QBrush(Qt::white));
    DrawLine(painter, QPoint(box.left, box.top), QPoint(box.right, box.bottom), pen);
    DrawLine(painter, QPoint(box.right, box.top), QPoint(box.left, box.bottom), pen);
}
