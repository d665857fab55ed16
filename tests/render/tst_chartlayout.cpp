#include "chartlayout.h"
#include "testregistry.h"

#include <QTest>

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace {

using Values = std::vector<std::optional<double>>;
using Type = Chart::Type;

const double ArcStepOfTest = 2.0; // degrees between the points of an arc
const CPageRect ChartBox {1000, 2000, 11000, 10000}; // 100 mm by 80 mm

CChartStyle Style(Type type)
{
    CChartStyle style;
    style.type = type;
    style.lineHeight = 400;
    style.textWidth = [](const QString &text) {
        return int(text.size()) * 150;
    };
    style.foldedNote = [](int count) {
        return u"Other: %1 categories"_s.arg(count);
    };
    return style;
}

CChartData Data(const std::vector<Values> &series, int categories = -1)
{
    CChartData data;
    const size_t count = categories >= 0 ? size_t(categories) : series.front().size();
    for (size_t i = 0; i < count; ++i)
        data.categories.push_back(u"C%1"_s.arg(i + 1));
    for (size_t s = 0; s < series.size(); ++s)
        data.series.push_back({u"S%1"_s.arg(s + 1), 0, series[s]});
    return data;
}

// The filled paths of one colour, in drawing order, as rectangles (for bars) or point lists.
std::vector<const CPagePath *> Filled(const std::vector<CPageItem> &items, QRgb color)
{
    std::vector<const CPagePath *> paths;
    for (const CPageItem &item : items) {
        const auto *path = std::get_if<CPagePath>(&item);
        if (path && path->closed && path->fill == color)
            paths.push_back(path);
    }
    return paths;
}

QRect Extent(const CPagePath &path)
{
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (const CPagePoint &p : path.points) {
        left = std::min(left, p.x), right = std::max(right, p.x);
        top = std::min(top, p.y), bottom = std::max(bottom, p.y);
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

std::vector<const CPageText *> Texts(const std::vector<CPageItem> &items)
{
    std::vector<const CPageText *> texts;
    for (const CPageItem &item : items) {
        if (const auto *text = std::get_if<CPageText>(&item))
            texts.push_back(text);
    }
    return texts;
}

// How far apart two angles in degrees are, the short way round.
double AnglesApart(double a, double b)
{
    return std::abs(std::remainder(a - b, 360.0));
}

double AngleOf(QPointF point, QPointF centre)
{
    const double angle
            = std::atan2(point.x() - centre.x(), centre.y() - point.y()) * 180.0 / std::numbers::pi;
    return angle < -1e-6 ? angle + 360 : angle;
}

} // namespace

// The chart layout's primitives measured against the data that made them.
class TestChartLayout : public QObject
{
    Q_OBJECT

private slots:
    void roundTicks_data();
    void roundTicks();
    void barsProportional_data();
    void barsProportional();
    void stackedBarsStack();
    void pieAngles_data();
    void pieAngles();
    void categoryLabelsThinned_data();
    void categoryLabelsThinned();
    void manyCategoriesFolded();
    void emptyData();
};

void TestChartLayout::roundTicks_data()
{
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::addColumn<int>("most");
    QTest::addColumn<double>("first");
    QTest::addColumn<double>("last");
    QTest::addColumn<double>("step");
    QTest::newRow("0 to 87 in 5: steps of 20") << 0.0 << 87.0 << 5 << 0.0 << 100.0 << 20.0;
    QTest::newRow("-35 to 120 in 6: steps of 50") << -35.0 << 120.0 << 6 << -50.0 << 150.0 << 50.0;
    QTest::newRow("a tick value stays the last") << 0.0 << 100.0 << 5 << 0.0 << 100.0 << 20.0;
    QTest::newRow("small fractions: steps of 5") << 0.0 << 0.0172 << 4 << 0.0 << 0.02 << 0.005;
    QTest::newRow("all zero: 0 to 1") << 0.0 << 0.0 << 5 << 0.0 << 1.0 << 0.2;
    QTest::newRow("only negatives") << -7.0 << 0.0 << 7 << -7.0 << 0.0 << 1.0;
    QTest::newRow("one value: from 0") << 1e6 << 1e6 << 5 << 0.0 << 1e6 << 2e5;
}

void TestChartLayout::roundTicks()
{
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(int, most);
    QFETCH(double, first);
    QFETCH(double, last);
    QFETCH(double, step);
    const Chart::Ticks ticks = Chart::RoundTicks(low, high, most);
    const double near = 1e-9 * std::max(1.0, std::abs(high));
    QVERIFY(std::abs(ticks.first - first) < near);
    QVERIFY(std::abs(ticks.last - last) < near);
    QVERIFY(std::abs(ticks.step - step) < near);
}

void TestChartLayout::barsProportional_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<Values>("values");
    QTest::newRow("bars") << int(Type::Bars) << Values {10, 25, 3.5};
    QTest::newRow("bars with negatives, zero and NULL")
            << int(Type::Bars) << Values {10, -25, 0, std::nullopt, 7};
    QTest::newRow("horizontal bars") << int(Type::HorizontalBars) << Values {-4, 12, 0.25};
    QTest::newRow("one category") << int(Type::Bars) << Values {-3};
}

void TestChartLayout::barsProportional()
{
    QFETCH(int, type);
    QFETCH(Values, values);
    const bool horizontal = Type(type) == Type::HorizontalBars;
    const std::vector<CPageItem> items = LayoutChart(Data({values}), ChartBox, Style(Type(type)));
    const std::vector<const CPagePath *> bars = Filled(items, Chart::PaletteColor(0));
    std::vector<double> drawn;
    for (const auto &value : values) {
        if (value && *value != 0)
            drawn.push_back(*value);
    }
    QCOMPARE(bars.size(), drawn.size());
    // Each bar is as long as its value at one scale, and starts at the zero line.
    // The scale from the longest bar; each end of a bar is rounded to 0.01 mm.
    const auto lengthOf = [&](size_t i) {
        const QRect extent = Extent(*bars[i]);
        return horizontal ? extent.width() : extent.height();
    };
    size_t longest = 0;
    for (size_t i = 0; i < bars.size(); ++i) {
        if (std::abs(drawn[i]) > std::abs(drawn[longest]))
            longest = i;
    }
    const double scale = lengthOf(longest) / std::abs(drawn[longest]);
    std::optional<int> zero;
    for (size_t i = 0; i < bars.size(); ++i) {
        QCOMPARE(bars[i]->box, ChartBox);
        const QRect extent = Extent(*bars[i]);
        const int length = lengthOf(i);
        QVERIFY2(std::abs(length - std::abs(drawn[i]) * scale) <= 2.0,
                 qPrintable(u"bar %1: %2"_s.arg(i).arg(length)));
        const int base = horizontal ? (drawn[i] < 0 ? extent.right() : extent.left())
                                    : (drawn[i] < 0 ? extent.top() : extent.bottom());
        if (!zero)
            zero = base;
        QCOMPARE(base, *zero);
        // Negative values below the line, or to its left.
        const int far = horizontal ? (drawn[i] < 0 ? extent.left() : extent.right())
                                   : (drawn[i] < 0 ? extent.bottom() : extent.top());
        QCOMPARE(far < *zero, (drawn[i] < 0) == horizontal);
    }
    // The zero line is drawn, across the plot.
    const bool zeroLine = std::any_of(items.begin(), items.end(), [&](const CPageItem &item) {
        const auto *path = std::get_if<CPagePath>(&item);
        return path && !path->closed && path->stroke == 0xFF000000 && path->points.size() == 2
                && (horizontal ? path->points[0].x == *zero && path->points[1].x == *zero
                               : path->points[0].y == *zero && path->points[1].y == *zero)
                && (horizontal ? path->points[0].y != path->points[1].y
                               : path->points[0].x != path->points[1].x);
    });
    QVERIFY(zeroLine);
}

void TestChartLayout::stackedBarsStack()
{
    const CChartData data = Data({{10, -4}, {5, -6}});
    const std::vector<CPageItem> items = LayoutChart(data, ChartBox, Style(Type::StackedBars));
    const auto first = Filled(items, Chart::PaletteColor(0));
    const auto second = Filled(items, Chart::PaletteColor(1));
    QCOMPARE(first.size(), size_t(2));
    QCOMPARE(second.size(), size_t(2));
    const QRect up1 = Extent(*first[0]), up2 = Extent(*second[0]);
    const QRect down1 = Extent(*first[1]), down2 = Extent(*second[1]);
    // The second series goes on where the first ends, away from zero on either side.
    QCOMPARE(up2.bottom(), up1.top());
    QCOMPARE(down2.top(), down1.bottom());
    QCOMPARE(up1.bottom(), down1.top());
    QCOMPARE(up1.left(), up2.left());
    const double scale = up1.height() / 10.0;
    QVERIFY(std::abs(up2.height() - 5 * scale) <= 1.0);
    QVERIFY(std::abs(down1.height() - 4 * scale) <= 1.0);
    QVERIFY(std::abs(down2.height() - 6 * scale) <= 1.0);
}

void TestChartLayout::pieAngles_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<Values>("values");
    QTest::addColumn<std::vector<double>>("ends"); // of each drawn slice, from 12 o'clock
    QTest::newRow("pie") << int(Type::Pie) << Values {1, 2, 3, 6}
                         << std::vector<double> {30, 90, 180, 360};
    QTest::newRow("NULL and negative have no slice")
            << int(Type::Pie) << Values {1, std::nullopt, -2, 2} << std::vector<double> {120, 360};
    QTest::newRow("doughnut") << int(Type::Doughnut) << Values {0.1, 0.7, 0.2}
                              << std::vector<double> {36, 288, 360};
    QTest::newRow("one slice, the whole circle")
            << int(Type::Pie) << Values {5} << std::vector<double> {360};
}

