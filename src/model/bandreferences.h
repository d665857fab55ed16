#pragma once

#include <QString>

#include <vector>

class CVornReport;

// A reference between bands that a run cannot follow: a parent data source or a group header
// or footer that names no band, a parent data source that is a page break (which has no rows to
// follow), or parent data sources that lead round in a loop (a band its own parent included).
// Such a band would be left out of the run, or printed where it does not belong, without a word.
struct CBandReferenceProblem
{
    // Indexes into the report's bands: the band whose reference is broken, or the bands of the
    // loop in the order the references lead from one to the next.
    std::vector<int> bands;
    QString message; // one sentence naming the bands
};

// Every broken band reference of the report, bands in list order, each loop once. Names are
// matched as the run matches them: letter case ignored, the first band of a name counts.
std::vector<CBandReferenceProblem> FindBandReferenceProblems(const CVornReport &report);

// True when the report has none; otherwise false with the first problem's message.
bool CheckBandReferences(const CVornReport &report, QString &message);
