#pragma once

#include "pagecontent.h"

class CVornElement;
class CVornReport;
class QString;

// The band and item indexes that pages and messages use, against the objects of a report.
namespace ReportPlaces {

// The place of a band (item -1) or an item of the report; band -1 when it is in none.
CPageSource PlaceOf(const CVornReport &report, const CVornElement *element);

// The object of report that stands where source points in laidOut, a copy of an earlier state
// of report: the object at the same place when it still has the same name, else the band, and
// the item in it, of that name. Null when there is none.
CVornElement *Find(const CVornReport &report, const CVornReport &laidOut,
                   const CPageSource &source);

// The object a validation message names by its indexes ("Band #2 is invalid: Item #0 is
// invalid: ..."; "Band #3 will not fit page height ..."); band -1 when it names none.
CPageSource OfValidationMessage(const QString &message);

} // namespace ReportPlaces
