#include "reportproblem.h"

#include "vornreport.h"

#include <algorithm>

QString ProblemLine(const CVornReport &report, const CReportProblem &problem)
{
    const auto &bands = report.GetBands();
    if (problem.band < 0 || problem.band >= bands.GetCount())
        return problem.message;
    const CVornBand *band = bands[problem.band];
    QString where = band->GetName();
    if (problem.item >= 0 && problem.item < band->GetItems().GetCount())
        where += QLatin1Char('/') + band->GetItems()[problem.item]->GetName();
    return where + QStringLiteral(": ") + problem.message;
}

void SortProblems(CReportProblems &problems)
{
    std::stable_sort(problems.begin(), problems.end(),
                     [](const CReportProblem &a, const CReportProblem &b) {
                         if (a.band != b.band)
                             return a.band < b.band;
                         return a.item < b.item;
                     });
}
