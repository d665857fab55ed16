#include "runparameters.h"

#include "queryentries.h"
#include "vornreport.h"

namespace {

// Whether every non-empty value of `from` has an equal value in `in`.
bool ValuesFoundIn(const CVornParameters &from, const CVornParameters &in)
{
    for (const CVornParameter *parameter : from) {
        if (parameter->GetValue().isEmpty())
            continue;
        bool found = false;
        for (const CVornParameter *twin : in) {
            if (twin->Matches(parameter->GetBand(), parameter->GetName())
                && twin->GetValue().compare(parameter->GetValue(), Qt::CaseInsensitive) == 0) {
                found = true;
                break;
            }
        }
        if (!found)
            return false;
    }
    return true;
}

} // namespace

namespace RunParameters {

bool Gather(const CVornReport &report, CVornParameters &gathered, QString &message)
{
    for (const CVornBand *band : report.GetBands()) {
        CQueryEntries entries;
        if (!band->CollectQueryEntries(entries, message))
            return false;
        for (const QString &name : entries.GetNames())
            gathered.SetParameter(band->GetName(), name);
    }
    return true;
}

void CarryOver(const CVornParameters &stored, CVornParameters &gathered)
{
    for (const CVornParameter *value : stored) {
        for (CVornParameter *parameter : gathered) {
            if (parameter->Matches(value->GetBand(), value->GetName()))
                parameter->SetValue(value->GetValue());
        }
    }
}

bool SameValues(const CVornParameters &a, const CVornParameters &b)
{
    return ValuesFoundIn(a, b) && ValuesFoundIn(b, a);
}

} // namespace RunParameters
