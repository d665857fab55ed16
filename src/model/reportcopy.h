#pragma once

#include <memory>

class CVornReport;

// A complete, independent copy of a report: page, bands with their items (pictures included)
// and stored parameters. Work that runs off the GUI thread takes such a copy and never reads the
// document's live report, which the user may change meanwhile.
std::unique_ptr<CVornReport> CopyReport(const CVornReport &report);
