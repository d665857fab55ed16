#include "interactionrig.h"
#include "testregistry.h"
#include "vornitems.h"

#include <QTest>

using Cursor = CViewInteraction::Cursor;
using Mode = CViewInteraction::Mode;

namespace {

// Band 0: Shape A over the whole band, Texts B and C overlapping it and each other, and a
// later Shape D in the top-left quarter (pixels: A 0..96, B 24..72, C 48..96, D 0..48). Band 1
// below it is empty.
void OverlapLayout(CInteractionRig &rig)
{
    CVornBand *band = PageTest::AddBand(rig.Report(), 2540);
    rig.AddItem<CVornShape>(band, QStringLiteral("A"), 0, 0, 2540, 2540);
    rig.AddItem<CVornText>(band, QStringLiteral("B"), 635, 635, 1905, 1905);
    rig.AddItem<CVornText>(band, QStringLiteral("C"), 1270, 1270, 2540, 2540);
    rig.AddItem<CVornShape>(band, QStringLiteral("D"), 0, 0, 1270, 1270);
    PageTest::AddBand(rig.Report(), 2540);
}

// Three bands of 5080 units (192 pixels); "Item" in band 1 at (2540, 1270, 5080, 2540), which
// is (96, 240, 192, 288) in pixels from the page's corner.
CVornItem *DragLayout(CInteractionRig &rig)
{
    for (int i = 0; i < 3; ++i)
        PageTest::AddBand(rig.Report(), 5080);
    return rig.AddItem<CVornText>(rig.Report().GetBands()[1], QStringLiteral("Item"), 2540, 1270,
                                  5080, 2540);
}

QString NameOf(const CVornElement *element)
{
    return element ? element->GetName() : QString();
}

void Select(CVornReport &report, const QString &name)
{
    report.DeselectAll();
    if (CVornElement *element = report.FindByName(name))
        element->SetSelected(true);
}

} // namespace

// Hit testing, selection, the drag modes and their limits, the grid and the sizing cursor,
// driven with view points on a report and a page geometry.
class TestViewInteraction : public QObject
{
    Q_OBJECT

private slots:
    void hitTest_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<bool>("selectedOnly");
        QTest::addColumn<QString>("expected");

