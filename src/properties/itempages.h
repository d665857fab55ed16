#pragma once

#include "propertyrow.h"

#include <optional>

class CVornElement;
class CVornReport;

// The property page of an item: its kind's rows top to bottom. Font rows convert point sizes to
// pixels at screenDpiY. Nothing for an element that is no item of a known kind (or whose class
// does not match its kind).
std::optional<QList<CPropertyRow>> ItemPage(const CVornReport &report, const CVornElement *current,
                                            int screenDpiY);
