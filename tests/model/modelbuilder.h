#pragma once

#include "vornitems.h"
#include "vornreport.h"

// Terse construction of reports for the model tests.
namespace ModelBuilder {

inline CVornBand *AddBand(CVornReport &report, int kind, const QString &name, int height = 1000)
{
    auto *band = new CVornBand(kind, name);
    band->SetHeight(height);
    report.GetBands().Add(band);
    return band;
}

template<typename Item = CVornText>
Item *AddItem(CVornBand *band, const QString &name)
{
    auto *item = new Item;
    item->SetName(name);
    band->GetItems().Add(item);
    return item;
}

} // namespace ModelBuilder
