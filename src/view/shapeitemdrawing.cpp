#include "itemdrawing.h"

#include "itempainter.h"
#include "kindtable.h"
#include "pixeldrawing.h"
#include "vornshape.h"

#include <QPainter>

namespace {

void DrawShape(const CVornItem &item, const PixRect &box, const CItemDrawContext &context)
{
    const auto &shape = static_cast<const CVornShape &>(item);
    // The line width is in device pixels, whatever the zoom.
    const QPen pen = OutlinePen(ColorFromColorRef(shape.GetColor()), shape.GetLineWidth(),
                                shape.GetLineStyle() == 2);
    PaintItemShape(context.painter, box, shape.GetShapeType(), pen,
                   QBrush(ColorFromColorRef(shape.GetBkColor())));
}

// The pen is centred on the box's edges and may be several pixels wide.
int ShapeReach(const CVornItem &item)
{
    return UsablePenWidth(static_cast<const CVornShape &>(item).GetLineWidth());
}

} // namespace

void AddShapeDrawings(CKindTable<CItemDrawing> &table)
{
    table.Add(CVornShape::Kind, {DrawShape, ShapeReach});
}
