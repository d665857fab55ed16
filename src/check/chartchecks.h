#pragma once

#include "reportchecks.h"

#include <QLatin1StringView>

#include <functional>

class CReportColumns;
class CVornChart;
class CVornReport;

// Tells the category and series values of a chart that are expressions (not field names), with
// the property row of each.
void VisitChartExpressions(const CVornChart &chart,
                           const std::function<void(QLatin1StringView, const QString &)> &visit);

// What a report's charts show wrong without data: a data source that is no band, a Data Format
// that cannot be used, no category or no series to show.
void CheckChartsStatic(CReportProblems &problems, const CVornReport &report);

// A field a chart names that the query of its data source band does not return.
void CheckChartColumns(CReportProblems &problems, const CVornReport &report,
                       const CReportColumns &columns);