        const QString none;
        QTest::newRow("a shape alone") << none << QPoint(80, 10) << false << "A";
        QTest::newRow("a text beats the shapes, also a later one")
                << none << QPoint(30, 30) << false << "B";
        QTest::newRow("the later of two texts") << none << QPoint(60, 60) << false << "C";
        QTest::newRow("the later of two shapes") << none << QPoint(10, 10) << false << "D";
        QTest::newRow("a band where no item lies") << none << QPoint(10, 100) << false << "Band 1";
        QTest::newRow("below the last band") << none << QPoint(10, 200) << false << none;
        QTest::newRow("left of the page") << none << QPoint(-1, 10) << false << none;
        QTest::newRow("the page's right edge is outside")
                << none << QPoint(793, 10) << false << none;
        QTest::newRow("the last column is inside") << none << QPoint(792, 10) << false << "Band 0";
        QTest::newRow("selected only: a selected shape under texts")
                << "A" << QPoint(60, 60) << true << "A";
        QTest::newRow("selected only: the selected item elsewhere")
                << "B" << QPoint(80, 10) << true << none;
        QTest::newRow("selected only: the selected band under an item")
                << "Band 0" << QPoint(30, 30) << true << "Band 0";
        QTest::newRow("selected only: nothing selected") << none << QPoint(30, 30) << true << none;
    }
    void hitTest()
    {
        QFETCH(QString, selected);
        QFETCH(QPoint, at);
        QFETCH(bool, selectedOnly);
        QFETCH(QString, expected);
        CInteractionRig rig;
        OverlapLayout(rig);
        Select(rig.Report(), selected);
        QCOMPARE(NameOf(rig.Do().HitTest(rig.At(at), selectedOnly)), expected);
    }

    void pressSelectsThenDrags()
    {
        CInteractionRig rig;
        CVornItem *item = DragLayout(rig);
        CViewInteraction::Result first = rig.Do().OnLeftButtonDown(rig.At(QPoint(144, 264)));
        QVERIFY(item->IsSelected());
        QVERIFY(first.showProperties && first.repaintAll);
        QCOMPARE(first.propertiesObject, item);
        QCOMPARE(rig.State().m_lastX, rig.At(QPoint(144, 264)).x());
        // The same gesture drags it: a move, even this near an edge (no handles showed).
        QCOMPARE(rig.State().m_mode, int(Mode::Move));
        QCOMPARE(rig.State().m_dragItem, item);
        const int left = item->GetLeft();
        rig.Do().OnMouseMove(rig.At(QPoint(156, 264)), Qt::AltModifier);
        QCOMPARE(item->GetLeft(), left + CInteractionRig::M(12));
        rig.Do().OnLeftButtonUp(rig.At(QPoint(156, 264)));
        rig.Do().OnLeftButtonDown(rig.At(QPoint(200, 300)));
        rig.Do().OnLeftButtonUp(rig.At(QPoint(200, 300)));
        QVERIFY(!item->IsSelected());
        rig.Do().OnLeftButtonDown(rig.At(QPoint(109, 241)));
        QCOMPARE(rig.State().m_mode, int(Mode::Move));
        rig.Do().OnLeftButtonUp(rig.At(QPoint(109, 241)));

        // A second press on the selected item starts a move; a press on the band changes the
        // selection again.
        CViewInteraction::Result second = rig.Do().OnLeftButtonDown(rig.At(QPoint(150, 270)));
        QVERIFY(!second.showProperties);
        QCOMPARE(rig.State().m_mode, int(Mode::Move));
        QCOMPARE(rig.State().m_dragItem, item);
        rig.Do().OnLeftButtonUp(rig.At(QPoint(150, 270)));
        QCOMPARE(rig.State().m_mode, int(Mode::Idle));
        QCOMPARE(rig.State().m_lastX, -1);
        QCOMPARE(rig.State().m_lastY, -1);
        QCOMPARE(rig.State().m_dragItem, nullptr);

        rig.Do().OnLeftButtonDown(rig.At(QPoint(400, 264)));
        QVERIFY(!item->IsSelected());
        QVERIFY(rig.Report().GetBands()[1]->IsSelected());
        rig.Do().OnLeftButtonUp(rig.At(QPoint(400, 264)));
        // Below the bands nothing is selected and the report is shown.
        CViewInteraction::Result below = rig.Do().OnLeftButtonDown(rig.At(QPoint(400, 700)));
        QCOMPARE(rig.Report().FindFirstSelected(), nullptr);
        QVERIFY(below.showProperties);
        QCOMPARE(below.propertiesObject, nullptr);
    }

    void beginDrag_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("mode");

        // Item pixels (96, 240, 192, 288): the last column and row inside are 191 and 287.
        const QString item = QStringLiteral("Item");
        QTest::newRow("top-left corner") << item << QPoint(96, 240) << 1;
        QTest::newRow("top edge") << item << QPoint(144, 243) << 2;
        QTest::newRow("top-right corner") << item << QPoint(191, 240) << 3;
        QTest::newRow("right edge") << item << QPoint(189, 264) << 4;
        QTest::newRow("bottom-right corner") << item << QPoint(191, 287) << 5;
        QTest::newRow("bottom edge") << item << QPoint(144, 285) << 6;
        QTest::newRow("bottom-left corner") << item << QPoint(96, 287) << 7;
        QTest::newRow("left edge, 3 pixels in") << item << QPoint(99, 264) << 8;
        QTest::newRow("4 pixels in moves") << item << QPoint(100, 264) << 9;
        QTest::newRow("right edge, 4 pixels in moves") << item << QPoint(188, 264) << 9;
        QTest::newRow("outside the selected item") << item << QPoint(80, 264) << 0;
        const QString band = QStringLiteral("Band 1");
        QTest::newRow("band: bottom edge") << band << QPoint(400, 383) << 6;
        QTest::newRow("band: top edge") << band << QPoint(400, 192) << 2;
        QTest::newRow("band: the page's left edge") << band << QPoint(1, 300) << 8;
        QTest::newRow("band: inside") << band << QPoint(400, 300) << 9;
    }
    void beginDrag()
    {
        QFETCH(QString, selected);
        QFETCH(QPoint, at);
        QFETCH(int, mode);
        CInteractionRig rig;
        DragLayout(rig);
        Select(rig.Report(), selected);
        rig.Do().BeginDrag(rig.At(at));
        QCOMPARE(rig.State().m_mode, mode);
        QCOMPARE(NameOf(rig.State().m_dragItem), mode ? selected : QString());
    }

    void updateCursor_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<Cursor>("cursor");

        const QString item = QStringLiteral("Item");
        QTest::newRow("top-left") << item << QPoint(96, 240) << Cursor::SizeNwSe;
        QTest::newRow("bottom-right") << item << QPoint(191, 287) << Cursor::SizeNwSe;
        QTest::newRow("top-right") << item << QPoint(191, 240) << Cursor::SizeNeSw;
        QTest::newRow("bottom-left") << item << QPoint(96, 287) << Cursor::SizeNeSw;
        QTest::newRow("left") << item << QPoint(99, 264) << Cursor::SizeHorizontal;
        QTest::newRow("top") << item << QPoint(144, 243) << Cursor::SizeVertical;
        QTest::newRow("inside") << item << QPoint(144, 264) << Cursor::NoSizing;
        QTest::newRow("off the selected object") << item << QPoint(20, 20) << Cursor::Unchanged;
        const QString band = QStringLiteral("Band 1");
        QTest::newRow("band: bottom edge") << band << QPoint(400, 383) << Cursor::SizeVertical;
        QTest::newRow("band: top edge has none") << band << QPoint(400, 192) << Cursor::NoSizing;
        QTest::newRow("band: near the page's left edge")
                << band << QPoint(2, 383) << Cursor::Unchanged;
        QTest::newRow("band: near the page's top edge")
                << QStringLiteral("Band 0") << QPoint(400, 3) << Cursor::Unchanged;
    }
    void updateCursor()
    {
        QFETCH(QString, selected);
        QFETCH(QPoint, at);
        QFETCH(Cursor, cursor);
        CInteractionRig rig;
        DragLayout(rig);
        Select(rig.Report(), selected);
        QCOMPARE(rig.Do().UpdateCursor(rig.At(at)), cursor);
        // Only while idle.
        QCOMPARE(rig.Do().OnMouseMove(rig.At(at)).cursor, cursor);
    }

    void dragItem_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QList<QPoint>>("moves");
        QTest::addColumn<ModelBox>("expected");
        QTest::addColumn<bool>("modified");

        using P = QList<QPoint>;
        QTest::newRow("move by 24 pixels")
                << QPoint(144, 264) << P {{168, 288}} << ModelBox {3175, 1905, 5715, 3175} << true;
        QTest::newRow("move above the band is pushed back")
                << QPoint(144, 264) << P {{144, 168}} << ModelBox {2540, 0, 5080, 1270} << true;
        QTest::newRow("move below the band is pushed back")
                << QPoint(144, 264) << P {{144, 456}} << ModelBox {2540, 3810, 5080, 5080} << true;
        QTest::newRow("move left of the page is pushed back")
                << QPoint(144, 264) << P {{1, 264}} << ModelBox {0, 1270, 2540, 2540} << true;
        QTest::newRow("pointer off the page changes nothing")
                << QPoint(144, 264) << P {{-1, 264}} << ModelBox {2540, 1270, 5080, 2540} << false;
        QTest::newRow("bottom-right corner")
                << QPoint(191, 287) << P {{240, 336}} << ModelBox {2540, 1270, 6350, 3810} << true;
        QTest::newRow("right edge to the page's last column")
                << QPoint(191, 264) << P {{792, 264}} << ModelBox {2540, 1270, 20955, 2540} << true;
        QTest::newRow("bottom edge past the band stops at its bottom")
                << QPoint(144, 287) << P {{144, 400}} << ModelBox {2540, 1270, 5080, 5080} << true;
        QTest::newRow("top edge above the band: top at the band, bottom up as much")
                << QPoint(144, 240) << P {{144, 168}, {144, 168}, {150, 168}}
                << ModelBox {2540, 0, 5080, 1905} << true;
        QTest::newRow("top edge far above the band: the edges meet")
                << QPoint(144, 240) << P {{144, 48}} << ModelBox {2540, 0, 5080, 0} << true;
        // A step that changes nothing leaves no undo step and the document unmodified.
        QTest::newRow("left edge cannot pass the right edge")
                << QPoint(96, 264) << P {{200, 264}} << ModelBox {2540, 1270, 5080, 2540} << false;
        QTest::newRow("left edge meets the right edge")
                << QPoint(96, 264) << P {{192, 264}} << ModelBox {5080, 1270, 5080, 2540} << true;
        QTest::newRow("bottom edge back up after passing the band")
                << QPoint(144, 287) << P {{144, 400}, {144, 312}}
                << ModelBox {2540, 1270, 5080, 3175} << true;
    }
    void dragItem()
    {
        QFETCH(QPoint, press);
        QFETCH(QList<QPoint>, moves);
        QFETCH(ModelBox, expected);
        QFETCH(bool, modified);
        CInteractionRig rig;
        CVornItem *item = DragLayout(rig);
        item->SetSelected(true);
        rig.Drag(press, moves);
        QCOMPARE(BoxOf(item), expected);
        QCOMPARE(rig.Doc().IsModified(), modified);
        QVERIFY(item->IsSelected());
    }

    void dragBand_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QList<QPoint>>("moves");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("modified");

        // Band 1 spans pixels 192 to 384 of the page; its item ends 2540 units down.
        using P = QList<QPoint>;
        QTest::newRow("bottom edge down") << QPoint(400, 383) << P {{400, 432}} << 6350 << true;
        QTest::newRow("bottom edge above the lowest item stops at it")
                << QPoint(400, 383) << P {{400, 250}} << 2540 << true;
        QTest::newRow("top edge down: shorter by as much, however many moves")
                << QPoint(400, 192) << P {{400, 216}, {400, 216}, {410, 216}} << 4445 << true;
        QTest::newRow("top edge down twice adds up")
                << QPoint(400, 192) << P {{400, 216}, {400, 240}} << 3810 << true;
        QTest::newRow("top edge down stops at the lowest item")
                << QPoint(400, 192) << P {{400, 300}} << 2540 << true;
        QTest::newRow("left edge changes no height and nothing else")
                << QPoint(1, 300) << P {{50, 300}} << 5080 << false;
        QTest::newRow("a moved band keeps its height")
                << QPoint(400, 300) << P {{400, 250}} << 5080 << false;
    }
    void dragBand()
    {
        QFETCH(QPoint, press);
        QFETCH(QList<QPoint>, moves);
        QFETCH(int, height);
        QFETCH(bool, modified);
        CInteractionRig rig;
        DragLayout(rig);
        CVornBand *band = rig.Report().GetBands()[1];
        band->SetSelected(true);
        rig.Drag(press, moves);
        QCOMPARE(band->GetHeight(), height);
        QCOMPARE(rig.Doc().IsModified(), modified);
        // The other bands stay as they were.
        QCOMPARE(rig.Report().GetBands()[0]->GetHeight(), 5080);
        QCOMPARE(rig.Report().GetBands()[2]->GetHeight(), 5080);
    }

    void gridSteps_data()
    {
        QTest::addColumn<QList<int>>("moves");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("lastX");
        QTest::addColumn<bool>("modified");

        // The item's left edge starts at page pixel 240, the press at 300.
        using M = CInteractionRig;
        QTest::newRow("14 pixels make one step") << QList<int> {314} << M::M(250) << 310 << true;
        QTest::newRow("the 4 left over count toward the next step")
                << QList<int> {314, 320} << M::M(260) << 320 << true;
        QTest::newRow("a step back") << QList<int> {286} << M::M(230) << 290 << true;
        QTest::newRow("less than a step changes nothing")
                << QList<int> {304, 308} << 6350 << 300 << false;
        QTest::newRow("rest between moves is not lost")
                << QList<int> {306, 312, 318, 324} << M::M(260) << 320 << true;
    }
    void gridSteps()
    {
        QFETCH(QList<int>, moves);
        QFETCH(int, left);
        QFETCH(int, lastX);
        QFETCH(bool, modified);
        CInteractionRig rig;
        rig.Doc().SetGridOn(true);
        CVornBand *band = PageTest::AddBand(rig.Report(), CInteractionRig::M(240));
        CVornItem *item = rig.AddItem<CVornText>(band, QStringLiteral("Item"), 6350, 0,
                                                 CInteractionRig::M(360), CInteractionRig::M(120));
        item->SetSelected(true);
        QList<QPoint> points;
        for (const int x : moves)
            points.append(QPoint(x, 60));
        rig.Drag(QPoint(300, 60), points);
        QCOMPARE(item->GetLeft(), left);
        QCOMPARE(item->GetRight() - item->GetLeft(), CInteractionRig::M(360) - 6350);
        QCOMPARE(rig.State().m_lastX - rig.Page().left, lastX);
        QCOMPARE(rig.Doc().IsModified(), modified);
    }

    void snapRectToGrid_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<ModelBox>("rect");
        QTest::addColumn<int>("bandTop");
        QTest::addColumn<ModelBox>("expected");

        // 1290 units are 48 pixels (rounds up to 50, 1322 units); 100 units are 3 pixels.
        QTest::newRow("bottom edge only: the others keep their values")
                << 6 << ModelBox {100, 100, 3000, 1290} << 0 << ModelBox {100, 100, 3000, 1322};
        // 100 units are 3 pixels, which round down: the corner goes to the page's, the size
        // stays.
        QTest::newRow("a move puts the top-left corner on the lattice")
                << 9 << ModelBox {100, 100, 3000, 1290} << 0 << ModelBox {0, 0, 2900, 1190};
        QTest::newRow("45 pixels round up")
                << 4 << ModelBox {0, 0, 1191, 500} << 0 << ModelBox {0, 0, 1322, 500};
        QTest::newRow("44 pixels round down")
                << 4 << ModelBox {0, 0, 1165, 500} << 0 << ModelBox {0, 0, 1058, 500};
        QTest::newRow("the lattice starts at the page top, not the band top")
                << 2 << ModelBox {0, 0, 500, 500} << 1191 << ModelBox {0, 131, 500, 500};
    }
    void snapRectToGrid()
    {
        QFETCH(int, mode);
        QFETCH(ModelBox, rect);
        QFETCH(int, bandTop);
        QFETCH(ModelBox, expected);
        CInteractionRig rig;
        rig.State().m_mode = mode;
        const CViewInteraction::ModelRect snapped
                = rig.Do().SnapRectToGrid({rect[0], rect[1], rect[2], rect[3]}, bandTop);
        QCOMPARE((ModelBox {int(snapped.left), int(snapped.top), int(snapped.right),
                            int(snapped.bottom)}),
                 expected);
    }

    void dragRepaintsOldAndNewArea()
    {
        // Scrolled 30 pixels down: the areas are in client coordinates.
        CInteractionRig rig(QSize(900, 300), QPoint(0, 30));
        CVornItem *item = DragLayout(rig);
        item->SetSelected(true);
        rig.Do().OnLeftButtonDown(rig.At(QPoint(144, 264)));
        const CViewInteraction::Result step = rig.Do().OnMouseMove(rig.At(QPoint(168, 288)));
        const PixRect page = rig.Page();
        QCOMPARE(page.left, 53);
        QCOMPARE(page.top, 20);
        QVERIFY(!step.repaintAll);
        QVERIFY(step.updateNow);
        QCOMPARE(step.repaintAreas.size(), size_t(2));
        // New (120, 264, 216, 312) and old (96, 240, 192, 288), grown 18 and 60 pixels.
        QCOMPARE(step.repaintAreas[0],
                 (PixRect {53 + 102, 20 + 246 - 30, 53 + 234, 20 + 372 - 30}));
        QCOMPARE(step.repaintAreas[1], (PixRect {53 + 78, 20 + 222 - 30, 53 + 210, 20 + 348 - 30}));
        QVERIFY(step.showProperties);
        QCOMPARE(step.propertiesObject, item);
        QVERIFY(step.modified);

        // A band repaints the page and what lies below it, with the handles that stand
        // three pixels out of the page at both sides.
        rig.Do().OnLeftButtonUp(QPoint());
        rig.Report().DeselectAll();
        rig.Report().GetBands()[1]->SetSelected(true);
        rig.Do().OnLeftButtonDown(rig.At(QPoint(400, 383)));
        const CViewInteraction::Result band = rig.Do().OnMouseMove(rig.At(QPoint(400, 400)));
        QCOMPARE(band.repaintAreas.size(), size_t(1));
        QCOMPARE(band.repaintAreas[0],
                 (PixRect {page.left - 3, page.top - 30, page.right + 3,
                           rig.Geometry().GetDrawArea().bottom - 30}));
    }

    void dragEndsWhenItsObjectIsDeleted()
    {
        CInteractionRig rig;
        CVornItem *item = DragLayout(rig);
        item->SetSelected(true);
        rig.Do().OnLeftButtonDown(rig.At(QPoint(144, 264)));
        QCOMPARE(rig.State().m_dragItem, item);
        CViewInteraction::Result deleted = rig.Do().OnKeyDown(Qt::Key_Delete, false);
        QVERIFY(deleted.modified);
        QCOMPARE(rig.State().m_dragItem, nullptr);
        // The next move finds nothing to drag.
        QVERIFY(!rig.Do().OnMouseMove(rig.At(QPoint(170, 280))).modified);
    }
};

VANTEL_TEST_CLASS(TestViewInteraction)
#include "tst_viewinteraction.moc"
