#pragma once

#include <QString>

#include <vector>

class CPageGeometry;

// The scale of the design view's rulers: millimetres from the page's left edge (across) or its
// top edge (down), at the pixels where the view draws them at the present zoom and scroll
// position. A tick every millimetre where they are at least MinTickSpacing pixels apart (else
// every 2, 5, 10 ... millimetres), a number every 10 millimetres where the numbers have room
// (else every 20, 50, 100 ...).
namespace RulerScale {

constexpr int MinTickSpacing = 3;
constexpr int MinLabelSpacing = 30;

struct Tick
{
    // Pixel along the ruler, in client coordinates of the view's viewport.
    int position = 0;
    // 0 a plain tick, 1 a tick at every 5 millimetres, 2 a tick with a number.
    int weight = 0;
    // The number of millimetres, on ticks of weight 2.
    QString label;
    friend bool operator==(const Tick &, const Tick &) = default;
};

// The steps between ticks and between numbers, in millimetres, at this many pixels per
// millimetre.
int TickStep(double pixelsPerMillimetre);
int LabelStep(double pixelsPerMillimetre);

// The ticks of the ruler across (across = true) or down the page that fall inside a ruler of
// this length in pixels, from the page's edge to its far edge (down the page, to the last band
// when the bands run past the page).
std::vector<Tick> Ticks(const CPageGeometry &geometry, bool across, int length);

} // namespace RulerScale