void TestChartLayout::pieAngles()
{
    QFETCH(int, type);
    QFETCH(Values, values);
    QFETCH(std::vector<double>, ends);
    const std::vector<CPageItem> items = LayoutChart(Data({values}), ChartBox, Style(Type(type)));
    std::vector<const CPagePath *> slices;
    QRect all;
    for (int i = 0; i < int(values.size()); ++i) {
        for (const CPagePath *path : Filled(items, Chart::PaletteColor(i))) {
            slices.push_back(path);
            all = all.united(Extent(*path));
        }
    }
    QCOMPARE(slices.size(), ends.size());
    const QPointF centre = QRectF(all).center();
    const double radius = all.width() / 2.0;
    double start = 0;
    for (size_t i = 0; i < slices.size(); ++i) {
        // The outer arc's points, in drawing order: clockwise from the slice's start.
        std::vector<double> angles;
        for (const CPagePoint &p : slices[i]->points) {
            if (std::hypot(p.x - centre.x(), p.y - centre.y()) > radius * 0.98)
                angles.push_back(AngleOf(QPointF(p.x, p.y), centre));
        }
        QVERIFY(angles.size() >= 2);
        QVERIFY2(AnglesApart(angles.front(), start) < 0.1,
                 qPrintable(u"slice %1 starts at %2"_s.arg(i).arg(angles.front())));
        // A whole circle closes back to its first point instead of ending on it.
        const double last = slices.size() == 1 ? angles.back() + ArcStepOfTest : angles.back();
        QVERIFY2(AnglesApart(last, ends[i]) < 0.1,
                 qPrintable(u"slice %1 ends at %2"_s.arg(i).arg(angles.back())));
        // Clockwise: the second point of the arc lies past the first.
        QVERIFY(std::remainder(angles[1] - angles[0], 360.0) > 0);
        start = ends[i];
    }
    if (Type(type) == Type::Doughnut) {
        // The hole is half the circle.
        double nearest = 1e9;
        for (const CPagePoint &p : slices.front()->points)
            nearest = std::min(nearest, std::hypot(p.x - centre.x(), p.y - centre.y()));
        QVERIFY(std::abs(nearest - radius / 2) < 2);
    }
}

