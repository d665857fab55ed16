#pragma once

#include "reportproblem.h"

#include <functional>

class CReportColumns;
class CVornReport;

// The value given for the parameter (band, name) instead of the stored one, or a null QString.
using ParameterOverride = std::function<QString(const QString &band, const QString &name)>;

// What can be told wrong without the database: a parent data source or group band that names
// no band (or leads round in a loop), a DB item whose data source names no band, a Data Format
// the engine refuses.
CReportProblems CheckReportStatic(const CVornReport &report);

// What the columns of the report's queries tell: a query that fails or does not answer, a DB
// item whose source band has no query, a field that is not among its source's columns, a query
// entry that gets no value (no column of its context and no parameter value). Nothing for a
// report without a database. The columns must have been looked up for this report as it is.
CReportProblems CheckReportColumns(const CVornReport &report, const CReportColumns &columns,
                                   const ParameterOverride &parameter = {});

// Every check above, in report order.
CReportProblems CheckReport(const CVornReport &report, const CReportColumns &columns,
                            const ParameterOverride &parameter = {});
