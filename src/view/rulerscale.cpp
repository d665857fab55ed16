#include "rulerscale.h"

#include "pagegeometry.h"

#include <algorithm>

namespace RulerScale {

namespace {

// The first step of 1, 2, 5 times a power of ten that is at least `least` pixels long.
int StepOf(double pixelsPerMillimetre, int least, int smallest)
{
    for (int power = 1; power <= 1000000; power *= 10) {
        for (const int factor : {1, 2, 5}) {
            const int step = factor * power;
            if (step >= smallest && step * pixelsPerMillimetre >= least)
                return step;
        }
    }
    return 1000000;
}

} // namespace

int TickStep(double pixelsPerMillimetre)
{
    return StepOf(pixelsPerMillimetre, MinTickSpacing, 1);
}

int LabelStep(double pixelsPerMillimetre)
{
    return StepOf(pixelsPerMillimetre, MinLabelSpacing, 10);
}

std::vector<Tick> Ticks(const CPageGeometry &geometry, bool across, int length)
{
    std::vector<Tick> ticks;
    const double zoom = geometry.GetZoom();
    const PixRect area = geometry.GetBandArea();
    const int dpi = across ? geometry.DpiX() : geometry.DpiY();
    const double perMillimetre = dpi / 25.4 * zoom;
    if (!(perMillimetre > 0.0))
        return ticks;
    const int tickStep = TickStep(perMillimetre);
    const int labelStep = LabelStep(perMillimetre);
    // In viewport pixels: the page's edge less the scroll position.
    const int origin
            = across ? area.left - geometry.GetScroll().x() : area.top - geometry.GetScroll().y();
    const int extent = across ? area.Width() : area.Height();
    // Only the millimetres that can show: from the ruler's start to its end, on the page.
    const int firstPixel = std::max(0, -origin);
    const int lastPixel = std::min(extent, length - origin);
    if (firstPixel > lastPixel)
        return ticks;
    const int firstMillimetre = int(firstPixel / perMillimetre) / tickStep * tickStep;
    for (int mm = firstMillimetre;; mm += tickStep) {
        const int offset = across ? geometry.ModelToPixelsX(qint64(mm) * 100, zoom)
                                  : geometry.ModelToPixelsY(qint64(mm) * 100, zoom);
        if (offset > lastPixel)
            break;
        if (offset < firstPixel)
            continue;
        Tick tick;
        tick.position = origin + offset;
        if (mm % labelStep == 0) {
            tick.weight = 2;
            tick.label = QString::number(mm);
        } else if (mm % 5 == 0) {
            tick.weight = 1;
        }
        ticks.push_back(tick);
    }
    return ticks;
}

} // namespace RulerScale
