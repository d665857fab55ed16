#pragma once

#include <QString>

class CReportColumns;
class CVornReport;

// What an expression gives on the first rows of the report's queries, as the expression editor
// shows it: "= 13.86", "= (nothing)" for NULL, or what went wrong. Fields read the first row of
// their band's query, parameters their stored (or given) value; page and row numbers are 1 and a
// total takes the one row. band and item say where the expression belongs (item -1: the band
// itself). The columns must have been looked up for this report as it is.
QString PreviewExpression(const CVornReport &report, const CReportColumns &columns, int band,
                          int item, const QString &text);
