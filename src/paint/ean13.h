#pragma once

#include <QStringView>

#include <array>

class QPainter;

// The EAN-13 barcode of a report: validation, encoding and drawing of one value.
// Nothing here knows the report model; the painters hand in the text and the box.

// Check digit of the first 12 characters of a value (fewer are summed as they are). Every
// character counts as its code minus the code of '0'; the result is always 0 to 9.
int Ean13CheckDigit(QStringView first12);

// True when the value is 13 decimal digits ('0' to '9') whose last one is the check digit of
// the others. Any other text cannot be printed as a symbol and is shown as a crossed box.
bool IsValidEan13(QStringView value);

// The 84 modules of the two halves, 1 for a bar and 0 for a space: entries 0 to 41 hold
// characters 2 to 7 in set A or B as the first character's parity pattern says, entries 42 to
// 83 characters 8 to 13 in set C. A character that is not a decimal digit (or is missing)
// leaves its seven modules 0; a first character that is not a digit selects no parity pattern
// and so blanks the whole left half.
std::array<int, 84> EncodeEan13(QStringView value13);

// Draws value into the box (left, top, right, bottom), given in hundredths of a millimetre with
// y growing downward and converted to pixels of the painter's current coordinate system with the
// device's logical resolution:
// - a valid value (IsValidEan13) gives the 95 modules from left, each the same whole number of
//   device pixels wide (the box's width in pixels / 95), so that the symbol stays inside the box
//   at any resolution, the printer's included; when the box is at least
//   10 mm high the digits are printed in its lower four elevenths and the bars above them stop
//   short, only the outer guards running to the bottom;
// - any other non-empty value gives the box with its four sides and both diagonals;
// - an empty value draws nothing.
// The painter's state (pen, brush, font, background, transform) is left as it was found.
void DrawEan13(QPainter &painter, QStringView value, int left, int top, int right, int bottom);
