#pragma once

#include <algorithm>
#include <climits>

// Conversions between hundredths of a millimetre (2540 per inch, the unit of every report
// length) and device pixels at a given resolution. Both truncate toward zero, in the same order
// of operations as the page view uses, so a barcode lands on the pixels the view expects.

inline int UnitsToPixels(int units, int dpi)
{
    const double pixels = dpi * (units / 2540.0);
    return static_cast<int>(std::clamp(pixels, double(INT_MIN), double(INT_MAX)));
}

inline int PixelsToUnits(int pixels, int dpi)
{
    const double units = pixels / double(dpi) * 2540.0;
    return static_cast<int>(std::clamp(units, double(INT_MIN), double(INT_MAX)));
}
