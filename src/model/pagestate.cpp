#include "pagestate.h"

#include "vornreport.h"

CPageState CPageState::Of(const CVornReport &report)
{
    return {report.GetTitle(),        report.GetWidth(),    report.GetHeight(),
            report.GetDatabaseType(), report.GetPortrait(), report.GetConnectString(),
            report.GetLocale()};
}

void CPageState::ApplyTo(CVornReport &report) const
{
    report.SetTitle(title);
    report.SetWidth(width);
    report.SetHeight(height);
    report.SetDatabaseType(databaseType);
    report.SetPortrait(portrait);
    report.SetConnectString(connectString);
    report.SetLocale(locale);
}
