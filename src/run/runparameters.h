#pragma once

#include "vornparameter.h"

#include <QString>

class CVornReport;

// The parameter work of a run, kept apart from the run's dialogs and messages.
namespace RunParameters {

// Collects the query entries of every band in order and appends one parameter
// (band name, entry name, empty value) per entry to `gathered`. False with the
// entry scanner's message when a query has misplaced braces.
bool Gather(const CVornReport &report, CVornParameters &gathered, QString &message);

// Every gathered parameter that has a stored twin (same band and entry name,
// letter case ignored) takes the stored value.
void CarryOver(const CVornParameters &stored, CVornParameters &gathered);

// Whether two lists hold the same values: every parameter with a non-empty
// value in either list has a twin in the other list whose value is the same
// when letter case is ignored. Empty values and missing parameters count
// alike.
bool SameValues(const CVornParameters &a, const CVornParameters &b);

} // namespace RunParameters
