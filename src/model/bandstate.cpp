#include "bandstate.h"

#include "vornband.h"

CBandState CBandState::Of(const CVornBand &band)
{
    return {band.GetName(),
            band.GetHeight(),
            band.GetPrintOnFirstPage(),
            band.GetHeader(),
            band.GetFooter(),
            band.GetDatabaseQuery(),
            band.GetParentDataSource(),
            band.GetPrintWhen(),
            band.GetPaging()};
}

void CBandState::ApplyTo(CVornBand &band) const
{
    band.SetName(name);
    band.SetHeight(height);
    band.SetPrintOnFirstPage(printOnFirstPage);
    band.SetHeader(header);
    band.SetFooter(footer);
    band.SetDatabaseQuery(databaseQuery);
    band.SetParentDataSource(parentDataSource);
    band.SetPrintWhen(printWhen);
    band.SetPaging(paging);
}
