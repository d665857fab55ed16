#pragma once

#include "reportproblem.h"

class CVornReport;

// What the design itself tells, without the database: every rule of validation the report
// breaks (errors: File Open and Run refuse the report for each of them; one row each, not only
// the first), and warnings about what would not print as drawn: an item with an empty or
// inverted rectangle or reaching outside its band, an EAN-13 barcode whose value is not 13
// digits with a valid check digit, a picture whose bytes do not decode. Cheap enough to run
// after every change.
CReportProblems CheckReportDesign(const CVornReport &report);

// The problems of both lists in report order, leaving out a row of found when design already
// tells a fault of the same property of the same object (a group band that does not exist is a
// validation fault and a broken band reference).
CReportProblems CombineProblems(const CReportProblems &design, const CReportProblems &found);
