#include "interactionrig.h"
#include "rulerscale.h"
#include "testregistry.h"
#include "vornitems.h"
#include "zoomsteps.h"

#include <QTest>

namespace {

// A band 5080 units high with one selected Text at (2540, 1270, 7620, 2540), at 96 pixels per
// inch in a 900 x 700 client, shown at the zoom given.
struct ZoomRig
{
    explicit ZoomRig(double zoom)
        : rig(QSize(900, 700), QPoint(), zoom)
    {
        band = PageTest::AddBand(rig.Report(), 5080);
        item = rig.AddItem<CVornText>(band, QStringLiteral("Item 0"), 2540, 1270, 7620, 2540);
        item->SetSelected(true);
    }
    CInteractionRig rig;
    CVornBand *band;
    CVornText *item;
};

} // namespace

// The user's zoom from 25 % to 400 %: the page, hit testing, dragging, snapping, insertion and
// the key steps all follow it, and the scroll extent reaches every band.
class TestZoom : public QObject
{
    Q_OBJECT

private slots:
    void hitTest_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QString>("hit");
        // The item on the page: 25 % (24, 11, 72, 24), the band 48 pixels high; 100 % (96, 48,
        // 288, 96), band 192; 400 % (384, 192, 1152, 384), band 768. Right and bottom excluded.
        QTest::newRow("25 %: last pixel of the item") << 0.25 << QPoint(71, 23) << "Item 0";
        QTest::newRow("25 %: right of it, the band") << 0.25 << QPoint(72, 23) << "Band 0";
        QTest::newRow("25 %: below the band, nothing") << 0.25 << QPoint(100, 60) << QString();
        QTest::newRow("100 %: last pixel of the item") << 1.0 << QPoint(287, 95) << "Item 0";
        QTest::newRow("100 %: right of it, the band") << 1.0 << QPoint(288, 95) << "Band 0";
        QTest::newRow("400 %: last pixel of the item") << 4.0 << QPoint(1151, 383) << "Item 0";
        QTest::newRow("400 %: right of it, the band") << 4.0 << QPoint(1152, 383) << "Band 0";
    }
    void hitTest()
    {
        QFETCH(double, zoom);
        QFETCH(QPoint, at);
        QFETCH(QString, hit);
        ZoomRig z(zoom);
        const CVornElement *element = z.rig.Do().HitTest(z.rig.At(at), false);
        QCOMPARE(element ? element->GetName() : QString(), hit);
    }

    void dragStep_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<ModelBox>("moved");
        // From the item's middle by (10, 5) pixels: 264 and 132 units at full size, times 1/z.
        QTest::newRow("25 %") << 0.25 << QPoint(48, 17) << ModelBox {3596, 1798, 8676, 3068};
        QTest::newRow("100 %") << 1.0 << QPoint(192, 72) << ModelBox {2804, 1402, 7884, 2672};
        QTest::newRow("400 %") << 4.0 << QPoint(768, 288) << ModelBox {2606, 1303, 7686, 2573};
    }
    void dragStep()
    {
        QFETCH(double, zoom);
        QFETCH(QPoint, from);
        QFETCH(ModelBox, moved);
        ZoomRig z(zoom);
        z.rig.Drag(from, {from + QPoint(10, 5)});
        QCOMPARE(z.rig.State().m_mode, int(CViewInteraction::Move));
        QCOMPARE(BoxOf(z.item), moved);
    }

    void snap_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<int>("right");
        // Right edge 7800: 25 % 73 px -> 70 -> 1852 / 0.25; 100 % 294 -> 290 -> 7672;
        // 400 % 1179 -> 1180 -> 31220 / 4.
        QTest::newRow("25 %") << 0.25 << 7408;
        QTest::newRow("100 %") << 1.0 << 7672;
        QTest::newRow("400 %") << 4.0 << 7805;
    }
    void snap()
    {
        QFETCH(double, zoom);
        QFETCH(int, right);
        ZoomRig z(zoom);
        z.rig.State().m_mode = CViewInteraction::DragRight;
        const CViewInteraction::ModelRect snapped
                = z.rig.Do().SnapRectToGrid({2540, 1270, 7800, 2540}, 0);
        QCOMPARE(snapped.right, qint64(right));
        // The edges the mode leaves alone keep their exact values.
        QCOMPARE(snapped.left, qint64(2540));
        QCOMPARE(snapped.bottom, qint64(2540));
    }

    void insertion_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<ModelBox>("rect");
        // A Text at page pixel (20, 30), as large as 150 x 20 pixels are at full size, whatever
        // the zoom: 38 x 5 pixels at 25 %, 600 x 80 at 400 %; converted and times 1/z.
        QTest::newRow("25 %") << 0.25 << ModelBox {2116, 3172, 6136, 3704};
        QTest::newRow("100 %") << 1.0 << ModelBox {529, 793, 4497, 1322};
        QTest::newRow("400 %") << 4.0 << ModelBox {132, 198, 4101, 727};
    }
    void insertion()
    {
        QFETCH(double, zoom);
        QFETCH(ModelBox, rect);
        ZoomRig z(zoom);
        z.rig.Do().InsertAt(z.rig.At(QPoint(20, 30)), VornKind::Text);
        QCOMPARE(z.band->GetItems().GetCount(), 2);
        QCOMPARE(BoxOf(z.band->GetItems()[1]), rect);
    }

    void fitWidth_data()
    {
        QTest::addColumn<int>("client");
        QTest::addColumn<int>("pageWidth");
        // A4 in a client less 40 pixels: 860 pixels, 22754 units, 108 %.
        QTest::newRow("a wide window zooms in") << 900 << 859;
        QTest::newRow("a narrow one zooms out") << 300 << 259;
        QTest::newRow("not above 400 %") << 3600 << 3174;
        QTest::newRow("not below 25 %") << 100 << 198;
    }
    void fitWidth()
    {
        QFETCH(int, client);
        QFETCH(int, pageWidth);
        CVornReport report;
        const QSize total
                = CPageGeometry::TotalScrollSize(report, 96, 96, CPageGeometry::FitWidth, client);
        const CPageGeometry geometry(report, 96, 96, {0, 0, client, 700}, QPoint(), total,
                                     CPageGeometry::FitWidth);
        QCOMPARE(geometry.GetPageRect().Width(), pageWidth);
        // No scrolling across while the page fits.
        QVERIFY(total.width() <= std::max(client, pageWidth + 40));
    }

    void rulerSteps_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<int>("tick");
        QTest::addColumn<int>("label");
        // At 96 pixels per inch a millimetre is 3.78 pixels at full size.
        QTest::newRow("25 %") << 0.25 << 5 << 50;
        QTest::newRow("50 %") << 0.5 << 2 << 20;
        QTest::newRow("100 %") << 1.0 << 1 << 10;
        QTest::newRow("400 %") << 4.0 << 1 << 10;
    }
    void rulerSteps()
    {
        QFETCH(double, zoom);
        QFETCH(int, tick);
        QFETCH(int, label);
        QCOMPARE(RulerScale::TickStep(96 / 25.4 * zoom), tick);
        QCOMPARE(RulerScale::LabelStep(96 / 25.4 * zoom), label);
    }

    // The rulers count millimetres from the page's edges at the pixels the page is drawn at,
    // and follow the scroll position.
    void rulerTicks()
    {
        ZoomRig full(1.0);
        const auto across = RulerScale::Ticks(full.rig.Geometry(), true, 900);
        QCOMPARE(across.front(), (RulerScale::Tick {53, 2, QStringLiteral("0")}));
        QCOMPARE(across[5], (RulerScale::Tick {53 + 18, 1, QString()}));
        QCOMPARE(across[10], (RulerScale::Tick {53 + 37, 2, QStringLiteral("10")}));
        // 210 millimetres and the page's far edge.
        QCOMPARE(across.size(), size_t(211));
        const auto down = RulerScale::Ticks(full.rig.Geometry(), false, 700);
        QCOMPARE(down.front().position, 20);

        CInteractionRig scrolled(QSize(900, 700), QPoint(100, 0), 4.0);
        PageTest::AddBand(scrolled.Report(), 5080);
        const auto shifted = RulerScale::Ticks(scrolled.Geometry(), true, 900);
        // At 400 % millimetre 6 is the first to show, 90 pixels from the page's edge at 20.
        QCOMPARE(shifted.front(), (RulerScale::Tick {10, 0, QString()}));
        QCOMPARE(shifted[4], (RulerScale::Tick {71, 2, QStringLiteral("10")}));
    }

    void keySteps_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<int>("pixelStep");
        QTest::addColumn<int>("gridStep");
        // One pixel is trunc(26 / z) units, one grid step of 10 pixels trunc(264 / z).
        QTest::newRow("25 %") << 0.25 << 104 << 1056;
        QTest::newRow("100 %") << 1.0 << 26 << 264;
        QTest::newRow("400 %") << 4.0 << 6 << 66;
    }
    void keySteps()
    {
        QFETCH(double, zoom);
        QFETCH(int, pixelStep);
        QFETCH(int, gridStep);
        ZoomRig z(zoom);
        z.rig.Do().OnKeyDown(Qt::Key_Right, false, false);
        QCOMPARE(z.item->GetLeft(), 2540 + pixelStep);
        z.rig.Do().OnKeyDown(Qt::Key_Right, false, true);
        QCOMPARE(z.item->GetLeft(), 2540 + pixelStep + gridStep);
        QCOMPARE(z.item->GetRight(), 7620 + pixelStep + gridStep);
        // Ctrl+Shift resizes by a grid step.
        z.rig.Do().OnKeyDown(Qt::Key_Down, true, true);
        QCOMPARE(z.item->GetTop(), 1270);
        QCOMPARE(z.item->GetBottom(), 2540 + gridStep);
    }

    void scrollExtent_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QList<int>>("bands");
        QTest::addColumn<QSize>("size");
        // A4 at 96 dpi: 793 x 1122 pixels at full size; 40 pixels of margins.
        const double fit = 1.0;
        QTest::newRow("bands within the page") << fit << QList<int> {5080} << QSize(833, 1162);
        // 40000 units are 1511 pixels, 2540 are 96.
        QTest::newRow("a band taller than the page")
                << fit << QList<int> {40000, 2540} << QSize(833, 1647);
        QTest::newRow("a page break takes no room")
                << fit << QList<int> {40000, -1, 2540} << QSize(833, 1647);
        // 50 %: the page 396 x 561, the bands 755 + 48.
        QTest::newRow("taller bands at 50 %") << 0.5 << QList<int> {40000, 2540} << QSize(436, 843);
        QTest::newRow("taller bands at 400 %")
                << 4.0 << QList<int> {40000, 2540} << QSize(3214, 6471);
        QTest::newRow("a page at 25 %") << 0.25 << QList<int> {5080} << QSize(238, 320);
    }
    void scrollExtent()
    {
        QFETCH(double, zoom);
        QFETCH(QList<int>, bands);
        QFETCH(QSize, size);
        CVornReport report;
        for (const int height : bands) {
            if (height < 0)
                PageTest::AddBand(report, 0, VornKind::PageBreak);
            else
                PageTest::AddBand(report, height);
        }
        QCOMPARE(CPageGeometry::TotalScrollSize(report, 96, 96, zoom), size);
        // The last band ends inside the extent, 20 pixels above its end at most.
        const CPageGeometry geometry
                = PageTest::Geometry(report, QSize(900, 700), 96, 96, QPoint(), zoom);
        QVERIFY(geometry.GetBandRect(geometry.GetBandCount() - 1).bottom + 20 <= size.height());
    }

    void zoomAroundAPoint_data()
    {
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        QTest::addColumn<QPoint>("client");
        QTest::addColumn<QPoint>("scrollBefore");
        QTest::addColumn<QPoint>("scrollAfter");
        // At 100 % the page starts at (53, 20): the client point (450, 350) is page pixel
        // (397, 330), units (10503, 8731); at 200 % the page starts at (20, 20) and those
        // units lie at (813, 679).
        QTest::newRow("in to 200 %")
                << 1.0 << 2.0 << QPoint(450, 350) << QPoint(0, 0) << QPoint(363, 329);
        QTest::newRow("out to 25 %: the top left")
                << 1.0 << 0.25 << QPoint(450, 350) << QPoint(0, 0) << QPoint(0, 0);
        // Page pixel (443, 409) at 200 % is (5860, 5410), at 100 % (274, 224): the page is
        // narrower than the client, so there is nothing to scroll across.
        QTest::newRow("out to 100 %, scrolled")
                << 2.0 << 1.0 << QPoint(100, 100) << QPoint(363, 329) << QPoint(0, 124);
    }
    void zoomAroundAPoint()
    {
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(QPoint, client);
        QFETCH(QPoint, scrollBefore);
        QFETCH(QPoint, scrollAfter);
        CVornReport report;
        PageTest::AddBand(report, 5080);
        const QSize size(900, 700);
        const CPageGeometry before = PageTest::Geometry(report, size, 96, 96, scrollBefore, from);
        const CPageGeometry after = PageTest::Geometry(report, size, 96, 96, QPoint(), to);
        QCOMPARE(after.ScrollKeepingPoint(before, client), scrollAfter);
    }

    void zoomSteps_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<double>("next");
        QTest::addColumn<double>("previous");
        QTest::newRow("a page fitted at 99.9 %") << 0.999 << 1.25 << 0.75;
        QTest::newRow("between levels") << 0.9 << 1.0 << 0.75;
        QTest::newRow("the largest stays") << 4.0 << 4.0 << 3.0;
        QTest::newRow("the smallest stays") << 0.25 << 0.33 << 0.25;
    }
    void zoomSteps()
    {
        QFETCH(double, zoom);
        QFETCH(double, next);
        QFETCH(double, previous);
        QCOMPARE(ZoomSteps::Next(zoom), next);
        QCOMPARE(ZoomSteps::Previous(zoom), previous);
    }
};

VANTEL_TEST_CLASS(TestZoom)
#include "tst_zoom.moc"
