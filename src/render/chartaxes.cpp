#include "chartparts.h"

#include <algorithm>
#include <cmath>

namespace {

// The value of a series in a category, none for NULL, a missing value or one that is no number.
std::optional<double> ValueOf(const CChartSeries &series, size_t category)
{
    if (category >= series.values.size() || !series.values[category]
        || !std::isfinite(*series.values[category]))
        return std::nullopt;
    return series.values[category];
}

// The plot: the category axis runs along one side, the value axis along the other. Places are
// given as (along the categories, value) and come out in the chart's coordinates.
struct Plot
{
    QRectF rect;
    bool horizontal = false; // categories down the left side, values to the right
    Chart::Ticks ticks;

    double CategoryLength() const { return horizontal ? rect.height() : rect.width(); }
    double ValuePlace(double value) const
    {
        const double share = (value - ticks.first) / (ticks.last - ticks.first);
        return horizontal ? rect.left() + share * rect.width()
                          : rect.bottom() - share * rect.height();
    }
    QPointF At(double along, double value) const
    {
        return horizontal ? QPointF(ValuePlace(value), rect.top() + along)
                          : QPointF(rect.left() + along, ValuePlace(value));
    }
    QRectF Span(double from, double to, double low, double high) const
    {
        return QRectF(At(from, low), At(to, high)).normalized();
    }
};

// Ticks whose labels fit along an axis of that length, each label needing room of its own.
Chart::Ticks FittingTicks(double low, double high, double length, bool across,
                          const CChartCanvas &canvas, double &widest)
{
    const double line = canvas.LineHeight();
    int most = std::max(1, int(length / (line * (across ? 3.0 : 2.0))));
    Chart::Ticks ticks;
    for (;;) {
        ticks = Chart::RoundTicks(low, high, most);
        widest = 0;
        for (int i = 0; i < ticks.Count(); ++i)
            widest = std::max(widest, double(canvas.TextWidth(canvas.Format(ticks.At(i)))));
        const double room = across ? widest + ChartGap * 2 : line * 1.2;
        if (most == 1 || ticks.Count() * room <= length)
            return ticks;
        most = std::max(1, std::min(most - 1, int(length / room)));
    }
}

// Every how many categories one gets its label so that labels do not run into each other.
size_t LabelStep(double pitch, double room)
{
    if (pitch <= 0)
        return 1;
    return std::max<size_t>(1, size_t(std::ceil(room / pitch - 1e-9)));
}

} // namespace

