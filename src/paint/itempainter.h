#pragma once

#include "picturecache.h"
#include "pixrect.h"

#include <QString>

class CTextMeasureCache;
class QFontMetrics;
class QBrush;
class QPen;
class QPainter;

// The content of one item drawn into its box of device pixels, the same on the design view,
// on an image at any resolution and on paper. The caller chooses the painter's font and pen
// for text and clips when the item must not draw outside its box.

// Draws text in box with the painter's font and pen. flags are the Qt alignment and wrapping
// flags (TextItemFlags); a wrapped text ignores the vertical flags and is moved down by hand
// after vertAlignment (WrappedTextTop). The wrapped height is asked from cache when given.
void PaintItemText(QPainter &painter, const PixRect &box, const QString &text, int flags,
                   int vertAlignment, CTextMeasureCache *cache = nullptr);

// What of text can show in box with the painter's font on its device (VisibleTextPart):
// laying a text out costs time and memory in its length, and a field may hold megabytes of
// which a box shows a few lines. Texts of up to 20,000 characters come back whole.
QString ItemTextShown(QPainter &painter, const PixRect &box, const QString &text, int flags);

// Where text is laid out in box: box itself for a single line, moved down after vertAlignment
// for a wrapped text.
PixRect ItemTextLayout(QPainter &painter, const PixRect &box, const QString &text, int flags,
                       int vertAlignment, CTextMeasureCache *cache = nullptr);

// The wrapped height of text in box with the painter's font, kept in cache when given.
int WrappedTextHeight(QPainter &painter, const PixRect &box, const QString &text, int flags,
                      CTextMeasureCache *cache = nullptr);
// The same with the metrics of a font on a device, for a layout that measures without painting:
// the height PaintItemText lays the text out in.
int WrappedTextHeight(const QFontMetrics &metrics, const PixRect &box, const QString &text,
                      int flags);

// A shape of the given type (1 rectangle, 2 rounded rectangle, 3 vertical line at the left
// edge, 4 horizontal line at the top edge, 5 ellipse; anything else draws nothing).
void PaintItemShape(QPainter &painter, const PixRect &box, int shapeType, const QPen &pen,
                    const QBrush &brush);

// A picture placed in box after its alignments (PlaceImage) at dpiX and dpiY; no picture, or
// one that did not decode, gives a white box crossed by its diagonals.
void PaintItemPicture(QPainter &painter, const PixRect &box, const CPictureCache::Picture *picture,
                      int horzAlignment, int vertAlignment, int dpiX, int dpiY);
