#include "reportcopy.h"

#include "bandstate.h"
#include "pagestate.h"
#include "vornreport.h"

std::unique_ptr<CVornReport> CopyReport(const CVornReport &report)
{
    auto copy = std::make_unique<CVornReport>();
    CPageState::Of(report).ApplyTo(*copy);
    copy->GetParameters() = report.GetParameters();
    for (const CVornBand *band : report.GetBands()) {
        auto *twin = new CVornBand(band->GetKind(), band->GetName());
        copy->GetBands().Add(twin);
        twin->SetSelected(band->IsSelected());
        CBandState::Of(*band).ApplyTo(*twin);
        for (const CVornItem *item : band->GetItems())
            twin->GetItems().Add(item->Clone().release());
    }
    return copy;
}
