#include "itemprimitives.h"
#include "kindtable.h"
#include "vornitems.h"

bool BuildShapePrimitives(const CVornItem &item, const CPageRect &box, CItemRow &row,
                          CBandContent &content)
{
    const auto &shapeItem = static_cast<const CVornShape &>(item);
    const int type = shapeItem.GetShapeType();
    if (type < 1 || type > 5)
        return true;
    CPageShape shape;
    shape.box = box;
    shape.kind = CPageShape::Kind(type);
    shape.color = row.Style().color.value_or(PageColor(item.GetColor()));
    shape.fill = row.Style().fill.value_or(PageColor(shapeItem.GetBkColor()));
    shape.lineWidth = shapeItem.GetLineWidth();
    shape.dotted = shapeItem.GetLineStyle() == 2;
    shape.source = row.Plan().place;
    content.Add(shape);
    return true;
}

void AddShapePrinting(CKindTable<CItemPrinting> &table)
{
    table.Add(CVornShape::Kind, {BuildShapePrimitives});
}
