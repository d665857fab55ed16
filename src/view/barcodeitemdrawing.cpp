#include "itemdrawing.h"

#include "barcodedrawing.h"
#include "barcodepainting.h"
#include "barcodesymbology.h"
#include "ean13.h"
#include "itempainter.h"
#include "kindtable.h"
#include "pagegeometry.h"
#include "pagepainter.h"
#include "vorndbbarcode.h"

#include <QPainter>

namespace {

void DrawBarcode(const CVornItem &barcodeItem, const PixRect &box, const CItemDrawContext &context)
{
    const auto &item = static_cast<const CVornBarcode &>(barcodeItem);
    const CPageGeometry &geometry = context.geometry;
    const int symbology = item.GetSymbology();
    if (symbology != BarcodeSymbology::Ean13) {
        // The symbol laid out in the item's size in model units and scaled onto its pixels,
        // as the engine lays it out on paper; a value it cannot print is crossed out.
        const QString value = item.GetBarcode().isEmpty() ? BarcodeSymbology::SampleValue(symbology)
                                                          : item.GetBarcode();
        const int width = item.GetRight() - item.GetLeft();
        const int height = item.GetBottom() - item.GetTop();
        CBarcodeDrawing drawing;
        QString problem;
        if (width <= 0 || height <= 0)
            return;
        if (MakeBarcodeDrawing({symbology, item.GetEccLevel(), item.GetShowText() != 0}, value,
                               width, height, drawing, problem))
            PaintBarcodeDrawing(context.painter, drawing, QPointF(box.left, box.top),
                                double(box.Width()) / width, double(box.Height()) / height);
        else
            PaintItemPicture(context.painter, box, nullptr, 0, 0, geometry.DpiX(), geometry.DpiY());
        return;
    }
    const QString &value
            = item.GetBarcode().isEmpty() ? CPagePainter::SampleBarcode : item.GetBarcode();
    // The renderer works in model units; the box converted without the zoom lands on the very
    // pixels drawn for the item.
    DrawEan13(context.painter, value, geometry.PixelsToModelX(box.left),
              geometry.PixelsToModelY(box.top), geometry.PixelsToModelX(box.right),
              geometry.PixelsToModelY(box.bottom));
}

} // namespace

void AddBarcodeDrawings(CKindTable<CItemDrawing> &table)
{
    table.Add(CVornBarcode::Kind, {DrawBarcode});
    table.Add(CVornDbBarcode::Kind, {DrawBarcode});
}
