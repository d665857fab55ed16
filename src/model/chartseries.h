#pragma once

#include <QString>

#include <optional>
#include <vector>

// One series of a chart: its name in the legend, the value each row gives it (a field name of
// the chart's data source band, or an expression) and its colour (0x00BBGGRR like every colour
// of the model; none: the palette's colour for its place).
struct CChartSeriesSetting
{
    QString name;
    QString value;
    std::optional<quint32> color;

    // A chart shows at most this many series; a file's extras are left out.
    static constexpr int MaxSeries = 4;

    // The colour of the series (or pie slice) at index without a colour of its own, as a model
    // colour: a palette whose neighbours differ in lightness, so that they still part in
    // greyscale print.
    static quint32 PaletteColor(int index);

    friend bool operator==(const CChartSeriesSetting &, const CChartSeriesSetting &) = default;
};

using CChartSeriesSettings = std::vector<CChartSeriesSetting>;
