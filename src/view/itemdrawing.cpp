#include "itemdrawing.h"

#include "kindtable.h"

const CItemDrawing *ItemDrawingOf(int code)
{
    // A new kind adds its drawings here, one line.
    static const CKindTable<CItemDrawing> drawings = [] {
        CKindTable<CItemDrawing> table;
        AddTextDrawings(table);
        AddShapeDrawings(table);
        AddImageDrawings(table);
        AddBarcodeDrawings(table);
        AddChartDrawings(table);
        return table;
    }();
    return drawings.Find(code);
}
