#include "chartlayout.h"

#include "chartparts.h"
#include "chartseries.h"
#include "itemprimitives.h"

#include <algorithm>
#include <cmath>

namespace {

int Round(double v)
{
    return int(std::lround(std::clamp(v, -1e9, 1e9)));
}

// One line of the legend: a swatch in the colour (none for alpha 0) and the text.
struct LegendEntry
{
    QRgb color = 0;
    QString text;
};

std::vector<LegendEntry> LegendOf(const CChartData &data, const CChartStyle &style)
{
    std::vector<LegendEntry> entries;
    const bool pie = style.type == Chart::Type::Pie || style.type == Chart::Type::Doughnut;
    if (pie) {
        for (size_t i = 0; i < data.categories.size(); ++i)
            entries.push_back({SeriesColor(data, int(i)), data.categories[i]});
    } else {
        const size_t count = std::min<size_t>(data.series.size(), Chart::MaxSeries);
        for (size_t i = 0; i < count; ++i)
            entries.push_back({SeriesColor(data, int(i)), data.series[i].name});
    }
    if (data.folded > 0 && style.foldedNote)
        entries.push_back({0, style.foldedNote(data.folded)});
    return entries;
}

// Draws the legend at the right or bottom of area and returns what it leaves of area. Entries
// that find no room are left out.
QRectF PlaceLegend(const std::vector<LegendEntry> &entries, const QRectF &area,
                   CChartCanvas &canvas)
{
    const Chart::Legend where = canvas.Style().legend;
    if (where == Chart::Legend::None || entries.empty())
        return area;
    const double line = canvas.LineHeight();
    const double swatch = line * 0.7;
    const double pitch = line + ChartGap / 2.0;
    const auto entryWidth = [&](const LegendEntry &entry) {
        return (entry.color ? swatch + ChartGap / 2.0 : 0.0) + canvas.TextWidth(entry.text);
    };
    const auto draw = [&](const LegendEntry &entry, double x, double y, double width) {
        if (qAlpha(entry.color) > 0) {
            canvas.Rectangle(QRectF(x, y + (line - swatch) / 2, swatch, swatch), entry.color);
            x += swatch + ChartGap / 2.0;
            width -= swatch + ChartGap / 2.0;
        }
        canvas.Text(QRectF(x, y, width, line), canvas.Elided(entry.text, width), 0, 1);
    };
    if (where == Chart::Legend::Right) {
        double widest = 0;
        for (const LegendEntry &entry : entries)
            widest = std::max(widest, entryWidth(entry));
        const double width = std::min(widest, area.width() * 0.4);
        const double left = area.right() - width;
        for (size_t i = 0; i < entries.size() && (i + 1) * pitch <= area.height(); ++i)
            draw(entries[i], left, area.top() + i * pitch, width);
        return QRectF(area.left(), area.top(), std::max(0.0, left - ChartGap - area.left()),
                      area.height());
    }
    // Along the bottom, in rows as many as the area's width takes, at most a third of its height.
    std::vector<std::vector<size_t>> rows(1);
    double x = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const double width = std::min(entryWidth(entries[i]), area.width());
        if (x > 0 && x + width > area.width()) {
            rows.emplace_back();
            x = 0;
        }
        rows.back().push_back(i);
        x += width + ChartGap * 2;
    }
    const size_t fit = std::max<size_t>(1, size_t(area.height() / 3 / pitch));
    rows.resize(std::min(rows.size(), fit));
    const double top = area.bottom() - rows.size() * pitch;
    for (size_t r = 0; r < rows.size(); ++r) {
        double widthOfRow = 0;
        for (size_t i : rows[r])
            widthOfRow += std::min(entryWidth(entries[i]), area.width()) + ChartGap * 2;
        x = area.left() + std::max(0.0, (area.width() - widthOfRow + ChartGap * 2) / 2);
        for (size_t i : rows[r]) {
            const double width = std::min(entryWidth(entries[i]), area.width());
            draw(entries[i], x, top + r * pitch, width);
            x += width + ChartGap * 2;
        }
    }
    return QRectF(area.left(), area.top(), area.width(),
                  std::max(0.0, top - ChartGap - area.top()));
}

} // namespace

namespace Chart {

QRgb PaletteColor(int index)
{
    return PageColor(CChartSeriesSetting::PaletteColor(index));
}

int Ticks::Count() const
{
    return step > 0 ? int(std::lround((last - first) / step)) + 1 : 1;
}

Ticks RoundTicks(double low, double high, int most)
{
    if (!std::isfinite(low) || !std::isfinite(high))
        return {};
    if (low > high)
        std::swap(low, high);
    if (high - low <= std::abs(high) * 1e-12) {
        // One value: an axis from 0 to it, or from 0 to 1 when it is 0.
        if (high > 0)
            low = 0;
        else if (high < 0)
            high = 0;
        else
            high = 1;
    }
    const double raw = (high - low) / std::max(most, 1);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double fraction = raw / magnitude;
    const double step = magnitude
            * (fraction <= 1 + 1e-9           ? 1
                       : fraction <= 2 + 1e-9 ? 2
                       : fraction <= 5 + 1e-9 ? 5
                                              : 10);
    // A value that is a tick within rounding stays that tick.
    Ticks ticks;
    ticks.step = step;
    ticks.first = std::floor(low / step + 1e-9) * step;
    ticks.last = std::ceil(high / step - 1e-9) * step;
    return ticks;
}

} // namespace Chart

