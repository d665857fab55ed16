#include "reportoutline.h"

#include "vornreport.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

COutlineRow::Hidden HiddenOf(const CVornItem &item, qint64 bandWidth, qint64 bandHeight)
{
    if (item.GetRight() <= item.GetLeft() || item.GetBottom() <= item.GetTop())
        return COutlineRow::Hidden::EmptyRect;
    // The item's rectangle against the band's (0, 0, width, height), right and bottom
    // excluded, as the view clips it.
    const bool meets
            = std::max<qint64>(item.GetLeft(), 0) < std::min<qint64>(item.GetRight(), bandWidth)
            && std::max<qint64>(item.GetTop(), 0) < std::min<qint64>(item.GetBottom(), bandHeight);
    return meets ? COutlineRow::Hidden::No : COutlineRow::Hidden::OutsideBand;
}

} // namespace

namespace ReportOutline {

std::vector<COutlineRow> Build(const CVornReport &report)
{
    std::vector<COutlineRow> rows;
    rows.reserve(size_t(report.GetBands().GetCount()));
    const qint64 width = report.GetPageWidth();
    for (CVornBand *band : report.GetBands()) {
        COutlineRow row {
                band, band->GetKind(), band->GetName(), COutlineRow::Hidden::No, band->IsSelected(),
                {}};
        row.children.reserve(size_t(band->GetItems().GetCount()));
        for (CVornItem *item : band->GetItems()) {
            row.children.push_back({item,
                                    item->GetKind(),
                                    item->GetName(),
                                    HiddenOf(*item, width, band->GetEffectiveHeight()),
                                    item->IsSelected(),
                                    {}});
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

bool SameShape(const std::vector<COutlineRow> &a, const std::vector<COutlineRow> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const COutlineRow &x, const COutlineRow &y) {
                          return x.element == y.element && x.kind == y.kind
                                  && SameShape(x.children, y.children);
                      });
}

QString HiddenMark(COutlineRow::Hidden hidden)
{
    switch (hidden) {
    case COutlineRow::Hidden::EmptyRect:
    case COutlineRow::Hidden::OutsideBand:
        return QCoreApplication::translate("Vantel", "(not visible)");
    case COutlineRow::Hidden::No:
        break;
    }
    return QString();
}

QString HiddenReason(COutlineRow::Hidden hidden)
{
    switch (hidden) {
    case COutlineRow::Hidden::EmptyRect:
        return QCoreApplication::translate(
                "Vantel",
                "Not visible: its right edge is not right of its left edge, or its "
                "bottom is not below its top.");
    case COutlineRow::Hidden::OutsideBand:
        return QCoreApplication::translate("Vantel",
                                           "Not visible: no part of it lies on its band.");
    case COutlineRow::Hidden::No:
        break;
    }
    return QString();
}

} // namespace ReportOutline
