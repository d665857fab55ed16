#include "chartitem.h"

#include "itemprimitives.h"
#include "textlines.h"
#include "vornchart.h"

#include <QCoreApplication>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

QString ChartFontFace()
{
    return u"Arial"_s;
}

CChartStyle ChartStyleOf(const CVornChart &chart, int font, QRgb textColor)
{
    CChartStyle style;
    style.type = Chart::Type(
            std::clamp(chart.GetChartType(), int(CVornChart::Bars), int(CVornChart::Doughnut)));
    style.title = chart.GetTitle();
    style.legend = Chart::Legend(std::clamp(chart.GetLegend(), int(CVornChart::NoLegend),
                                            int(CVornChart::LegendBottom)));
    style.valueLabels = chart.GetValueLabels() != 0;
    style.font = font;
    style.textColor = textColor;
    // Measured in the font the painters draw, in report units.
    const QFontMetricsF metrics(
            LayoutFont(ChartFontFace(), ChartFontPoints, false, false, false, false));
    style.lineHeight = int(std::ceil(metrics.height()));
    style.textWidth = [metrics](const QString &text) {
        return int(std::ceil(metrics.horizontalAdvance(text)));
    };
    style.foldedNote = [](int count) {
        return QCoreApplication::translate("Vantel", "Other: %n categories", nullptr, count);
    };
    return style;
}

CChartData ChartSampleData(const CVornChart &chart)
{
    static constexpr double Values[][5] = {
            {42, 65, 30, 80, 55}, {30, 40, 45, 35, 60}, {20, 25, 15, 30, 28}, {10, 18, 12, 22, 16}};
    CChartData data;
    for (int i = 0; i < 5; ++i)
        data.categories.push_back(QString(QChar(char16_t(u'A' + i))));
    const CChartSeriesSettings &settings = chart.GetSeries();
    const size_t count = std::clamp<size_t>(settings.size(), 1, Chart::MaxSeries);
    for (size_t s = 0; s < count; ++s) {
        CChartSeries series;
        if (s < settings.size()) {
            series.name = settings[s].name;
            if (settings[s].color)
                series.color = PageColor(*settings[s].color);
        }
        for (const double value : Values[s])
            series.values.push_back(value);
        data.series.push_back(series);
    }
    return data;
}
