#pragma once

#include <QString>

#include <vector>

class CVornElement;
class CVornReport;

// One row of the report's outline: a band with its items as children, or an item. Rows are
// plain data read from the report; they hold pointers into it that are valid until the next
// change of the report's bands or items.
struct COutlineRow
{
    // Why an item cannot be seen on the page.
    enum class Hidden {
        No,
        // Its right edge is not right of its left edge, or its bottom not below its top.
        EmptyRect,
        // Nothing of it lies on its band (every item of a Page Break, which has no height).
        OutsideBand,
    };

    CVornElement *element = nullptr;
    int kind = 0;
    QString name;
    Hidden hidden = Hidden::No;
    bool selected = false;
    std::vector<COutlineRow> children;

    friend bool operator==(const COutlineRow &, const COutlineRow &) = default;
};

// The outline of a report: its bands in report order, each with its items in item order.
namespace ReportOutline {

std::vector<COutlineRow> Build(const CVornReport &report);

// Whether two outlines have the same rows for the same objects in the same places, whatever
// their names, marks and selection.
bool SameShape(const std::vector<COutlineRow> &a, const std::vector<COutlineRow> &b);

// The mark shown after a hidden item's name, and the reason given in its tooltip; empty for
// an item that can be seen.
QString HiddenMark(COutlineRow::Hidden hidden);
QString HiddenReason(COutlineRow::Hidden hidden);

} // namespace ReportOutline
