#pragma once

#include <memory>

class CVornReport;

// A copy of the report as it stands, for a layout that runs on another thread while the user
// goes on editing the original: the page, the database, the stored parameter values and every
// band with its items, in the same order, so that a band's and an item's indexes are the same
// in both. The selection is not copied.
std::shared_ptr<const CVornReport> SnapshotOf(const CVornReport &report);
