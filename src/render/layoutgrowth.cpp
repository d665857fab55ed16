#include "reportlayout.h"

#include "vornitems.h"
#include "vornreport.h"

using namespace Qt::StringLiterals;

namespace {

// The common part of two rectangles, or an empty one when they do not overlap.
CPageRect Intersect(const CPageRect &a, const CPageRect &b)
{
    const CPageRect common {std::max(a.left, b.left), std::max(a.top, b.top),
                            std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (common.right <= common.left || common.bottom <= common.top)
        return {};
    return common;
}

} // namespace

bool CReportLayout::LayBand(const CVornBand &band, bool grow, CBandContent &content)
{
    At(band);
    if (IsPageBand(band) && !m_noDatabase && HasQuery(band.GetDatabaseQuery())
        && !m_current.count(&band)) {
        // A page band with a query of its own shows its first row on every page.
        std::unique_ptr<CDataCursor> cursor = Query(band, band.GetDatabaseQuery(), nullptr, {});
        if (!cursor)
            return false;
        CDataRow row;
        if (!Fetch(*cursor, row, band) && !m_message.isEmpty())
            return false;
        m_current[&band] = row;
    }
    content.height = band.GetEffectiveHeight();
    content.band = {m_bandIndex[&band], 0, content.height, !IsPageBand(band), {}};
    // A band in columns is cut at its first column's right edge.
    const CPageRect bandRect {
            0, 0, IsPageBand(band) ? m_report.GetPageWidth() : m_plans[&band].columnRight,
            content.height};
    std::vector<CTextGrowth> growths;
    for (ItemPlan &plan : m_plans[&band].items) {
        const CVornItem &item = *plan.item;
        const CPageRect designed {item.GetLeft(), item.GetTop(), item.GetRight(), item.GetBottom()};
        CPageRect box = Intersect(designed, bandRect);
        if (box.right <= box.left)
            continue;
        // Cut at the band's bottom once the band has grown.
        if (grow) {
            box.top = designed.top;
            box.bottom = designed.bottom;
        }
        At(band, plan.place.item);
        // An item that does not print leaves its space empty.
        bool print = true;
        if (plan.printWhen && !Condition(*plan.printWhen, print))
            return false;
        if (!print)
            continue;
        CItemStyle style;
        if (!ChooseStyle(plan, style))
            return false;
        const size_t index = content.items.size();
        ItemRow row(*this, band, plan, style);
        if (plan.build && !plan.build(item, box, row, content))
            return false;
        if (!grow || !plan.grows || content.items.size() == index)
            continue;
        const auto *text = std::get_if<CPageText>(&content.items[index]);
        if (!text || text->field != CPageText::Field::None)
            continue;
        content.flowing[index] = true;
        const int growth = m_measure->Height(*text) - (box.bottom - box.top);
        if (growth > 0)
            growths.push_back({index, box.top, box.bottom, growth});
    }
    if (grow)
        GrowBandContent(content, growths);
    std::stable_sort(
            content.band.values.begin(), content.band.values.end(),
            [](const CPrintedValue &a, const CPrintedValue &b) { return a.left < b.left; });
    // An aggregate over its band starts again after each printing of the band.
    for (AggregatePlan *aggregate : m_plans[&band].totals) {
        if (aggregate->over == CVornDbText::OverBand)
            aggregate->total.Reset();
    }
    for (ChartPlan *chart : m_plans[&band].charts) {
        if (chart->over == CVornChart::OverBand)
            ClearChart(*chart);
    }
    return true;
}

bool CReportLayout::TakeRow(const CVornBand &band, const CDataRow *row)
{
    // Rows of a band with a query (a report header without one prints with no row), or every
    // printing of a band whose values the caller gives.
    if (!m_noDatabase && (!row || row->IsEmpty()))
        return true;
    if (const auto charts = m_chartsBySource.find(&band); charts != m_chartsBySource.end()) {
        for (ChartPlan *chart : charts->second) {
            if (chart->over == CVornChart::OverPage && chart->page != m_pages->GetPageCount()) {
                ClearChart(*chart);
                chart->page = m_pages->GetPageCount();
            }
            if (!TakeChartRow(*chart, &band, row))
                return false;
        }
    }
    const auto found = m_aggregatesBySource.find(&band);
    if (found == m_aggregatesBySource.end())
        return true;
    for (AggregatePlan *aggregate : found->second) {
        if (aggregate->over == CVornDbText::OverPage
            && aggregate->page != m_pages->GetPageCount()) {
            aggregate->total.Reset();
            aggregate->page = m_pages->GetPageCount();
        }
        QVariant value;
        if (!RowValue(*aggregate, row, value) || !AddToTotal(*aggregate, aggregate->total, value))
            return false;
    }
    return true;
}

bool CReportLayout::RowValue(AggregatePlan &aggregate, const CDataRow *row, QVariant &value)
{
    if (aggregate.expression)
        return TotalArgument(aggregate, row, value);
    const QString &field = aggregate.field;
    // A count without a field counts the rows.
    if (field.isEmpty() && aggregate.kind == CVornDbText::Count) {
        value = 1;
        return true;
    }
    if (m_noDatabase) {
        value = m_options.value ? QVariant(m_options.value(aggregate.source->GetName(), field))
                                : QVariant();
        return true;
    }
    if (!row || row->IsEmpty()) {
        value = QVariant();
        return true;
    }
    const int column = row->IndexOf(field);
    if (column < 0) {
        At(*aggregate.band, aggregate.place.item);
        return Fail(Tr("The item \"%1\" on the band \"%2\" shows the field \"%3\", which the "
                       "query of \"%4\" does not return; it returns: %5")
                            .arg(aggregate.item->GetName(), aggregate.band->GetName(), field,
                                 aggregate.source->GetName(), row->GetColumns().join(u", "_s)));
    }
    value = row->GetValues().at(column);
    return true;
}

bool CReportLayout::AddToTotal(AggregatePlan &aggregate, CAggregate &total, const QVariant &value)
{
    const CAggregate::Result result = total.Add(value);
    if (result != CAggregate::Result::Taken)
        At(*aggregate.band, aggregate.place.item);
    // A band's condition has no item: the message names the band as its owner.
    const QString owner = aggregate.item ? aggregate.item->GetName() : aggregate.band->GetName();
    const QString of
            = aggregate.expression ? aggregate.expression->expression->GetText() : aggregate.field;
    switch (result) {
    case CAggregate::Result::Taken:
        return true;
    case CAggregate::Result::NotANumber:
        return Fail(Tr("The item \"%1\" on the band \"%2\" cannot total the value \"%3\" of "
                       "\"%4\": it is not a number")
                            .arg(owner, aggregate.band->GetName(), value.toString(), of));
    case CAggregate::Result::TooLarge:
        return Fail(Tr("The total of the item \"%1\" on the band \"%2\" has more than 38 "
                       "digits")
                            .arg(owner, aggregate.band->GetName()));
    }
    return false;
}

bool CReportLayout::AggregateValue(const CVornBand &band, AggregatePlan &aggregate, QVariant &value)
{
    CAggregate total = aggregate.total;
    if (aggregate.over == CVornDbText::OverPage && aggregate.page != m_pages->GetPageCount())
        total.Reset();
    // An item on the band whose rows it takes counts the row it prints with.
    if (aggregate.source == &band && m_placing == &band && (m_placingRow || m_noDatabase)) {
        QVariant current;
        if (!RowValue(aggregate, m_placingRow, current) || !AddToTotal(aggregate, total, current))
            return false;
    }
    value = total.Value();
    return true;
}

bool CReportLayout::ItemRow::Total(QVariant &value)
{
    return m_layout.AggregateValue(m_band, *m_plan.aggregate, value);
}
