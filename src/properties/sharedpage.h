#pragma once

#include "propertyrow.h"

#include <optional>
#include <vector>

class CVornElement;
class CVornReport;

// The property page of several selected items: the rows their pages share (same id and kind of
// row, group rows by their shared sub-rows), in the order of the first object's page. A row
// whose values agree shows that value; one whose values differ shows an empty value and is
// marked mixed. An option row offers the options every page offers. "Name" is left out: names
// are given one by one. Nothing when an object has no page.
std::optional<QList<CPropertyRow>> BuildSharedPage(const CVornReport &report,
                                                   const std::vector<CVornElement *> &objects,
                                                   int screenDpiY);
