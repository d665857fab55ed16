#pragma once

#include <QString>

#include <vector>

class CVornBand;
class CVornReport;

// The bands whose current row gives values to the query entries of a band when the report
// runs, nearest first, as the run walks them: a group detail's group header when that header
// has a query of its own, then the band its parent data source names (for a band that prints
// as that band's detail) with that band's own context, and so on outwards. A group header or
// footer takes the context of the band it groups; page bands have none. A chain that leads
// back to a band already in it ends there.
std::vector<const CVornBand *> EntryContext(const CVornReport &report, const CVornBand &band);

// The band the name stands for in a run: the first band of that name, letter case ignored;
// null when there is none.
const CVornBand *FindRunBand(const CVornReport &report, const QString &name);
