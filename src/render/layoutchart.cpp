#include "reportlayout.h"

#include "vornitems.h"

using namespace Qt::StringLiterals;

namespace {

// A chart holds this many categories before the ones past the most it draws are summed into
// "Other", so that a chart over a long run keeps a bounded list.
constexpr size_t FoldAt = 2 * size_t(Chart::MaxCategories);

} // namespace

bool CReportLayout::PrepareChart(const CVornBand &band, const CVornChart &chart, ItemPlan &itemPlan,
                                 BandPlan &plan)
{
    auto owned = std::make_unique<ChartPlan>();
    ChartPlan &chartPlan = *owned;
    chartPlan.chart = &chart;
    chartPlan.band = &band;
    chartPlan.place = itemPlan.place;
    chartPlan.ownQuery = HasQuery(chart.GetQuery());
    chartPlan.over = chart.GetOver();
    chartPlan.source = chartPlan.ownQuery ? &band : itemPlan.source;
    const auto prepare = [&](const QString &text, const QString &role, ChartPlan::Value &value) {
        if (CVornChart::IsFieldName(text.trimmed())) {
            value.field = text.trimmed();
            return true;
        }
        value.expression = PrepareExpression(band, &chart, *chartPlan.source, text, role, false);
        return value.expression != nullptr;
    };
    if (!chart.GetCategory().trimmed().isEmpty()
        && !prepare(chart.GetCategory(), Tr("category"), chartPlan.category))
        return false;
    for (const CChartSeriesSetting &series : chart.GetSeries()) {
        if (chartPlan.series.size() == size_t(Chart::MaxSeries))
            break;
        chartPlan.series.emplace_back();
        if (!series.value.trimmed().isEmpty()
            && !prepare(series.value, Tr("series value"), chartPlan.series.back()))
            return false;
        CChartSeries drawn;
        drawn.name = series.name;
        drawn.color = series.color ? PageColor(*series.color) : 0;
        chartPlan.data.series.push_back(drawn);
    }
    itemPlan.chart = owned.get();
    if (!chartPlan.ownQuery) {
        m_chartsBySource[chartPlan.source].push_back(owned.get());
        plan.charts.push_back(owned.get());
    }
    m_charts.push_back(std::move(owned));
    return true;
}

void CReportLayout::ClearChart(ChartPlan &chart)
{
    chart.data.categories.clear();
    chart.data.folded = 0;
    for (CChartSeries &series : chart.data.series)
        series.values.clear();
}

bool CReportLayout::ChartValue(ChartPlan &chart, ChartPlan::Value &value, const CVornBand *rowBand,
                               const CDataRow *row, CExprValue &result)
{
    result = CExprValue();
    if (value.expression)
        return RowExpression(*value.expression, rowBand, row, result);
    if (value.field.isEmpty())
        return true;
    if (m_noDatabase) {
        if (m_options.value)
            result = CExprValue(m_options.value(chart.source->GetName(), value.field));
        return true;
    }
    if (!row || row->IsEmpty())
        return true;
    if (value.columns != &row->GetColumns() || value.column >= row->GetValues().size()) {
        value.columns = &row->GetColumns();
        value.column = row->IndexOf(value.field);
    }
    if (value.column < 0) {
        value.columns = nullptr;
        At(*chart.band, chart.place.item);
        const QString from = chart.ownQuery ? chart.chart->GetName() : chart.source->GetName();
        return Fail(Tr("The item \"%1\" on the band \"%2\" shows the field \"%3\", which the "
                       "query of \"%4\" does not return; it returns: %5")
                            .arg(chart.chart->GetName(), chart.band->GetName(), value.field, from,
                                 row->GetColumns().join(u", "_s)));
    }
    result = CExprValue::FromVariant(row->GetValues().at(value.column));
    return true;
}

bool CReportLayout::TakeChartRow(ChartPlan &chart, const CVornBand *rowBand, const CDataRow *row)
{
    CExprValue category;
    if (!ChartValue(chart, chart.category, rowBand, row, category))
        return false;
    CChartData &data = chart.data;
    data.categories.push_back(category.ToText());
    for (size_t s = 0; s < chart.series.size(); ++s) {
        CExprValue value;
        if (!ChartValue(chart, chart.series[s], rowBand, row, value))
            return false;
        std::optional<double> number;
        CExactDecimal exact;
        if (value.ToNumber(exact)) {
            number = exact.ToString().toDouble();
        } else if (!value.IsNull()
                   && !(value.GetType() == CExprValue::Type::Text
                        && value.GetText().trimmed().isEmpty())) {
            At(*chart.band, chart.place.item);
            return Fail(Tr("The item \"%1\" on the band \"%2\" cannot chart the value \"%3\" of "
                           "\"%4\": it is not a number")
                                .arg(chart.chart->GetName(), chart.band->GetName(), value.ToText(),
                                     chart.chart->GetSeries()[s].value));
        }
        data.series[s].values.push_back(number);
    }
    if (data.categories.size() >= FoldAt)
        FoldCategories(data, Tr("Other"));
    return true;
}

bool CReportLayout::ChartData(ChartPlan &chart, CChartData &data)
{
    if (!chart.ownQuery) {
        // A page's chart shows nothing of the rows of an earlier page.
        if (chart.over == CVornChart::OverPage && chart.page != m_pages->GetPageCount())
            ClearChart(chart);
        data = chart.data;
        return true;
    }
    // A chart with a query of its own shows all its rows, with entries valued from its band's
    // row and then as the band's own entries are.
    const CVornBand &band = *chart.band;
    CChartData kept = chart.data;
    if (!m_noDatabase) {
        const auto current = m_current.find(&band);
        const Context context {&band, current == m_current.end() ? nullptr : &current->second,
                               m_placing == &band ? m_placingContext : nullptr};
        std::unique_ptr<CDataCursor> cursor
                = Query(band, chart.chart->GetQuery(), &context, chart.chart->GetName());
        if (!cursor)
            return false;
        CDataRow row;
        qint64 fetched = 0;
        while (FetchNext(*cursor, row, band, fetched)) {
            if (!TakeChartRow(chart, &band, &row))
                return false;
        }
        if (!m_message.isEmpty())
            return false;
    } else if (!TakeChartRow(chart, &band, nullptr)) {
        return false;
    }
    data = std::move(chart.data);
    chart.data = std::move(kept);
    return true;
}

bool CReportLayout::ItemRow::Chart(CChartData &data)
{
    if (!m_plan.chart)
        return true;
    return m_layout.ChartData(*m_plan.chart, data);
}
