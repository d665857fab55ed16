#pragma once

#include "reportchecks.h"

class CReportColumns;
class CVornReport;

// What the expressions of a report (DB Text values, Print When conditions, style rules) and
// their Display Formats show wrong without data: a text that does not parse (with the place), a
// type error, a condition that gives no true or false, a band that is no band of the report.
void CheckExpressionsStatic(CReportProblems &problems, const CVornReport &report);

// What the columns of the queries tell about them: a field that the query of its band does not
// return, a parameter that has no value.
void CheckExpressionColumns(CReportProblems &problems, const CVornReport &report,
                            const CReportColumns &columns, const ParameterOverride &parameter);
