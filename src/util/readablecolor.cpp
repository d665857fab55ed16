#include "readablecolor.h"

#include <algorithm>
#include <cmath>

namespace {

struct Rgb
{
    double r, g, b; // 0 to 1
};

Rgb FromColorRef(quint32 ref)
{
    return {double(ref & 0xFF) / 255.0, double((ref >> 8) & 0xFF) / 255.0,
            double((ref >> 16) & 0xFF) / 255.0};
}

quint32 ToColorRef(const Rgb &c)
{
    const auto byte = [](double v) {
        return quint32(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
    };
    return byte(c.r) | (byte(c.g) << 8) | (byte(c.b) << 16);
}

double Luminance(const Rgb &c)
{
    return 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b;
}

double HueToChannel(double p, double q, double t)
{
    if (t < 0)
        t += 1;
    if (t > 1)
        t -= 1;
    if (t < 1.0 / 6)
        return p + (q - p) * 6 * t;
    if (t < 0.5)
        return q;
    if (t < 2.0 / 3)
        return p + (q - p) * (2.0 / 3 - t) * 6;
    return p;
}

} // namespace

quint32 ReadableColorRef(quint32 colorRef, quint32 backgroundRef)
{
    if (Luminance(FromColorRef(backgroundRef)) >= 0.5)
        return colorRef;

    // Hue, saturation and lightness of the colour.
    const Rgb c = FromColorRef(colorRef);
    const double high = std::max({c.r, c.g, c.b});
    const double low = std::min({c.r, c.g, c.b});
    const double lightness = (high + low) / 2;
    double hue = 0;
    double saturation = 0;
    if (high > low) {
        const double d = high - low;
        saturation = lightness > 0.5 ? d / (2 - high - low) : d / (high + low);
        if (high == c.r)
            hue = (c.g - c.b) / d + (c.g < c.b ? 6 : 0);
        else if (high == c.g)
            hue = (c.b - c.r) / d + 2;
        else
            hue = (c.r - c.g) / d + 4;
        hue /= 6;
    }

    // Dark colours move up into the light half; light ones stay.
    const double lighter = 0.6 + 0.4 * lightness;
    if (lighter <= lightness)
        return colorRef;
    if (saturation == 0)
        return ToColorRef({lighter, lighter, lighter});
    const double q = lighter < 0.5 ? lighter * (1 + saturation)
                                   : lighter + saturation - lighter * saturation;
    const double p = 2 * lighter - q;
    return ToColorRef({HueToChannel(p, q, hue + 1.0 / 3), HueToChannel(p, q, hue),
                       HueToChannel(p, q, hue - 1.0 / 3)});
}
