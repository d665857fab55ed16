#include "barcodefont.h"

#include "barcodeunits.h"

#include <QFontMetrics>
#include <QPaintDevice>

#include <algorithm>
#include <cstdlib>

namespace {

// The last box sized and its height; a fresh cache answers 0 for an empty box, which is what
// the search gives for it too.
struct FontCache
{
    qint64 width = 0;
    qint64 height = 0;
    int result = 0;
};

// One per thread: a page may be drawn on paper in a worker while the view paints.
thread_local FontCache s_fontCache;

} // namespace

QFont BarcodeFont(int height, int dpiY)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Bold);
    if (height > 0)
        font.setPixelSize(std::max(1, qRound(height * (dpiY / 2540.0))));
    return font;
}

bool BarcodeTextFits(const QPaintDevice &device, QStringView text, int height, qint64 boxWidth,
                     qint64 boxHeight)
{
    const int dpiX = device.logicalDpiX();
    const int dpiY = device.logicalDpiY();
    if (dpiX <= 0 || dpiY <= 0)
        return false;
    const QFontMetrics metrics(BarcodeFont(height, dpiY), &device);
    const int textWidth = PixelsToUnits(metrics.horizontalAdvance(text.toString()), dpiX);
    const int textHeight = PixelsToUnits(metrics.height(), dpiY);
    return textWidth <= std::abs(boxWidth) && textHeight <= std::abs(boxHeight);
}

int LargestFittingHeight(const std::function<bool(int)> &fits)
{
    constexpr int last = BarcodeFontSearchLimit - 1;
    // Small boxes are the rule, so the probes start low and double instead of bisecting the
    // whole range, which would also measure fonts metres high.
    int good = 0; // 0 stands in for "nothing fits yet"
    int probe = 1;
    while (fits(probe)) {
        if (probe == last)
            return BarcodeFontFallback;
        good = probe;
        probe = std::min(probe * 2, last);
    }
    int bad = probe;
    while (bad - good > 1) {
        const int middle = good + (bad - good) / 2;
        if (fits(middle))
            good = middle;
        else
            bad = middle;
    }
    return good;
}

int FitBarcodeFont(const QPaintDevice &device, QStringView text, int left, int top, int right,
                   int bottom)
{
    const qint64 width = qint64(right) - left;
    const qint64 height = qint64(bottom) - top;
    if (width == s_fontCache.width && height == s_fontCache.height)
        return s_fontCache.result;
    s_fontCache.width = width;
    s_fontCache.height = height;
    s_fontCache.result = LargestFittingHeight(
            [&](int n) { return BarcodeTextFits(device, text, n, width, height); });
    return s_fontCache.result;
}