void TestChartLayout::categoryLabelsThinned_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("all");
    QTest::newRow("three short labels: all") << 3 << u"Jazz"_s << true;
    QTest::newRow("60 long labels: thinned") << 60 << u"Category %1"_s << false;
    QTest::newRow("1,000 labels: thinned") << 1000 << u"%1"_s << false;
}

void TestChartLayout::categoryLabelsThinned()
{
    QFETCH(int, count);
    QFETCH(QString, name);
    QFETCH(bool, all);
    CChartData data = Data({Values(size_t(count), 1.0)});
    for (int i = 0; i < count; ++i)
        data.categories[size_t(i)] = name.contains(u'%') ? name.arg(i + 1) : name;
    const CChartStyle style = Style(Type::Bars);
    const std::vector<CPageItem> items = LayoutChart(data, ChartBox, style);
    QCOMPARE(Filled(items, Chart::PaletteColor(0)).size(), size_t(count));
    std::vector<const CPageText *> labels;
    for (const CPageText *text : Texts(items)) {
        if (std::find(data.categories.begin(), data.categories.end(), text->text)
            != data.categories.end())
            labels.push_back(text);
    }
    QCOMPARE(labels.size() == size_t(count), all);
    QVERIFY(labels.size() >= 2);
    // No two labels shown run into each other.
    for (size_t i = 1; i < labels.size(); ++i) {
        const auto middle = [](const CPageText *t) {
            return (t->box.left + t->box.right) / 2.0;
        };
        const double apart = middle(labels[i]) - middle(labels[i - 1]);
        QVERIFY(apart
                >= (style.textWidth(labels[i]->text) + style.textWidth(labels[i - 1]->text)) / 2.0);
    }
}

