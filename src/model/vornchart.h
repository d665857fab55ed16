#pragma once

#include "chartseries.h"
#include "vornitem.h"

// A chart of the rows of a data source band: bars, lines, areas or a pie, one category per row
// and one to four series of values. It takes the rows its band printed in the scope Rows says
// (as a DB Text's aggregate does), or all rows of a query of its own. The item's colour is the
// colour of its texts and axes. Codes are kept as the file holds them; one this version does not
// know draws as the nearest it knows.
class CVornChart : public CVornItem
{
public:
    static constexpr int Kind = VornKind::Chart;
    int GetKind() const override { return Kind; }

    enum Type {
        Bars = 0,
        HorizontalBars = 1,
        StackedBars = 2,
        Lines = 3,
        Area = 4,
        Pie = 5,
        Doughnut = 6
    };
    // The rows it shows: those its data source band printed since the chart's own band last
    // printed, on the current page, or since the report started.
    enum Over { OverBand = 0, OverPage = 1, OverReport = 2 };
    enum Legend { NoLegend = 0, LegendRight = 1, LegendBottom = 2 };

    int GetChartType() const { return m_chartType; }
    void SetChartType(int type) { m_chartType = type; }
    const QString &GetDataSource() const { return m_dataSource; }
    void SetDataSource(const QString &source) { m_dataSource = source; }
    int GetOver() const { return m_over; }
    void SetOver(int over) { m_over = over; }
    const QString &GetQuery() const { return m_query; }
    void SetQuery(const QString &query) { m_query = query; }
    const QString &GetCategory() const { return m_category; }
    void SetCategory(const QString &category) { m_category = category; }
    const CChartSeriesSettings &GetSeries() const { return m_series; }
    void SetSeries(const CChartSeriesSettings &series) { m_series = series; }
    const QString &GetTitle() const { return m_title; }
    void SetTitle(const QString &title) { m_title = title; }
    int GetLegend() const { return m_legend; }
    void SetLegend(int legend) { m_legend = legend; }
    int GetValueLabels() const { return m_valueLabels; }
    void SetValueLabels(int shown) { m_valueLabels = shown; }
    const QString &GetFormat() const { return m_format; }
    void SetFormat(const QString &format) { m_format = format; }
    const QString &GetDisplayFormat() const { return m_displayFormat; }
    void SetDisplayFormat(const QString &format) { m_displayFormat = format; }

    // Whether a category or series value names a field of the data source band (letters,
    // digits and underscores only) rather than computing an expression.
    static bool IsFieldName(const QString &value);

protected:
    void VisitKindFields(CFieldVisitor &fields) override;

private:
    int m_chartType = Bars;
    QString m_dataSource;
    int m_over = OverBand;
    QString m_query;
    QString m_category;
    CChartSeriesSettings m_series;
    QString m_title;
    int m_legend = NoLegend;
    int m_valueLabels = 0;
    QString m_format;
    QString m_displayFormat;
};
