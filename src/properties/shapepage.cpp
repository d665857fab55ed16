#include "itemproperties.h"

#include "kindtable.h"
#include "optionlist.h"
#include "propertyid.h"
#include "rowbuilders.h"
#include "vornshape.h"

using namespace Qt::StringLiterals;

namespace {

using namespace PropertyEdits;
using namespace PropertyRows;

QList<CPropertyRow> ShapePage(const CVornReport &, const CVornShape &item, int)
{
    return {
            Row(RowId::Object, "(Object)", Tr("Shape"), PropertyRowKind::ReadOnly),
            OptionRow(RowId::ShapeType, "Shape Type", VornOptions::ShapeType(), item.GetShapeType(),
                      "One of: Rectangle, Rounded Rectangle, Vertical Line, Horizontal Line, "
                      "Ellipse"),
            NameRow(item),
            PositionRow(item),
            ColorRow(RowId::Color, "Color", item.GetColor(), "Specifies the shape color"),
            ColorRow(RowId::BkColor, "Background Color", item.GetBkColor(),
                     "Specifies the shape background color"),
            OptionRow(RowId::LineStyle, "Line Style", VornOptions::LineStyle(), item.GetLineStyle(),
                      "Please select one pen style from the list"),
            PrintWhenRow(item.GetPrintWhen()),
            StylesRow(item),
    };
}

CEditResult ShapeEdit(const CVornReport &report, CVornShape &item, const CRowEdit &edit, int)
{
    if (std::optional<CEditResult> result = CommonItemEdit(report, item, edit))
        return *result;
    if (Is(edit, RowId::Color)) {
        item.SetColor(edit.color);
        return Changed();
    }
    if (Is(edit, RowId::BkColor)) {
        item.SetBkColor(edit.color);
        return Changed();
    }
    if (Is(edit, RowId::ShapeType))
        return Changed(SetOption(edit.value, VornOptions::ShapeType(),
                                 [&item](int code) { item.SetShapeType(code); }));
    if (Is(edit, RowId::LineStyle))
        return Changed(SetOption(edit.value, VornOptions::LineStyle(),
                                 [&item](int code) { item.SetLineStyle(code); }));
    return CEditResult();
}

} // namespace

void AddShapeProperties(CKindTable<CItemProperties> &table)
{
    table.Add(CVornShape::Kind, PropertiesOf<CVornShape, ShapePage, ShapeEdit>());
}
