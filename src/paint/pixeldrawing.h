#pragma once

#include "pixrect.h"

#include <QColor>
#include <QPen>

class QBrush;
class QPainter;

// Drawing primitives with the pixel rules the page drawing is defined by, on a painter with
// antialiasing off:
// - a filled rectangle covers the columns left .. right - 1 and the rows top .. bottom - 1;
// - a rectangle, rounded rectangle or ellipse drawn with a 1-pixel pen puts its outline on its
//   left and top edges and one pixel short of its right and bottom edges, and fills the inside;
//   wider pens are centred on that outline;
// - a line covers its start point but not its end point.

// A colour stored as 0x00BBGGRR: red in the low byte.
QColor ColorFromColorRef(quint32 colorRef);

// A pen width in device pixels as drawn: below 1 counts as 1, and no pen is wider than 65536
// pixels, far more than any screen, so that a damaged value cannot overflow the arithmetic.
int UsablePenWidth(int width);

// The pen of a shape or outline: width as UsablePenWidth gives it, dotted or solid.
// Lines of 1 pixel end short of their end point; wider ones get round ends and joins.
QPen OutlinePen(const QColor &color, int width, bool dotted = false);

void FillPixRect(QPainter &painter, const PixRect &rect, const QColor &color);
void DrawRectangle(QPainter &painter, const PixRect &rect, const QPen &pen, const QBrush &brush);
// Corners rounded by ellipses radiusX * 2 wide and radiusY * 2 high.
void DrawRoundRect(QPainter &painter, const PixRect &rect, int radiusX, int radiusY,
                   const QPen &pen, const QBrush &brush);
void DrawEllipse(QPainter &painter, const PixRect &rect, const QPen &pen, const QBrush &brush);
void DrawLine(QPainter &painter, QPoint from, QPoint to, const QPen &pen);
