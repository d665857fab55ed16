#pragma once

#include "chartlayout.h"

class CVornChart;

// What a Chart item draws with, shared by the engine and the design view's sample: the font of
// its texts and its settings as the chart layout takes them.
QString ChartFontFace();
constexpr int ChartFontPoints = 8;

// The chart's settings for LayoutChart: its type, title, legend and value labels, its texts in
// font (an index into the page's font table, which holds the chart font there) and colour.
// Values are written as the shortest exact number; the caller sets format for a Data or
// Display Format.
CChartStyle ChartStyleOf(const CVornChart &chart, int font, QRgb textColor);

// Data of the chart's shape for the design view: five categories and the chart's series (one
// unnamed series when it has none), with made-up values.
CChartData ChartSampleData(const CVornChart &chart);
