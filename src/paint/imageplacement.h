#pragma once

#include "pixrect.h"

#include <QRectF>
#include <QSize>

// Where a picture goes in an Image item's box. The picture keeps its natural size (from its own
// resolution, not scaled by the zoom) unless the alignment stretches it; a picture larger than
// its box along an axis shows a box-sized part of itself at natural scale.
struct ImagePlacement
{
    PixRect target; // view pixels
    QRectF source; // the part of the picture shown, in hundredths of a millimetre from its top left
};

// The natural size of a picture in pixels at dpi: its size in hundredths of a millimetre,
// rounded to whole pixels.
int PictureNaturalPixels(qint64 units, int dpi);

// Placement in box of a picture sizeUnits large (hundredths of a millimetre). Horizontal
// alignment codes: 0 Left, 1 Right, 2 Center, anything else Stretch; vertical: 0 Top, 1 Center,
// 2 Bottom, anything else Stretch.
ImagePlacement PlaceImage(const PixRect &box, QSize sizeUnits, int horzAlignment, int vertAlignment,
                          int dpiX, int dpiY);
