#pragma once

#include <QRect>
#include <QString>
#include <QStringView>

#include <vector>

class QPainter;

// The engine's EAN-13 symbol: at the same place and size on every device, as on paper. Unlike
// the design view's drawing (DrawEan13), which gives every module the same whole number of
// device pixels, the modules keep their width in hundredths of a millimetre: on a screen or a
// 96-dpi image they fall between pixels and are drawn antialiased. The digits are sized in
// report units and centred under the symbol's own modules, from the start guard's end to the
// end guard's start.
struct Ean13Symbol
{
    enum class Kind { Nothing, Symbol, CrossedBox };

    Kind kind = Kind::Nothing;
    QRect box; // the item's box, edges in order; for the crossed box
    QRect symbol; // the 95 modules, white under the bars
    std::vector<QRect> bars; // runs of neighbouring bars of one height, left to right
    QRect digitsBox; // where the digits are centred; empty when the box is too low for them
    int digitsHeight = 0; // character height of the digits; 0 when none fit
    QString digits;
};

// The parts of value's symbol in the box (left, top, right, bottom), all in hundredths of a
// millimetre with right and bottom exclusive: a valid value gives the symbol, any other
// non-empty value the crossed box, an empty one nothing.
Ean13Symbol LayoutEan13Symbol(QStringView value, int left, int top, int right, int bottom);

// Draws the symbol on a painter whose coordinates are device pixels at dpiX by dpiY pixels
// per inch: the bars black on white, the digits in bold, the crossed box in the thinnest line.
// The painter's state is left as it was found.
void PaintEan13Symbol(QPainter &painter, const Ean13Symbol &symbol, double dpiX, double dpiY);
