#pragma once

#include <QPointF>

class QPainter;
struct CBarcodeDrawing;

// Draws a barcode whose box's top left corner lies at origin, in the painter's coordinates, at
// scaleX and scaleY of those per unit of the drawing: white under the symbol and its quiet
// zones, the bars black, the human-readable line in black Arial. The painter's state is left as
// it was found.
void PaintBarcodeDrawing(QPainter &painter, const CBarcodeDrawing &drawing, QPointF origin,
                         double scaleX, double scaleY);
