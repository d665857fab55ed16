#pragma once

#include <QLine>
#include <QRect>
#include <QStringView>

#include <array>
#include <vector>

// Where every part of one EAN-13 symbol goes, worked out without a device so that the drawing
// and the tests share the same numbers. Units are hundredths of a millimetre with y growing
// downward, as in the report; pixels are in the painter's coordinates, converted with
// UnitsToPixels at the given resolution.
struct Ean13Layout
{
    enum class Kind {
        Nothing, // empty value
        Symbol, // valid value: the modules, and the digits when the box is tall enough
        CrossedBox, // any other value
    };

    // A rectangle in units; right and bottom are exclusive.
    struct Box
    {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };

    struct Module
    {
        Box units;
        // On the device every module has the same whole number of pixels, (box width in
        // pixels) / 95, from the box's left pixel; the symbol never passes the box's right.
        QRect pixels;
        bool bar = false;
    };

    // Ninety-five modules from left to right: start guard, left half, centre guard, right half,
    // end guard.
    static constexpr int ModuleCount = 95;
    // A box at least this high (10 mm) prints the digits.
    static constexpr int DigitsMinHeight = 1000;

    Kind kind = Kind::Nothing;
    int pitch = 0; // width of every module in units: the box's width / 95
    bool digits = false;
    Box textUnits; // the digits' box, when digits is set
    QRect textPixels;
    std::array<Module, ModuleCount> modules {};
    std::vector<QLine> crossLines; // the crossed box; lines of no length are left out
};

// The layout of value in the box (left, top, right, bottom) at dpiX and dpiY pixels per inch.
// An inverted box is taken with its edges swapped.
Ean13Layout LayoutEan13(QStringView value, int left, int top, int right, int bottom, int dpiX,
                        int dpiY);