void TestChartLayout::manyCategoriesFolded()
{
    CChartData data = Data({Values(1500, 2.0), Values(1500, std::nullopt)});
    FoldCategories(data, u"Other"_s);
    QCOMPARE(data.categories.size(), size_t(Chart::MaxCategories));
    QCOMPARE(data.categories.back(), u"Other"_s);
    QCOMPARE(data.folded, 501);
    QCOMPARE(data.series[0].values.back(), std::optional<double>(1002.0));
    QCOMPARE(data.series[1].values.back(), std::optional<double>());
    QCOMPARE(data.series[0].values.size(), data.categories.size());

    CChartStyle style = Style(Type::Bars);
    style.legend = Chart::Legend::Bottom;
    const std::vector<CPageItem> items = LayoutChart(data, ChartBox, style);
    // A bar per category and the legend's swatch.
    QCOMPARE(Filled(items, Chart::PaletteColor(0)).size(), size_t(Chart::MaxCategories + 1));
    const auto texts = Texts(items);
    QVERIFY(std::any_of(texts.begin(), texts.end(), [](const CPageText *text) {
        return text->text == u"Other: 501 categories"_s;
    }));
}

void TestChartLayout::emptyData()
{
    // All zero or NULL: no bar, an axis from 0 to 1.
    for (const Values &values : {Values {0, 0}, Values {std::nullopt, std::nullopt}}) {
        const auto items = LayoutChart(Data({values}), ChartBox, Style(Type::Bars));
        QVERIFY(Filled(items, Chart::PaletteColor(0)).empty());
        const auto texts = Texts(items);
        QVERIFY(std::any_of(texts.begin(), texts.end(),
                            [](const CPageText *t) { return t->text == u"1"_s; }));
    }
    // A NULL breaks a line in two.
    const auto lines
            = LayoutChart(Data({{1, 2, std::nullopt, 3, 4}}), ChartBox, Style(Type::Lines));
    const auto series = std::count_if(lines.begin(), lines.end(), [](const CPageItem &item) {
        const auto *path = std::get_if<CPagePath>(&item);
        return path && path->stroke == Chart::PaletteColor(0) && !path->closed;
    });
    QCOMPARE(series, 2);
    // A pie of nothing is its empty circle.
    const auto pie = LayoutChart(Data({{0, std::nullopt}}), ChartBox, Style(Type::Pie));
    QCOMPARE(std::count_if(pie.begin(), pie.end(),
                           [](const CPageItem &item) {
                               const auto *path = std::get_if<CPagePath>(&item);
                               return path && qAlpha(path->fill) > 0;
                           }),
             0);
    QVERIFY(LayoutChart(Data({{1}}), {0, 0, 150, 150}, Style(Type::Pie)).empty());
}

VANTEL_TEST_CLASS(TestChartLayout)
#include "tst_chartlayout.moc"
