#pragma once

#include "pixrect.h"

class QPainter;
class CPageGeometry;
class CPaintCache;
class CVornItem;
template<typename Entry>
class CKindTable;

// What a kind's drawing in the design view draws with: the page painter's painter (clipped to
// the item), its geometry, its cache of pictures and text measurements and its zoom.
struct CItemDrawContext
{
    QPainter &painter;
    const CPageGeometry &geometry;
    CPaintCache &cache;
    double zoom;
};

// How the design view draws the items of one kind.
struct CItemDrawing
{
    // Draws the item into its box (in pixels).
    void (*draw)(const CVornItem &item, const PixRect &box, const CItemDrawContext &context);
    // How many pixels the drawing reaches out of the box on every side (a shape's pen), or
    // null for a kind that stays inside it.
    int (*reach)(const CVornItem &item) = nullptr;
};

// The drawing of the kind of that code; null for a kind the view draws nothing for.
const CItemDrawing *ItemDrawingOf(int code);

// Each kind family's drawings, added by its own file.
void AddTextDrawings(CKindTable<CItemDrawing> &table);
void AddShapeDrawings(CKindTable<CItemDrawing> &table);
void AddImageDrawings(CKindTable<CItemDrawing> &table);
void AddBarcodeDrawings(CKindTable<CItemDrawing> &table);
void AddChartDrawings(CKindTable<CItemDrawing> &table);
