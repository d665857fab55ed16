#include "reportsnapshot.h"

#include "bandstate.h"
#include "pagestate.h"
#include "vornreport.h"

std::shared_ptr<const CVornReport> SnapshotOf(const CVornReport &report)
{
    auto copy = std::make_shared<CVornReport>();
    // The history's own copies of the report's and the bands' fields: whatever an edit can
    // change, they hold.
    CPageState::Of(report).ApplyTo(*copy);
    copy->GetParameters() = report.GetParameters();
    for (const CVornBand *band : report.GetBands()) {
        auto *bandCopy = new CVornBand(band->GetKind());
        copy->GetBands().Add(bandCopy);
        CBandState::Of(*band).ApplyTo(*bandCopy);
        for (const CVornItem *item : band->GetItems()) {
            std::unique_ptr<CVornItem> itemCopy = item->Clone();
            itemCopy->SetSelected(false);
            bandCopy->GetItems().Add(itemCopy.release());
        }
    }
    return copy;
}
