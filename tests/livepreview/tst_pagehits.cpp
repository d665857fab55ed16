#include "chartlayout.h"
#include "pagehits.h"
#include "testregistry.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Pointing at a chart in the live preview: its empty corners select it too, and its many paths
// and labels are one place to outline.
class TestPageHits : public QObject
{
    Q_OBJECT

private slots:
    void chartIsOnePlace();
};

void TestPageHits::chartIsOnePlace()
{
    CChartData data;
    data.categories = {u"Rock"_s, u"Jazz"_s};
    data.series.push_back({u"Sales"_s, 0, {5.0, 3.0}});
    CChartStyle style;
    style.type = Chart::Type::Pie;
    style.title = u"Sales"_s;
    style.source = {0, 2};
    const CPageRect box {1000, 1000, 9000, 7000};
    CPage page;
    CPageText before;
    before.box = {0, 0, 500, 500};
    before.text = u"before"_s;
    page.Add(before);
    for (CPageItem &item : LayoutChart(data, box, style))
        page.Add(std::move(item));
    page.AddBand({0, 0, 8000, true, {}});
    // A corner of the box, outside the round pie.
    QCOMPARE(PageHits::At(page, 1050, 6950), (CPageSource {0, 2}));
    QCOMPARE(PageHits::At(page, 200, 200), (CPageSource {-1, -1}));
    QCOMPARE(PageHits::At(page, 200, 7500), (CPageSource {0, -1}));
    const std::vector<CPageRect> places = PageHits::PlacesOf(page, 21000, {0, 2});
    QCOMPARE(places.size(), size_t(1));
    QCOMPARE(places.front(), box);
}

VANTEL_TEST_CLASS(TestPageHits)
#include "tst_pagehits.moc"
