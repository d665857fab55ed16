#pragma once

#include <QList>
#include <QString>

class CVornReport;

// One thing wrong with a report, found without running it: which object (a band and one of its
// items, the band alone, or the report as a whole), which of its property rows is at fault where
// one is, and what is wrong in a sentence for the user. The Problems and Data panes, the design
// view's marks and the command line's --check all show such rows.
struct CReportProblem
{
    enum class Severity { Error, Warning };

    Severity severity = Severity::Error;
    int band = -1; // index into the report's bands; -1 for the report itself
    int item = -1; // index into the band's items; -1 for the band itself
    QString row; // the id of the property row at fault (RowId), empty when there is none
    QString message;

    friend bool operator==(const CReportProblem &, const CReportProblem &) = default;
};

using CReportProblems = QList<CReportProblem>;

// The problem as --check prints it: "BAND/ITEM: message", "BAND: message", or the message alone
// for the report.
QString ProblemLine(const CVornReport &report, const CReportProblem &problem);

// Puts the problems in report order: the report's own first, then band by band, each band's own
// before those of its items, items in order; problems of one object keep their order.
void SortProblems(CReportProblems &problems);
