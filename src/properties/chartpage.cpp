#include "itemproperties.h"

#include "kindtable.h"
#include "optionlist.h"
#include "propertyid.h"
#include "rowbuilders.h"
#include "vornchart.h"

namespace {

using namespace PropertyEdits;
using namespace PropertyRows;

// The names of the series groups, untranslated.
constexpr const char *SeriesGroupNames[] {
        QT_TRANSLATE_NOOP("Vantel", "Series 1"), QT_TRANSLATE_NOOP("Vantel", "Series 2"),
        QT_TRANSLATE_NOOP("Vantel", "Series 3"), QT_TRANSLATE_NOOP("Vantel", "Series 4")};

// One group per series the chart can show: its name, value and colour. A series without a value
// is not drawn, so that emptying its value takes it out.
CPropertyRow SeriesRow(const CVornChart &item, int index)
{
    const CChartSeriesSettings &all = item.GetSeries();
    const CChartSeriesSetting series
            = size_t(index) < all.size() ? all[size_t(index)] : CChartSeriesSetting();
    return GroupRow(
            RowId::Series[index], SeriesGroupNames[index],
            {Row(RowId::SeriesName[index], "Name", series.name, PropertyRowKind::Text,
                 "The name of the series in the legend"),
             Row(RowId::SeriesValue[index], "Value", series.value, PropertyRowKind::Text,
                 "The value of each row in this series: a field of the data source band (AMOUNT) "
                 "or an expression ([PRICE] * [QUANTITY]); empty: no series"),
             ColorRow(RowId::SeriesColor[index], "Color",
                      series.color.value_or(CChartSeriesSetting::PaletteColor(index)),
                      "The colour of the series' bars, line or area; a new series takes the next "
                      "colour of a palette that stays apart in greyscale print, and picking that "
                      "colour again follows the palette")});
}

QList<CPropertyRow> ChartPage(const CVornReport &report, const CVornChart &item, int)
{
    QList<CPropertyRow> rows {
            Row(RowId::Object, "(Object)", Tr("Chart"), PropertyRowKind::ReadOnly,
                "You have selected a chart"),
            NameRow(item),
            PositionRow(item),
            OptionRow(RowId::ChartType, "Chart Type", VornOptions::ChartType(), item.GetChartType(),
                      "Bars, horizontal bars, stacked bars, lines, area, pie or doughnut; a pie "
                      "shows the first series"),
            OptionRow(RowId::DataSource, "Data Source", item.GetDataSource(), AllBandNames(report),
                      "The band whose rows the chart shows, one category per row"),
            OptionRow(RowId::ChartOver, "Rows", VornOptions::AggregateOver(), item.GetOver(),
                      "The rows of the data source band the chart shows: Band, those printed "
                      "since this chart's band last printed; Page, those on the current page; "
                      "Report, all printed so far"),
            SqlRow(item.GetQuery(),
                   "A query of the chart's own: when set, the chart shows all its rows instead of "
                   "the data source band's"),
            Row(RowId::Category, "Category", item.GetCategory(), PropertyRowKind::Text,
                "What names each row's category: a field of the data source band (GENRE) or an "
                "expression"),
    };
    for (int i = 0; i < CChartSeriesSetting::MaxSeries; ++i)
        rows.append(SeriesRow(item, i));
    rows += {
            Row(RowId::Title, "Title", item.GetTitle(), PropertyRowKind::Text,
                "The text over the chart"),
            OptionRow(RowId::Legend, "Legend", VornOptions::ChartLegend(), item.GetLegend(),
                      "Where the legend of the series (of a pie's slices) shows, if at all"),
            FlagRow(RowId::ValueLabels, "Value Labels", VornOptions::YesNo(), item.GetValueLabels(),
                    "Yes: each bar, point or slice shows its value"),
            ColorRow(RowId::TextColor, "Text Color", item.GetColor(),
                     "The colour of the chart's texts and axes"),
            Row(RowId::DataFormat, "Data Format", item.GetFormat(), PropertyRowKind::Text,
                "Data format in C/C++ rules of the values and the axis, e.g. %.2f"),
            DisplayFormatRow(item.GetDisplayFormat(), report.GetLocale(),
                             "A number pattern that writes the values and the axis, in "
                             "the report's Locale; it wins over the Data Format"),
    };
    rows += ConditionRows(item);
    return rows;
}

// The edit of a series' name, value or colour; nothing for another row. Series left empty at
// the end of the list (no name, value or colour of their own) are dropped.
std::optional<CEditResult> SeriesEdit(CVornChart &item, const CRowEdit &edit)
{
    for (int i = 0; i < CChartSeriesSetting::MaxSeries; ++i) {
        const bool name = Is(edit, RowId::SeriesName[i]);
        const bool value = Is(edit, RowId::SeriesValue[i]);
        const bool color = Is(edit, RowId::SeriesColor[i]);
        if (!name && !value && !color)
            continue;
        CChartSeriesSettings series = item.GetSeries();
        if (series.size() <= size_t(i))
            series.resize(size_t(i) + 1);
        CChartSeriesSetting &one = series[size_t(i)];
        if (name)
            one.name = edit.value;
        else if (value)
            one.value = edit.value.trimmed();
        else if (edit.color == CChartSeriesSetting::PaletteColor(i))
            one.color.reset(); // the palette's own colour: the series follows the palette again
        else
            one.color = edit.color;
        while (!series.empty() && series.back().value.isEmpty() && series.back().name.isEmpty()
               && !series.back().color)
            series.pop_back();
        item.SetSeries(series);
        return Changed();
    }
    return std::nullopt;
}

CEditResult ChartEdit(const CVornReport &report, CVornChart &item, const CRowEdit &edit, int)
{
    if (std::optional<CEditResult> result = CommonItemEdit(report, item, edit))
        return *result;
    if (std::optional<CEditResult> result = SeriesEdit(item, edit))
        return *result;
    if (Is(edit, RowId::ChartType))
        return Changed(SetOption(edit.value, VornOptions::ChartType(),
                                 [&item](int code) { item.SetChartType(code); }));
    if (Is(edit, RowId::ChartOver))
        return Changed(SetOption(edit.value, VornOptions::AggregateOver(),
                                 [&item](int code) { item.SetOver(code); }));
    if (Is(edit, RowId::Legend))
        return Changed(SetOption(edit.value, VornOptions::ChartLegend(),
                                 [&item](int code) { item.SetLegend(code); }));
    if (Is(edit, RowId::ValueLabels))
        return Changed(SetOption(edit.value, VornOptions::YesNo(),
                                 [&item](int code) { item.SetValueLabels(code); }));
    if (Is(edit, RowId::DataSource))
        item.SetDataSource(edit.value);
    else if (Is(edit, RowId::Query))
        // The full text, as for a band's query.
        item.SetQuery(edit.sqlText);
    else if (Is(edit, RowId::Category))
        item.SetCategory(edit.value.trimmed());
    else if (Is(edit, RowId::Title))
        item.SetTitle(edit.value);
    else if (Is(edit, RowId::TextColor))
        item.SetColor(edit.color);
    else if (Is(edit, RowId::DataFormat))
        item.SetFormat(edit.value);
    else if (Is(edit, RowId::DisplayFormat))
        item.SetDisplayFormat(edit.value);
    else
        return CEditResult();
    return Changed();
}

} // namespace

void AddChartProperties(CKindTable<CItemProperties> &table)
{
    table.Add(CVornChart::Kind, PropertiesOf<CVornChart, ChartPage, ChartEdit>());
}
