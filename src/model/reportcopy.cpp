#include "reportcopy.h"

#include "vornreport.h"

std::unique_ptr<CVornReport> CopyReport(const CVornReport &report)
{
    auto copy = std::make_unique<CVornReport>();
    copy->SetTitle(report.GetTitle());
    copy->SetWidth(report.GetWidth());
    copy->SetHeight(report.GetHeight());
    copy->SetDatabaseType(report.GetDatabaseType());
    copy->SetPortrait(report.GetPortrait());
    copy->SetConnectString(report.GetConnectString());
    copy->GetParameters() = report.GetParameters();
    for (const CVornBand *band : report.GetBands()) {
        auto *twin = new CVornBand(band->GetKind(), band->GetName());
        copy->GetBands().Add(twin);
        twin->SetSelected(band->IsSelected());
        twin->SetHeight(band->GetHeight());
        twin->SetPrintOnFirstPage(band->GetPrintOnFirstPage());
        twin->SetHeader(band->GetHeader());
        twin->SetFooter(band->GetFooter());
        twin->SetDatabaseQuery(band->GetDatabaseQuery());
        twin->SetParentDataSource(band->GetParentDataSource());
        for (const CVornItem *item : band->GetItems())
            twin->GetItems().Add(item->Clone().release());
    }
    return copy;
}
