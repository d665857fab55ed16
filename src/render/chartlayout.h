#pragma once

#include "pagecontent.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

// A chart laid out as page primitives: paths for bars, slices, lines and axes, texts for the
// labels. A pure function of the data, the box and the chart's settings, so that the engine,
// the design view's sample and the tests draw the same chart. Lengths are in hundredths of a
// millimetre.
namespace Chart {

enum class Type {
    Bars = 0,
    HorizontalBars = 1,
    StackedBars = 2,
    Lines = 3,
    Area = 4,
    Pie = 5,
    Doughnut = 6
};
enum class Legend { None = 0, Right = 1, Bottom = 2 };

// The most categories a chart draws: beyond them the rest are summed into one last "Other".
constexpr int MaxCategories = 1000;
constexpr int MaxSeries = 4;

// The colour of the series (or slice) at index when it has none of its own: a palette whose
// neighbours differ in lightness, so that they still part in greyscale print.
QRgb PaletteColor(int index);

// Round tick values for an axis from low to high with at most about most steps: a step of 1, 2
// or 5 times a power of ten, the first tick at or below low, the last at or above high. An
// empty range (all values 0) gets the axis 0 to 1.
struct Ticks
{
    double first = 0;
    double last = 1;
    double step = 1;

    int Count() const;
    double At(int index) const { return first + index * step; }
};
Ticks RoundTicks(double low, double high, int most);

} // namespace Chart

struct CChartSeries
{
    QString name;
    QRgb color = 0; // alpha 0: the palette's colour for the series' place
    std::vector<std::optional<double>> values; // one per category; none for NULL
};

struct CChartData
{
    std::vector<QString> categories;
    std::vector<CChartSeries> series; // the first MaxSeries are drawn; a pie draws the first
    int folded = 0; // categories summed into the last one, "Other" (FoldCategories)
};

// Sums the categories past MaxCategories - 1 into one last category named other, per series
// (NULLs left out; NULL where all were NULL), and counts them in folded.
void FoldCategories(CChartData &data, const QString &other);

struct CChartStyle
{
    Chart::Type type = Chart::Type::Bars;
    QString title;
    Chart::Legend legend = Chart::Legend::None;
    bool valueLabels = false;
    int font = 0; // index into the page's font table
    QRgb textColor = 0xFF000000;
    int lineHeight = 400; // of the font
    std::function<int(const QString &)>
            textWidth; // of a line in the font; none: 0.6 of a height per character
    std::function<QString(double)> format; // of values and ticks; none: the shortest exact form
    // How the legend says that categories were folded into "Other", given their count.
    std::function<QString(int)> foldedNote;
    CPageSource source;
};

// The chart's primitives in box, in drawing order. Every path's box is the chart's box, so the
// chart moves and is cut as one item, and any point of it selects it.
std::vector<CPageItem> LayoutChart(const CChartData &data, const CPageRect &box,
                                   const CChartStyle &style);
