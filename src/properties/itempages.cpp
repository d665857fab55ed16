#include "itempages.h"

#include "itemproperties.h"
#include "vornitem.h"

std::optional<QList<CPropertyRow>> ItemPage(const CVornReport &report, const CVornElement *current,
                                            int screenDpiY)
{
    const auto *item = dynamic_cast<const CVornItem *>(current);
    const CItemProperties *properties = item ? ItemPropertiesOf(item->GetKind()) : nullptr;
    if (!properties)
        return std::nullopt;
    return properties->page(report, *item, screenDpiY);
}
