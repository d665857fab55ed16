#include "chartparts.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double ArcStep = 2.0; // degrees between the points of an arc

// A point at radius from centre, angle degrees clockwise from 12 o'clock.
QPointF OnCircle(QPointF centre, double radius, double angle)
{
    const double a = angle * std::numbers::pi / 180.0;
    return {centre.x() + radius * std::sin(a), centre.y() - radius * std::cos(a)};
}

void AddArc(std::vector<QPointF> &points, QPointF centre, double radius, double from, double to)
{
    const int steps = std::max(1, int(std::ceil(std::abs(to - from) / ArcStep)));
    for (int i = 0; i <= steps; ++i)
        points.push_back(OnCircle(centre, radius, from + (to - from) * i / steps));
}

// Whether a box lies within the slice between the radii and angles.
bool InSlice(const QRectF &box, QPointF centre, double inner, double outer, double from, double to)
{
    for (const QPointF corner :
         {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()}) {
        const QPointF d = corner - centre;
        const double distance = std::hypot(d.x(), d.y());
        double angle = std::atan2(d.x(), -d.y()) * 180.0 / std::numbers::pi;
        if (angle < 0)
            angle += 360;
        if (distance < inner || distance > outer || angle < from || angle > to)
            return false;
    }
    return true;
}

bool Dark(QRgb color)
{
    return qRed(color) * 299 + qGreen(color) * 587 + qBlue(color) * 114 < 128000;
}

} // namespace

void LayoutPieChart(const CChartData &data, const QRectF &area, CChartCanvas &canvas)
{
    const bool doughnut = canvas.Style().type == Chart::Type::Doughnut;
    const double line = canvas.LineHeight();
    const size_t count = data.categories.size();
    // The first series gives the slices; what is no positive number has none.
    std::vector<double> values(count, 0.0);
    double total = 0;
    if (!data.series.empty()) {
        const CChartSeries &series = data.series.front();
        for (size_t c = 0; c < count && c < series.values.size(); ++c) {
            const std::optional<double> &value = series.values[c];
            if (value && std::isfinite(*value) && *value > 0)
                total += values[c] = *value;
        }
    }
    std::vector<QString> texts(count);
    double widest = 0;
    for (size_t c = 0; c < count; ++c) {
        texts[c] = data.categories[c];
        if (canvas.Style().valueLabels && values[c] > 0)
            texts[c] += QStringLiteral(": ") + canvas.Format(values[c]);
        widest = std::max(widest, double(canvas.TextWidth(texts[c])));
    }
    // Room around the circle for labels outside it.
    const double side = std::min(widest + ChartGap, area.width() * 0.25);
    double radius = std::min(area.width() / 2 - side, area.height() / 2 - line - ChartGap);
    if (radius < std::min(area.width(), area.height()) / 4)
        radius = std::min(area.width(), area.height()) / 2;
    const QPointF centre = area.center();
    const double inner = doughnut ? radius * 0.5 : 0.0;
    if (total <= 0) {
        // No data: the empty circle.
        std::vector<QPointF> circle;
        AddArc(circle, centre, radius, 0, 360);
        circle.pop_back();
        canvas.Polygon(circle, 0, ChartGridColor, ChartAxisWidth);
        return;
    }

    size_t slices = 0;
    for (double value : values)
        slices += value > 0;
    // Labels outside, per half, each below the last one there; one that would overlap is left out.
    double lowestRight = -1e300;
    double lowestLeft = -1e300;
    double from = 0;
    for (size_t c = 0; c < count; ++c) {
        if (values[c] <= 0)
            continue;
        const double sweep = values[c] / total * 360.0;
        const double to = std::min(from + sweep, 360.0);
        const QRgb color = SeriesColor(data, int(c));
        std::vector<QPointF> shape;
        if (inner > 0) {
            AddArc(shape, centre, radius, from, to);
            AddArc(shape, centre, inner, to, from);
        } else {
            if (slices > 1)
                shape.push_back(centre);
            AddArc(shape, centre, radius, from, to);
            if (slices == 1)
                shape.pop_back(); // the whole circle: its last point is its first
        }
        // Slices parted by a white line, so that two of one colour still read as two.
        canvas.Polygon(shape, color, slices > 1 ? 0xFFFFFFFF : 0, slices > 1 ? 20 : 0);

        const double middle = (from + to) / 2;
        const double width = canvas.TextWidth(texts[c]);
        const QPointF inside
                = OnCircle(centre, inner > 0 ? (inner + radius) / 2 : radius * 0.6, middle);
        const QRectF box(inside.x() - width / 2, inside.y() - line / 2, width, line);
        if (InSlice(box, centre, inner, radius, from, to)) {
            canvas.Text(box, texts[c], 2, 1, Dark(color) ? 0xFFFFFFFF : 0xFF000000);
        } else {
            const QPointF out = OnCircle(centre, radius + ChartGap, middle);
            const bool right = middle < 180;
            double &lowest = right ? lowestRight : lowestLeft;
            const double room = right ? area.right() - out.x() : out.x() - area.left();
            // On the right half labels go down with the angle, on the left half up: the left
            // half is handled from the bottom, so "below" there means "above".
            const double y = right ? out.y() - line / 2 : -(out.y() + line / 2);
            if (room > 0 && y >= lowest) {
                lowest = y + line;
                const double drawn = std::min(width, room);
                canvas.Text(
                        QRectF(right ? out.x() : out.x() - drawn, out.y() - line / 2, drawn, line),
                        canvas.Elided(texts[c], drawn), right ? 0 : 1, 1);
            }
        }
        from = to;
    }
}
