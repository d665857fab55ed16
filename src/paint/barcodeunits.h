#pragma once

#include <algorithm>
#include <climits>
#include <cmath>

// Conversions between hundredths of a millimetre (2540 per inch, the unit of every report
// length) and device pixels at a given resolution, for the barcode renderer.
//
// The page view hands the renderer its box converted from pixels to units with truncation
// (PixelsToUnits, the view's own conversion). Going back, units are rounded to the nearest
// pixel, as a metric device mapping does: truncating both ways would put the symbol up to a
// pixel left of and above its box, where the item's clipping cuts it off.

inline int UnitsToPixels(int units, int dpi)
{
    const double pixels = std::round(dpi * (units / 2540.0));
    return static_cast<int>(std::clamp(pixels, double(INT_MIN), double(INT_MAX)));
}

inline int PixelsToUnits(int pixels, int dpi)
{
    const double units = pixels / double(dpi) * 2540.0;
    return static_cast<int>(std::clamp(units, double(INT_MIN), double(INT_MAX)));
}
