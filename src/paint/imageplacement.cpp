#include "imageplacement.h"

#include <algorithm>

namespace {

enum class Align { Start, End, Center, Stretch };

struct Span
{
    int targetStart = 0;
    int targetSize = 0;
    qint64 sourceStart = 0;
    qint64 sourceSize = 0;
};

// One axis: the box runs from boxStart over boxSize pixels, the picture is units long.
Span PlaceAxis(int boxStart, int boxSize, qint64 units, Align align, int dpi)
{
    const qint64 natural = PictureNaturalPixels(units, dpi);
    if (align == Align::Stretch)
        return {boxStart, boxSize, 0, units};
    if (natural <= boxSize) {
        // The whole picture at natural size.
        int start = boxStart;
        if (align == Align::End)
            start = int(boxStart + boxSize - natural);
        else if (align == Align::Center)
            start = int(boxStart + (boxSize - natural) / 2);
        return {start, int(natural), 0, units};
    }
    // A box-sized part of the picture at natural scale: its start, its end or its middle,
    // converted to picture units half a pixel short.
    const qint64 length = (qint64(boxSize) * 2540 - 1270) / dpi;
    qint64 offset = 0;
    if (align == Align::End)
        offset = ((natural - boxSize) * 2540 - 1270) / dpi;
    else if (align == Align::Center)
        offset = ((natural - boxSize) / 2 * 2540 - 1270) / dpi;
    // A picture one pixel larger than its box, centred, would start half a pixel before its
    // own first column.
    offset = std::max<qint64>(offset, 0);
    return {boxStart, boxSize, offset, length};
}

Align HorzAlign(int code)
{
    switch (code) {
    case 0:
        return Align::Start;
    case 1:
        return Align::End;
    case 2:
        return Align::Center;
    default:
        return Align::Stretch;
    }
}

Align VertAlign(int code)
{
    switch (code) {
    case 0:
        return Align::Start;
    case 1:
        return Align::Center;
    case 2:
        return Align::End;
    default:
        return Align::Stretch;
    }
}

} // namespace

int PictureNaturalPixels(qint64 units, int dpi)
{
    return int(std::clamp<qint64>((units * dpi + 1270) / 2540, 0, 1 << 28));
}

ImagePlacement PlaceImage(const PixRect &box, QSize sizeUnits, int horzAlignment, int vertAlignment,
                          int dpiX, int dpiY)
{
    const Span x
            = PlaceAxis(box.left, box.Width(), sizeUnits.width(), HorzAlign(horzAlignment), dpiX);
    const Span y
            = PlaceAxis(box.top, box.Height(), sizeUnits.height(), VertAlign(vertAlignment), dpiY);
    ImagePlacement placement;
    placement.target = {x.targetStart, y.targetStart, x.targetStart + x.targetSize,
                        y.targetStart + y.targetSize};
    placement.source = QRectF(double(x.sourceStart), double(y.sourceStart), double(x.sourceSize),
                              double(y.sourceSize));
    return placement;
}
