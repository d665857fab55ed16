#include "dataformat.h"
#include "exprvalue.h"
#include "itemprimitives.h"
#include "kindtable.h"
#include "vornitems.h"

namespace {

CPageText TextOf(const CVornText &item, const CPageRect &box, CItemRow &row)
{
    const CItemPlan &plan = row.Plan();
    const CItemStyle &style = row.Style();
    CPageText text;
    text.box = box;
    text.font = style.font >= 0 ? style.font : plan.font;
    text.color = style.color.value_or(PageColor(item.GetColor()));
    text.horzAlignment = item.GetHorzAlignment();
    text.vertAlignment = item.GetVertAlignment();
    text.wordWrap = item.GetWordWrap() != 0;
    text.source = plan.place;
    return text;
}

// A style rule's background: a filled box under the text.
void AddBackground(const CPageRect &box, CItemRow &row, CBandContent &content)
{
    const std::optional<QRgb> &fill = row.Style().fill;
    if (!fill)
        return;
    CPageShape shape;
    shape.box = box;
    shape.color = *fill;
    shape.fill = *fill;
    shape.source = row.Plan().place;
    content.Add(shape);
}

// A computed value as a spreadsheet keeps it: numbers as numbers, dates as dates.
QVariant TypedValue(const CExprValue &value)
{
    QVariant typed = value.ToVariant();
    if (value.GetType() == CExprValue::Type::Number && typed.typeId() == QMetaType::QString)
        return typed.toDouble();
    return typed;
}

} // namespace

bool BuildTextPrimitives(const CVornItem &item, const CPageRect &box, CItemRow &row,
                         CBandContent &content)
{
    const auto &textItem = static_cast<const CVornText &>(item);
    CPageText text = TextOf(textItem, box, row);
    text.text = textItem.GetText();
    AddBackground(box, row, content);
    if (!text.text.isEmpty())
        content.Add(std::move(text));
    return true;
}

bool BuildDbTextPrimitives(const CVornItem &item, const CPageRect &box, CItemRow &row,
                           CBandContent &content)
{
    const auto &dbText = static_cast<const CVornDbText &>(item);
    const CItemPlan &plan = row.Plan();
    CPageText text = TextOf(dbText, box, row);
    AddBackground(box, row, content);
    if (plan.field != CPageText::Field::None) {
        // The page number is written when the page is drawn.
        text.field = plan.field;
        text.format = plan.format;
        content.Add(std::move(text));
        return true;
    }
    QVariant value;
    if (row.HasExpression()) {
        CExprValue computed;
        std::shared_ptr<const CPageFieldValue> onPage;
        if (!row.Evaluate(computed, onPage))
            return false;
        if (onPage) {
            text.field = CPageText::Field::Computed;
            text.computed = std::move(onPage);
            content.Add(std::move(text));
            return true;
        }
        if (!row.Write(computed, text.text))
            return false;
        value = TypedValue(computed);
    } else {
        const bool valued = row.HasTotal()
                ? row.Total(value)
                : row.Value(dbText.GetDataSource(), dbText.GetDataField(), dbText.GetQuery(),
                            value);
        if (!valued || !row.Write(value, text.text))
            return false;
    }
    if (content.band.body)
        content.band.values.push_back({plan.place.item, box.left, box.right, text.text, value});
    if (!text.text.isEmpty())
        content.Add(std::move(text));
    return true;
}

void AddTextPrinting(CKindTable<CItemPrinting> &table)
{
    table.Add(CVornText::Kind, {BuildTextPrimitives});
    table.Add(CVornDbText::Kind, {BuildDbTextPrimitives});
}
