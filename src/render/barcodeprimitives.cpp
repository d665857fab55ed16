#include "itemprimitives.h"
#include "vornitems.h"

namespace {

void AddBarcode(QString value, const CPageRect &box, const CItemPlan &plan, CBandContent &content)
{
    if (value.isEmpty())
        return;
    CPageBarcode barcode;
    barcode.box = box;
    barcode.clip = box;
    barcode.value = std::move(value);
    barcode.source = plan.place;
    content.Add(std::move(barcode));
}

} // namespace

bool BuildBarcodePrimitives(const CVornItem &item, const CPageRect &box, CItemRow &row,
                            CBandContent &content)
{
    AddBarcode(static_cast<const CVornBarcode &>(item).GetBarcode(), box, row.Plan(), content);
    return true;
}

bool BuildDbBarcodePrimitives(const CVornItem &item, const CPageRect &box, CItemRow &row,
                              CBandContent &content)
{
    const auto &dbBarcode = static_cast<const CVornDbBarcode &>(item);
    QVariant value;
    if (!row.Value(dbBarcode.GetDataSource(), dbBarcode.GetDataField(), {}, value))
        return false;
    AddBarcode(value.toString().trimmed(), box, row.Plan(), content);
    return true;
}
