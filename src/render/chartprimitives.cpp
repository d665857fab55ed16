#include "chartitem.h"
#include "exprvalue.h"
#include "itemprimitives.h"
#include "kindtable.h"
#include "vornchart.h"

#include <QCoreApplication>

namespace {

bool BuildChartPrimitives(const CVornItem &item, const CPageRect &box, CItemRow &row,
                          CBandContent &content)
{
    const auto &chart = static_cast<const CVornChart &>(item);
    CChartData data;
    if (!row.Chart(data))
        return false;
    FoldCategories(data, QCoreApplication::translate("Vantel", "Other"));
    CChartStyle style = ChartStyleOf(chart, row.Plan().font,
                                     row.Style().color.value_or(PageColor(item.GetColor())));
    style.source = row.Plan().place;
    const CItemPlan &plan = row.Plan();
    // Values and ticks written as the chart's format writes them. A format that cannot write a
    // number fails the run, as it would for a DB Text.
    bool written = true;
    if (plan.display || plan.format) {
        style.format = [&row, &written](double value) {
            const CExprValue number = CExprValue::FromVariant(value);
            QString text;
            if (written && !row.Write(number, text))
                written = false;
            return text;
        };
    }
    std::vector<CPageItem> primitives = LayoutChart(data, box, style);
    if (!written)
        return false;
    for (CPageItem &primitive : primitives)
        content.Add(std::move(primitive));
    return true;
}

} // namespace

void AddChartPrinting(CKindTable<CItemPrinting> &table)
{
    table.Add(CVornChart::Kind, {BuildChartPrimitives});
}
