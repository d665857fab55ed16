#pragma once

#include <QFont>
#include <QStringView>

#include <functional>

class QPaintDevice;

// Sizing of the digits printed under a barcode. Heights are character heights in hundredths of
// a millimetre; 0 stands for the default font height.

// The search tries heights below this bound; a text that fits at every one of them gets
// BarcodeFontFallback.
constexpr int BarcodeFontSearchLimit = 100000;
constexpr int BarcodeFontFallback = 250;

// Bold "Arial" (a sans-serif face where that is missing) with the given character height,
// converted to whole pixels (at least 1) at dpiY; 0 keeps the default size.
QFont BarcodeFont(int height, int dpiY);

// Whether text set in BarcodeFont(height) on device is neither wider than |boxWidth| nor
// higher than |boxHeight| units. False when the device has no resolution to measure with.
bool BarcodeTextFits(const QPaintDevice &device, QStringView text, int height, qint64 boxWidth,
                     qint64 boxHeight);

// The height that trying 1, 2, 3, ... in turn would stop at: one below the first height that
// does not fit, or BarcodeFontFallback when every height below BarcodeFontSearchLimit fits.
// It probes doubling heights and then halves the gap, so it needs a predicate that, once false,
// stays false for larger heights (text extents grow with the font).
int LargestFittingHeight(const std::function<bool(int)> &fits);

// The largest character height at which text fits the box (left, top, right, bottom) in
// hundredths of a millimetre, 0 when even the smallest does not. The answer is remembered for
// the size of the last box asked about, whatever the text, and shared by every barcode: a box of
// that same size gets it back without measuring. Each thread keeps its own.
int FitBarcodeFont(const QPaintDevice &device, QStringView text, int left, int top, int right,
                   int bottom);
