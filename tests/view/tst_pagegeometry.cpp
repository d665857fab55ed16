#include "pagegeometry.h"
#include "pagetestutil.h"
#include "testregistry.h"

#include <QTest>

using namespace PageTest;

Q_DECLARE_METATYPE(PixRect)

namespace {

PixRect Rect(int l, int t, int r, int b)
{
    return {l, t, r, b};
}

} // namespace

namespace QTest {
template<>
char *toString(const PixRect &r)
{
    return qstrdup(QByteArray::number(r.left) + ',' + QByteArray::number(r.top) + ','
                   + QByteArray::number(r.right) + ',' + QByteArray::number(r.bottom));
}
} // namespace QTest

// Where the page, its bands and its items lie in the view, as pure arithmetic on the report,
// the resolution, the client size and the scroll position.
class TestPageGeometry : public QObject
{
    Q_OBJECT

private slots:
    void modelToPixels_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("value");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<int>("pixels");
        QTest::newRow("210 mm at 96 dpi") << 96 << 21000 << 1.0 << 793;
        QTest::newRow("297 mm at 96 dpi") << 96 << 29700 << 1.0 << 1122;
        QTest::newRow("one inch") << 96 << 2540 << 1.0 << 96;
        QTest::newRow("210 mm at 120 dpi") << 120 << 21000 << 1.0 << 992;
        QTest::newRow("negative truncates toward zero") << 96 << -21000 << 1.0 << -793;
        QTest::newRow("half zoom") << 96 << 21000 << 0.5 << 396;
        // 26.9 units would give 1 pixel; truncated to 26 units first they give 0.
        QTest::newRow("zoom truncates to whole units first") << 96 << 269 << 0.1 << 0;
        QTest::newRow("one inch at the narrow zoom") << 96 << 2540 << 20981.0 / 21000 << 95;
    }
    void modelToPixels()
    {
        QFETCH(int, dpi);
        QFETCH(int, value);
        QFETCH(double, zoom);
        QFETCH(int, pixels);
        CVornReport report;
        const CPageGeometry across = Geometry(report, QSize(800, 600), dpi, 72);
        const CPageGeometry down = Geometry(report, QSize(800, 600), 72, dpi);
        QCOMPARE(across.ModelToPixelsX(value, zoom), pixels);
        QCOMPARE(down.ModelToPixelsY(value, zoom), pixels);
    }

    void pixelsToModel_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<int>("value");
        QTest::newRow("one pixel") << 96 << 1 << 1.0 << 26;
        QTest::newRow("page width") << 96 << 793 << 1.0 << 20981;
        QTest::newRow("negative") << 96 << -1 << 1.0 << -26;
        QTest::newRow("half zoom doubles") << 96 << 1 << 0.5 << 52;
        QTest::newRow("narrow zoom truncates again") << 96 << 1 << 20981.0 / 21000 << 26;
        QTest::newRow("120 dpi") << 120 << 20 << 1.0 << 423;
    }
    void pixelsToModel()
    {
        QFETCH(int, dpi);
        QFETCH(int, pixels);
        QFETCH(double, zoom);
        QFETCH(int, value);
        CVornReport report;
        const CPageGeometry across = Geometry(report, QSize(800, 600), dpi, 72);
        const CPageGeometry down = Geometry(report, QSize(800, 600), 72, dpi);
        QCOMPARE(across.PixelsToModelX(pixels, zoom), value);
        QCOMPARE(down.PixelsToModelY(pixels, zoom), value);
        if (zoom == 1.0)
            QCOMPARE(across.PixelsToModelX(pixels), value);
    }

    void pageRect_data()
    {
        QTest::addColumn<bool>("portrait");
        QTest::addColumn<int>("dpiX");
        QTest::addColumn<int>("dpiY");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QPoint>("scroll");
        QTest::addColumn<QSize>("total");
        QTest::addColumn<PixRect>("drawArea");
        QTest::addColumn<PixRect>("page");
        QTest::addColumn<double>("zoom");
        QTest::newRow("wide window: full size, centred, 20 below the top")
                << true << 96 << 96 << QSize(1200, 800) << QPoint() << QSize(833, 1162)
                << Rect(0, 0, 1200, 1162) << Rect(203, 20, 996, 1142) << 1.0;
        // At 100 % a narrow window shows the page at its size, to be scrolled.
        QTest::newRow("narrow window")
                << true << 96 << 96 << QSize(500, 400) << QPoint() << QSize(833, 1162)
                << Rect(0, 0, 833, 1162) << Rect(20, 20, 813, 1142) << 1.0;
        QTest::newRow("scrolling does not move the page")
                << true << 96 << 96 << QSize(500, 400) << QPoint(150, 300) << QSize(833, 1162)
                << Rect(0, 0, 833, 1162) << Rect(20, 20, 813, 1142) << 1.0;
        QTest::newRow("window taller than the page")
                << true << 96 << 96 << QSize(1200, 2000) << QPoint() << QSize(833, 1162)
                << Rect(0, 0, 1200, 2000) << Rect(203, 20, 996, 1142) << 1.0;
        QTest::newRow("landscape swaps the sides")
                << false << 96 << 96 << QSize(1400, 700) << QPoint() << QSize(1162, 833)
                << Rect(0, 0, 1400, 833) << Rect(139, 20, 1261, 813) << 1.0;
        QTest::newRow("landscape in a narrow window")
                << false << 96 << 96 << QSize(300, 300) << QPoint() << QSize(1162, 833)
                << Rect(0, 0, 1162, 833) << Rect(20, 20, 1142, 813) << 1.0;
        QTest::newRow("120 dpi narrow")
                << true << 120 << 120 << QSize(500, 400) << QPoint() << QSize(1032, 1443)
                << Rect(0, 0, 1032, 1443) << Rect(20, 20, 1012, 1423) << 1.0;
        QTest::newRow("each axis its own resolution")
                << true << 96 << 120 << QSize(1200, 900) << QPoint() << QSize(833, 1443)
                << Rect(0, 0, 1200, 1443) << Rect(203, 20, 996, 1423) << 1.0;
    }
    void pageRect()
    {
        QFETCH(bool, portrait);
        QFETCH(int, dpiX);
        QFETCH(int, dpiY);
        QFETCH(QSize, client);
        QFETCH(QPoint, scroll);
        QFETCH(QSize, total);
        QFETCH(PixRect, drawArea);
        QFETCH(PixRect, page);
        QFETCH(double, zoom);
        CVornReport report;
        report.SetPortrait(portrait ? 1 : 0);
        QCOMPARE(CPageGeometry::TotalScrollSize(report, dpiX, dpiY), total);
        const CPageGeometry geometry = Geometry(report, client, dpiX, dpiY, scroll);
        QCOMPARE(geometry.GetDrawArea(), drawArea);
        double z = 0;
        QCOMPARE(geometry.GetPageRect(&z), page);
        QCOMPARE(z, zoom);
        QCOMPARE(geometry.ClientToView(QPoint(5, 7)), QPoint(5, 7) + scroll);
    }

    void degeneratePagesKeepAUsableZoom_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QSize>("total");
        QTest::newRow("no page width") << 0 << QSize(500, 400) << QSize();
        QTest::newRow("negative page width") << -21000 << QSize(500, 400) << QSize();
        QTest::newRow("window not laid out yet") << 21000 << QSize(0, 0) << QSize();
        QTest::newRow("page narrower than a pixel") << 10 << QSize(0, 0) << QSize(40, 1162);
    }
    void degeneratePagesKeepAUsableZoom()
    {
        QFETCH(int, width);
        QFETCH(QSize, client);
        QFETCH(QSize, total);
        CVornReport report;
        report.SetWidth(width);
        const CPageGeometry geometry(report, 96, 96, {0, 0, client.width(), client.height()},
                                     QPoint(), total);
        double z = 0;
        geometry.GetPageRect(&z);
        QCOMPARE(z, 1.0);
        QCOMPARE(geometry.PixelsToModelX(96, z), 2540);
    }

    void bandsStackFromThePageTop()
    {
        CVornReport report;
        AddBand(report, 1000);
        AddBand(report, 999, VornKind::PageBreak);
        AddBand(report, 2500);
        AddBand(report, 1234);
        const CPageGeometry geometry = Geometry(report, QSize(1200, 800));
        // 1000, 2500 and 1234 units are 37, 94 and 46 pixels; a Page Break takes none.
        const QList<int> tops {20, 57, 57, 151};
        for (int i = 0; i < tops.size(); ++i)
            QCOMPARE(geometry.GetBandTop(i), tops[i]);
        QCOMPARE(geometry.GetBandRect(0), Rect(203, 20, 996, 57));
        QCOMPARE(geometry.GetBandRect(1), Rect(203, 57, 996, 57));
        QCOMPARE(geometry.GetBandRect(3), Rect(203, 151, 996, 197));
        QCOMPARE(geometry.GetItemPixelRect(report.GetBands()[2]), Rect(203, 57, 996, 151));
        // The sum of the heights, 4734 units, is converted in one piece: 178 pixels, one more
        // than the bands' own pixel heights add up to.
        QCOMPARE(geometry.GetDarkArea(), Rect(203, 198, 996, 1142));
    }

    void bandsTallerThanThePageLeaveNoDarkArea()
    {
        CVornReport report;
        AddBand(report, 20000);
        AddBand(report, 20000);
        const CPageGeometry geometry = Geometry(report, QSize(1200, 800));
        QVERIFY(geometry.GetDarkArea().IsEmpty());
        QCOMPARE(geometry.GetBandRect(1).bottom, 20 + 2 * 755);
    }

    void itemRects_data()
    {
        QTest::addColumn<int>("bandKind");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QRect>("item"); // left, top, right, bottom in model units
        QTest::addColumn<PixRect>("unclipped");
        QTest::addColumn<PixRect>("clipped");
        // The second band starts at 20 + 94 = 114; it is 2540 units (96 pixels) high.
        const int rc = VornKind::ReportContents;
        QTest::newRow("inside the band")
                << rc << QSize(1200, 800) << QRect(QPoint(1270, 254), QPoint(2540, 1270))
                << Rect(251, 123, 299, 162) << Rect(251, 123, 299, 162);
        QTest::newRow("past the band's bottom and the page's right")
                << rc << QSize(1200, 800) << QRect(QPoint(20000, 2000), QPoint(23000, 5080))
                << Rect(958, 189, 1072, 306) << Rect(958, 189, 996, 210);
        QTest::newRow("negative coordinates are cut at the band's left and top")
                << rc << QSize(1200, 800) << QRect(QPoint(-2540, -2540), QPoint(2540, 2540))
                << Rect(107, 18, 299, 210) << Rect(203, 114, 299, 210);
        QTest::newRow("wholly below the band")
                << rc << QSize(1200, 800) << QRect(QPoint(0, 3000), QPoint(2540, 4000))
                << Rect(203, 227, 299, 265) << Rect(0, 0, 0, 0);
        QTest::newRow("no width") << rc << QSize(1200, 800)
                                  << QRect(QPoint(2540, 0), QPoint(2540, 1000))
                                  << Rect(299, 114, 299, 151) << Rect(0, 0, 0, 0);
        QTest::newRow("page break: never anything to draw into")
                << int(VornKind::PageBreak) << QSize(1200, 800)
                << QRect(QPoint(1270, 254), QPoint(2540, 1270)) << Rect(251, 123, 299, 162)
                << Rect(0, 0, 0, 0);
        // At 100 % a narrow window puts the page at 20 and leaves the item its size.
        QTest::newRow("narrow window")
                << rc << QSize(500, 400) << QRect(QPoint(2540, 0), QPoint(5080, 2540))
                << Rect(116, 114, 212, 210) << Rect(116, 114, 212, 210);
    }
    void itemRects()
    {
        QFETCH(int, bandKind);
        QFETCH(QSize, client);
        QFETCH(QRect, item);
        QFETCH(PixRect, unclipped);
        QFETCH(PixRect, clipped);
        CVornReport report;
        AddBand(report, 2500);
        CVornBand *band = AddBand(report, 2540, bandKind);
        auto *shape
                = AddItem<CVornShape>(band, item.left(), item.top(), item.right(), item.bottom());
        const CPageGeometry geometry = Geometry(report, client);
        const PixRect bandRect = geometry.GetBandRect(1);
        QCOMPARE(geometry.GetItemPixelRect(*shape, bandRect), unclipped);
        QCOMPARE(geometry.GetItemPixelRect(shape), unclipped);
        QCOMPARE(geometry.GetClippedItemRect(*shape, bandRect), clipped);
    }

    void elementsOutsideTheReportHaveNoRect()
    {
        CVornReport report;
        AddBand(report, 2500);
        CVornText stray;
        stray.SetRect(0, 0, 1000, 1000);
        const CPageGeometry geometry = Geometry(report, QSize(1200, 800));
        QCOMPARE(geometry.GetItemPixelRect(&stray), PixRect());
        QCOMPARE(geometry.GetItemPixelRect(nullptr), PixRect());
    }

    void rectangleArithmetic_data()
    {
        QTest::addColumn<PixRect>("a");
        QTest::addColumn<PixRect>("b");
        QTest::addColumn<PixRect>("common");
        QTest::newRow("overlap") << Rect(0, 0, 10, 10) << Rect(5, 5, 20, 20) << Rect(5, 5, 10, 10);
        QTest::newRow("touching edges do not meet")
                << Rect(0, 0, 10, 10) << Rect(10, 0, 20, 10) << Rect(0, 0, 0, 0);
        QTest::newRow("apart") << Rect(0, 0, 10, 10) << Rect(30, 30, 40, 40) << Rect(0, 0, 0, 0);
        QTest::newRow("inside") << Rect(0, 0, 10, 10) << Rect(2, 3, 4, 5) << Rect(2, 3, 4, 5);
    }
    void rectangleArithmetic()
    {
        QFETCH(PixRect, a);
        QFETCH(PixRect, b);
        QFETCH(PixRect, common);
        QCOMPARE(a.Intersect(b), common);
        QCOMPARE(b.Intersect(a), common);
        QVERIFY(a.Contains(a.left, a.top));
        QVERIFY(!a.Contains(a.right, a.top));
        QVERIFY(!a.Contains(a.left, a.bottom));
    }
};

VANTEL_TEST_CLASS(TestPageGeometry)
#include "tst_pagegeometry.moc"
