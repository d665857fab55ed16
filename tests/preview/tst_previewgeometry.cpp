#include "previewgeometry.h"
#include "testregistry.h"

#include <QTest>

// Where the pages of a preview lie and which one is current.
class TestPreviewGeometry : public QObject
{
    Q_OBJECT

private slots:
    void pageAt_data()
    {
        // A4 at 96 dpi and 100 %: 794 x 1123 pixels, a page every 1139 pixels.
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("page");
        QTest::newRow("top") << 3 << 0 << 0;
        QTest::newRow("last pixel of the first step") << 3 << 1138 << 0;
        QTest::newRow("gap above the second page") << 3 << 1139 << 1;
        QTest::newRow("below the last page") << 3 << 100000 << 2;
        QTest::newRow("above the top") << 3 << -50 << 0;
        QTest::newRow("no pages") << 0 << 500 << 0;
    }
    void pageAt()
    {
        QFETCH(int, pages);
        QFETCH(int, y);
        QFETCH(int, page);
        CPreviewGeometry geometry;
        geometry.SetPageCount(pages);
        QCOMPARE(geometry.PagePixelSize(), QSize(794, 1123));
        QCOMPARE(geometry.PageAt(y), page);
    }

    void mostVisiblePage_data()
    {
        // A 600-pixel view over A4 pages 1139 pixels apart (the page 16..1139, then a gap).
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("page");
        QTest::newRow("the first page fills the view") << 0 << 0;
        QTest::newRow("its bottom edge at the top, the next page below") << 1000 << 1;
        QTest::newRow("more of the first than of the second") << 800 << 0;
        QTest::newRow("last page") << 2 * 1139 + 100 << 2;
    }
    void mostVisiblePage()
    {
        QFETCH(int, y);
        QFETCH(int, page);
        CPreviewGeometry geometry;
        geometry.SetPageCount(3);
        QCOMPARE(geometry.MostVisiblePage(y, 600), page);
    }

    void layoutOfTheColumn()
    {
        CPreviewGeometry geometry;
        geometry.SetPageCount(2);
        geometry.SetZoom(0.5);
        geometry.SetViewportWidth(1000);
        // Centred in a wide view, at the left gap in a narrow one.
        // A4 at 50 %: 397 x 561 pixels.
        QCOMPARE(geometry.PageRect(1),
                 QRect(QPoint((1000 - 397) / 2, 16 + 561 + 16), QSize(397, 561)));
        QCOMPARE(geometry.ContentSize(), QSize(397 + 32, 16 + 2 * (561 + 16)));
        geometry.SetViewportWidth(100);
        QCOMPARE(geometry.PageRect(0).left(), 16);
        QCOMPARE(geometry.ScrollPositionOf(1), 561 + 16);
        int first = 0;
        int last = 0;
        geometry.VisiblePages(500, 200, first, last);
        QCOMPARE(first, 0);
        QCOMPARE(last, 1);
    }

    void fitAndLadder()
    {
        CPreviewGeometry geometry;
        // Landscape A4: 1123 x 794 at 100 %.
        geometry.SetPageSize(QSize(29700, 21000));
        QVERIFY(qAbs(geometry.FitWidthZoom(QSize(1123 + 32, 300)) - 1.0) < 0.001);
        QVERIFY(qAbs(geometry.FitPageZoom(QSize(1123 + 32, 397 + 32)) - 0.5) < 0.001);
        QCOMPARE(geometry.FitPageZoom(QSize(0, 0)), CPreviewGeometry::minZoom);
        QCOMPARE(CPreviewGeometry::ZoomIn(1.0), 1.25);
        QCOMPARE(CPreviewGeometry::ZoomIn(1.1), 1.25);
        QCOMPARE(CPreviewGeometry::ZoomOut(1.1), 1.0);
        QCOMPARE(CPreviewGeometry::ZoomIn(8.0), 8.0);
        QCOMPARE(CPreviewGeometry::ZoomOut(0.1), 0.1);
        geometry.SetZoom(1e9);
        QCOMPARE(geometry.GetZoom(), CPreviewGeometry::maxZoom);
    }
};

VANTEL_TEST_CLASS(TestPreviewGeometry)
#include "tst_previewgeometry.moc"
