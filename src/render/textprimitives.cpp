#include "dataformat.h"
#include "itemprimitives.h"
#include "vornitems.h"

namespace {

CPageText TextOf(const CVornText &item, const CPageRect &box, const CItemPlan &plan)
{
    CPageText text;
    text.box = box;
    text.font = plan.font;
    text.color = PageColor(item.GetColor());
    text.horzAlignment = item.GetHorzAlignment();
    text.vertAlignment = item.GetVertAlignment();
    text.wordWrap = item.GetWordWrap() != 0;
    text.source = plan.place;
    return text;
}

} // namespace

bool BuildTextPrimitives(const CVornItem &item, const CPageRect &box, CItemRow &row,
                         CBandContent &content)
{
    const auto &textItem = static_cast<const CVornText &>(item);
    CPageText text = TextOf(textItem, box, row.Plan());
    text.text = textItem.GetText();
    if (!text.text.isEmpty())
        content.Add(std::move(text));
    return true;
}

bool BuildDbTextPrimitives(const CVornItem &item, const CPageRect &box, CItemRow &row,
                           CBandContent &content)
{
    const auto &dbText = static_cast<const CVornDbText &>(item);
    const CItemPlan &plan = row.Plan();
    CPageText text = TextOf(dbText, box, plan);
    if (plan.field != CPageText::Field::None) {
        // The page number is written when the page is drawn.
        text.field = plan.field;
        text.format = plan.format;
        content.Add(std::move(text));
        return true;
    }
    QVariant value;
    const bool valued = row.HasTotal()
            ? row.Total(value)
            : row.Value(dbText.GetDataSource(), dbText.GetDataField(), dbText.GetQuery(), value);
    if (!valued)
        return false;
    text.text = plan.format ? plan.format->Format(value) : value.toString();
    if (content.band.body)
        content.band.values.push_back({plan.place.item, box.left, box.right, text.text, value});
    if (!text.text.isEmpty())
        content.Add(std::move(text));
    return true;
}