void FoldCategories(CChartData &data, const QString &other)
{
    const size_t keep = Chart::MaxCategories - 1;
    if (data.categories.size() <= Chart::MaxCategories)
        return;
    // Folded before: the last kept category is "Other" already and is no new category.
    data.folded += int(data.categories.size() - keep) - (data.folded > 0 ? 1 : 0);
    data.categories.resize(keep);
    data.categories.push_back(other);
    for (CChartSeries &series : data.series) {
        std::optional<double> sum;
        for (size_t i = keep; i < series.values.size(); ++i) {
            if (series.values[i])
                sum = sum.value_or(0.0) + *series.values[i];
        }
        series.values.resize(keep);
        series.values.push_back(sum);
    }
}

CChartCanvas::CChartCanvas(const CPageRect &box, const CChartStyle &style,
                           std::vector<CPageItem> &items)
    : m_box(box)
    , m_style(style)
    , m_items(items)
{ }

void CChartCanvas::Polygon(const std::vector<QPointF> &points, QRgb fill, QRgb stroke, int width)
{
    CPagePath path;
    path.box = m_box;
    path.points.reserve(points.size());
    for (const QPointF &point : points)
        path.points.push_back({Round(point.x()), Round(point.y())});
    path.closed = true;
    path.fill = fill;
    path.stroke = stroke;
    path.width = width;
    path.source = m_style.source;
    m_items.emplace_back(std::move(path));
}

void CChartCanvas::Polyline(const std::vector<QPointF> &points, QRgb stroke, int width)
{
    Polygon(points, 0, stroke, width);
    std::get<CPagePath>(m_items.back()).closed = false;
}

void CChartCanvas::Rectangle(const QRectF &rect, QRgb fill)
{
    const QRectF r = rect.normalized();
    Polygon({r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()}, fill);
}

void CChartCanvas::Text(const QRectF &rect, const QString &text, int horz, int vert, QRgb color)
{
    if (text.isEmpty() || rect.width() <= 0 || rect.height() <= 0)
        return;
    CPageText item;
    item.box = {m_box.left + Round(rect.left()), m_box.top + Round(rect.top()),
                m_box.left + Round(rect.right()), m_box.top + Round(rect.bottom())};
    item.text = text;
    item.font = m_style.font;
    item.color = qAlpha(color) > 0 ? color : m_style.textColor;
    item.horzAlignment = horz;
    item.vertAlignment = vert;
    item.wordWrap = false;
    item.source = m_style.source;
    m_items.emplace_back(std::move(item));
}

int CChartCanvas::TextWidth(const QString &text) const
{
    if (m_style.textWidth)
        return m_style.textWidth(text);
    return Round(text.size() * m_style.lineHeight * 0.6);
}

QString CChartCanvas::Elided(const QString &text, double width) const
{
    if (TextWidth(text) <= width)
        return text;
    // Halving the search keeps a long label to a few measurements.
    qsizetype low = 0;
    qsizetype high = text.size();
    while (low < high) {
        const qsizetype middle = (low + high + 1) / 2;
        if (TextWidth(text.left(middle) + QChar(0x2026)) <= width)
            low = middle;
        else
            high = middle - 1;
    }
    return low > 0 ? text.left(low) + QChar(0x2026) : QString();
}

QString CChartCanvas::Format(double value) const
{
    if (m_style.format)
        return m_style.format(value);
    // Ticks such as 0.1 * 3 come out as 0.3.
    return QString::number(std::abs(value) < 1e-12 ? 0.0 : value, 'g', 12);
}

QRgb SeriesColor(const CChartData &data, int index)
{
    const bool own = index >= 0 && size_t(index) < data.series.size()
            && qAlpha(data.series[size_t(index)].color) > 0;
    return own ? data.series[size_t(index)].color : Chart::PaletteColor(index);
}

std::vector<CPageItem> LayoutChart(const CChartData &data, const CPageRect &box,
                                   const CChartStyle &style)
{
    std::vector<CPageItem> items;
    const double width = box.right - box.left;
    const double height = box.bottom - box.top;
    if (width <= 2 * ChartGap || height <= 2 * ChartGap)
        return items;
    CChartCanvas canvas(box, style, items);
    // First the whole box, drawn in nothing: a click anywhere in the chart finds it, and the
    // chart's other parts lie within it.
    canvas.Rectangle(QRectF(0, 0, width, height), 0);
    QRectF area(ChartGap, ChartGap, width - 2 * ChartGap, height - 2 * ChartGap);
    if (!style.title.isEmpty()) {
        canvas.Text(QRectF(area.left(), area.top(), area.width(), style.lineHeight), style.title, 2,
                    1);
        area.setTop(area.top() + style.lineHeight + ChartGap);
    }
    area = PlaceLegend(LegendOf(data, style), area, canvas);
    if (area.width() <= 0 || area.height() <= 0)
        return items;
    if (style.type == Chart::Type::Pie || style.type == Chart::Type::Doughnut)
        LayoutPieChart(data, area, canvas);
    else
        LayoutAxisChart(data, area, canvas);
    return items;
}
