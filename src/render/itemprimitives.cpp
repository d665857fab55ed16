#include "itemprimitives.h"

#include "kindtable.h"
#include "pixeldrawing.h"

const CItemPrinting *ItemPrintingOf(int code)
{
    // A new kind adds its printing here, one line.
    static const CKindTable<CItemPrinting> printings = [] {
        CKindTable<CItemPrinting> table;
        AddTextPrinting(table);
        AddShapePrinting(table);
        AddImagePrinting(table);
        AddBarcodePrinting(table);
        AddChartPrinting(table);
        return table;
    }();
    return printings.Find(code);
}

QRgb PageColor(quint32 colorRef)
{
    return ColorFromColorRef(colorRef).rgb();
}