void LayoutAxisChart(const CChartData &data, const QRectF &area, CChartCanvas &canvas)
{
    const Chart::Type type = canvas.Style().type;
    const bool stacked = type == Chart::Type::StackedBars;
    const bool bars = stacked || type == Chart::Type::Bars || type == Chart::Type::HorizontalBars;
    const bool labels = canvas.Style().valueLabels;
    const size_t count = data.categories.size();
    const size_t seriesCount = std::min<size_t>(data.series.size(), Chart::MaxSeries);
    const double line = canvas.LineHeight();

    // The value axis takes in 0 and every value, or every stack's sums either side of 0.
    double low = 0;
    double high = 0;
    for (size_t c = 0; c < count; ++c) {
        double up = 0;
        double down = 0;
        for (size_t s = 0; s < seriesCount; ++s) {
            const std::optional<double> value = ValueOf(data.series[s], c);
            if (!value)
                continue;
            if (stacked)
                (*value < 0 ? down : up) += *value;
            else
                low = std::min(low, *value), high = std::max(high, *value);
        }
        low = std::min(low, down);
        high = std::max(high, up);
    }
    double categoryWidest = 0;
    for (const QString &category : data.categories)
        categoryWidest = std::max(categoryWidest, double(canvas.TextWidth(category)));

    Plot plot;
    plot.horizontal = type == Chart::Type::HorizontalBars;
    double tickWidest = 0;
    if (plot.horizontal) {
        const double labelWidth = std::min(categoryWidest, area.width() * 0.35);
        plot.rect = QRectF(area.left() + labelWidth + ChartGap, area.top(),
                           area.width() - labelWidth - ChartGap, area.height() - line - ChartGap);
        // Room for half of the last tick's label beyond the axis' end, and for value labels.
        plot.rect.setRight(plot.rect.right() - (labels ? line * 3 : line));
        plot.ticks = FittingTicks(low, high, plot.rect.width(), true, canvas, tickWidest);
    } else {
        plot.rect
                = QRectF(area.left(), area.top() + line / 2 + (labels ? line : 0), area.width(), 0);
        plot.rect.setBottom(area.bottom() - line - ChartGap - (labels && low < 0 ? line : 0));
        plot.ticks = FittingTicks(low, high, plot.rect.height(), false, canvas, tickWidest);
        plot.rect.setLeft(area.left() + tickWidest + ChartGap);
    }
    if (plot.rect.width() <= 0 || plot.rect.height() <= 0)
        return;
    const double length = plot.CategoryLength();

    // Grid lines and tick labels, then the bars and lines over them, then the axes.
    for (int i = 0; i < plot.ticks.Count(); ++i) {
        const double value = plot.ticks.At(i);
        const QString text = canvas.Format(value);
        canvas.Line(plot.At(0, value), plot.At(length, value), ChartGridColor, 10);
        const QPointF at = plot.At(0, value);
        if (plot.horizontal) {
            canvas.Text(QRectF(at.x() - tickWidest / 2 - ChartGap, plot.rect.bottom() + ChartGap,
                               tickWidest + 2 * ChartGap, line),
                        text, 2, 0);
        } else {
            canvas.Text(QRectF(area.left(), at.y() - line / 2, tickWidest, line), text, 1, 1);
        }
    }

    const double pitch = count > 0 ? length / count : length;
    const auto valueLabel = [&](double along, double value, double top, double room) {
        const QString text = canvas.Format(value);
        if (!labels || canvas.TextWidth(text) > (plot.horizontal ? line * 3 : room))
            return;
        const QPointF at = plot.At(along, top);
        if (plot.horizontal) {
            const bool left = value < 0;
            canvas.Text(QRectF(left ? at.x() - line * 3 - ChartGap / 2 : at.x() + ChartGap / 2,
                               at.y() - line / 2, line * 3, line),
                        text, left ? 1 : 0, 1);
        } else {
            canvas.Text(QRectF(at.x() - room / 2, value < 0 ? at.y() : at.y() - line, room, line),
                        text, 2, value < 0 ? 0 : 2);
        }
    };
    if (bars) {
        const double group = pitch * 0.8;
        const double bar = stacked || seriesCount == 0 ? group : group / seriesCount;
        for (size_t c = 0; c < count; ++c) {
            double up = 0;
            double down = 0;
            for (size_t s = 0; s < seriesCount; ++s) {
                const std::optional<double> value = ValueOf(data.series[s], c);
                if (!value)
                    continue;
                const double from = pitch * c + pitch * 0.1 + (stacked ? 0 : bar * s);
                double base = 0;
                if (stacked)
                    base = *value < 0 ? std::exchange(down, down + *value)
                                      : std::exchange(up, up + *value);
                if (*value != 0) {
                    canvas.Rectangle(plot.Span(from, from + bar, base, base + *value),
                                     SeriesColor(data, int(s)));
                }
                if (!stacked)
                    valueLabel(from + bar / 2, *value, *value, std::max(bar, pitch));
            }
            if (stacked && seriesCount > 0) {
                if (up > 0 || down == 0)
                    valueLabel(pitch * (c + 0.5), up, up, pitch);
                if (down < 0)
                    valueLabel(pitch * (c + 0.5), down, down, pitch);
            }
        }
    } else {
        // Lines and areas through the middle of each category; a NULL breaks them, and a value
        // with no neighbour is marked with a square.
        const double zero = std::clamp(0.0, plot.ticks.first, plot.ticks.last);
        for (size_t s = 0; s < seriesCount; ++s) {
            const QRgb color = SeriesColor(data, int(s));
            std::vector<QPointF> run;
            const auto endRun = [&](size_t end) {
                if (run.size() == 1) {
                    const QPointF p = run.front();
                    canvas.Rectangle(QRectF(p.x() - 60, p.y() - 60, 120, 120), color);
                } else if (run.size() > 1) {
                    if (type == Chart::Type::Area) {
                        std::vector<QPointF> shape = run;
                        shape.push_back(plot.At(pitch * (end - 0.5), zero));
                        shape.push_back(plot.At(pitch * (end - run.size() + 0.5), zero));
                        canvas.Polygon(shape, (color & 0x00FFFFFF) | 0xB0000000u);
                    }
                    canvas.Polyline(run, color, 50);
                }
                run.clear();
            };
            for (size_t c = 0; c < count; ++c) {
                const std::optional<double> value = ValueOf(data.series[s], c);
                if (!value) {
                    endRun(c);
                    continue;
                }
                run.push_back(plot.At(pitch * (c + 0.5), *value));
                valueLabel(pitch * (c + 0.5), *value, *value, pitch);
            }
            endRun(count);
        }
    }

    // Category labels, every step-th where they would run into each other.
    const double room = plot.horizontal ? line : categoryWidest + ChartGap;
    const size_t step = LabelStep(pitch, room);
    for (size_t c = 0; c < count; c += step) {
        const double middle = pitch * (c + 0.5);
        if (plot.horizontal) {
            const double width = plot.rect.left() - ChartGap - area.left();
            canvas.Text(QRectF(area.left(), plot.rect.top() + middle - line / 2, width, line),
                        canvas.Elided(data.categories[c], width), 1, 1);
        } else {
            const double width = std::max(pitch * step, categoryWidest);
            canvas.Text(QRectF(plot.rect.left() + middle - width / 2, area.bottom() - line, width,
                               line),
                        data.categories[c], 2, 0);
        }
    }
    // The value axis along the first category's side and the zero line across.
    canvas.Line(plot.At(0, plot.ticks.first), plot.At(0, plot.ticks.last), ChartAxisColor,
                ChartAxisWidth);
    const double zero = std::clamp(0.0, plot.ticks.first, plot.ticks.last);
    canvas.Line(plot.At(0, zero), plot.At(length, zero), ChartAxisColor, ChartAxisWidth);
}
