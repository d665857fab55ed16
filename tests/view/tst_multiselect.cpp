#include "interactionrig.h"
#include "snapguides.h"
#include "testregistry.h"
#include "vornitems.h"

#include <QTest>

using Mode = CViewInteraction::Mode;

namespace {

// Two bands of 5080 units (192 pixels). Band 0: A (24..72, 24..48 in pixels from the page's
// corner), B (96..144, 24..48) and C (24..72, 96..120). Band 1: D and E like A and B, 192 pixels
// lower.
void Layout(CInteractionRig &rig)
{
    CVornBand *top = PageTest::AddBand(rig.Report(), 5080);
    CVornBand *bottom = PageTest::AddBand(rig.Report(), 5080);
    rig.AddItem<CVornText>(top, QStringLiteral("A"), 635, 635, 1905, 1270);
    rig.AddItem<CVornText>(top, QStringLiteral("B"), 2540, 635, 3810, 1270);
    rig.AddItem<CVornText>(top, QStringLiteral("C"), 635, 2540, 1905, 3175);
    rig.AddItem<CVornText>(bottom, QStringLiteral("D"), 635, 635, 1905, 1270);
    rig.AddItem<CVornText>(bottom, QStringLiteral("E"), 2540, 635, 3810, 1270);
}

QPoint Centre(CInteractionRig &rig, const QString &name)
{
    return rig.Geometry().GetItemPixelRect(rig.Report().FindByName(name)).ToQRect().center();
}

// A list of texts written as one, split at "|".
QStringList Steps(const char *text)
{
    return QString::fromLatin1(text).split(u'|', Qt::SkipEmptyParts);
}

QStringList Names(const std::vector<CVornElement *> &elements)
{
    QStringList names;
    for (const CVornElement *element : elements)
        names << element->GetName();
    return names;
}

// Plays "click A", "shift B", "ctrl A" (on an item's middle), "press x,y" (a click at a point
// relative to the page), "rect x1,y1,x2,y2" and "addrect ..." (a drag with Shift), "all", "esc".
void Play(CInteractionRig &rig, const QStringList &actions)
{
    for (const QString &action : actions) {
        const QString verb = action.section(u' ', 0, 0);
        const QString what = action.section(u' ', 1);
        QList<int> n;
        for (const QString &part : what.split(u','))
            n << part.toInt();
        if (verb == u"all") {
            rig.Do().SelectAll();
        } else if (verb == u"esc") {
            rig.Do().OnKeyDown(Qt::Key_Escape, false);
        } else if (verb == u"rect" || verb == u"addrect") {
            const Qt::KeyboardModifiers keys
                    = verb == u"addrect" ? Qt::ShiftModifier : Qt::NoModifier;
            rig.Do().OnLeftButtonDown(rig.At({n[0], n[1]}), keys);
            rig.Do().OnMouseMove(rig.At({n[2], n[3]}), keys);
            rig.Do().OnLeftButtonUp(rig.At({n[2], n[3]}));
        } else {
            const QPoint at = verb == u"press" ? rig.At({n[0], n[1]}) : Centre(rig, what);
            const Qt::KeyboardModifiers keys = verb == u"shift" ? Qt::ShiftModifier
                    : verb == u"ctrl"                           ? Qt::ControlModifier
                                                                : Qt::NoModifier;
            rig.Do().OnLeftButtonDown(at, keys);
            rig.Do().OnLeftButtonUp(at);
        }
    }
}

} // namespace

// Selecting several items and acting on them: clicks with Shift and Ctrl, the selection
// rectangle, Select All and Esc, and the drags, keys and deletion that move, size and remove
// the whole selection, with the band limits and the grid.
class TestMultiSelect : public QObject
{
    Q_OBJECT

private slots:
    void selection_data()
    {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QStringList>("selected");

        // Expected: the selection with the primary object first, then in report order.
        QTest::newRow("a click selects one") << Steps("click A") << Steps("A");
        QTest::newRow("shift adds and the last click is the primary one")
                << Steps("click A|shift B") << Steps("B|A");
        QTest::newRow("ctrl takes a selected item out")
                << Steps("click A|shift B|ctrl A") << Steps("B");
        QTest::newRow("ctrl adds an item of another band")
                << Steps("click A|ctrl D") << Steps("D|A");
        QTest::newRow("a click on a selected item makes it the primary one")
                << Steps("click A|shift B|click A") << Steps("A|B");
        QTest::newRow("a band click clears the items")
                << Steps("click A|shift B|press 400,150") << Steps("Band 0");
        QTest::newRow("a rectangle across two bands")
                << Steps("rect 10,10,80,230") << Steps("A|C|D");
        QTest::newRow("a rectangle that reaches an item's last column takes it")
                << Steps("rect 200,10,143,30") << Steps("B");
        QTest::newRow("a rectangle that touches nothing keeps the band it began on")
                << Steps("rect 300,130,350,150") << Steps("Band 0");
        QTest::newRow("a rectangle begun below the bands")
                << Steps("rect 10,500,300,230") << Steps("D|E");
        QTest::newRow("a click below the bands clears")
                << Steps("click A|press 10,500") << Steps("");
        QTest::newRow("shift with a rectangle adds and keeps the primary item")
                << Steps("click B|addrect 10,10,80,60") << Steps("B|A");
        QTest::newRow("shift with a click on a band selects the band")
                << Steps("click A|shift B|shift Band 1") << Steps("Band 1");
        QTest::newRow("select all takes the band of the selection")
                << Steps("click E|all") << Steps("E|D");
        QTest::newRow("select all with a band selected takes the report")
                << Steps("press 400,150|all") << Steps("A|B|C|D|E");
        QTest::newRow("select all with nothing selected takes the report")
                << Steps("all") << Steps("A|B|C|D|E");
        QTest::newRow("esc clears") << Steps("click A|shift B|esc") << Steps("");
    }
    void selection()
    {
        QFETCH(QStringList, actions);
        QFETCH(QStringList, selected);
        CInteractionRig rig;
        Layout(rig);
        Play(rig, actions);
        QCOMPARE(Names(rig.Report().GetSelection()), selected);
        QCOMPARE(rig.State().m_mode, int(Mode::Idle));
    }

    void drag_data()
    {
        QTest::addColumn<bool>("grid");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<QPoint>("by");
        QTest::addColumn<QList<ModelBox>>("boxes");

        // The dragged item is the first; the boxes are those of A, B, C, D.
        const ModelBox a {635, 635, 1905, 1270};
        const ModelBox b {2540, 635, 3810, 1270};
        const ModelBox c {635, 2540, 1905, 3175};
        const ModelBox d {635, 635, 1905, 1270};
        QTest::newRow("the others move by the same offset")
                << false << 1.0 << Steps("A|B") << QPoint(24, 12)
                << QList<ModelBox> {{1270, 952, 2540, 1587}, {3175, 952, 4445, 1587}, c, d};
        // 100 pixels are 2645 units: C would end at 5820, below its band. It stops at the
        // band's edge, 1905 units down, and A with it.
        QTest::newRow("the first band edge stops them all")
                << false << 1.0 << Steps("A|C") << QPoint(0, 100)
                << QList<ModelBox> {{635, 2540, 1905, 3175}, b, {635, 4445, 1905, 5080}, d};
        // B meets the page's right edge first (21000 - 3810 units), D of the other band too.
        QTest::newRow("one edge stops items of two bands")
                << false << 1.0 << Steps("D|A|B") << QPoint(700, 0)
                << QList<ModelBox> {{17825, 635, 19095, 1270},
                                    {19730, 635, 21000, 1270},
                                    c,
                                    {17825, 635, 19095, 1270}};
        QTest::newRow("items of two bands")
                << false << 1.0 << Steps("D|A") << QPoint(48, 0)
                << QList<ModelBox> {{1905, 635, 3175, 1270}, b, c, {1905, 635, 3175, 1270}};
        // 14 pixels go one 10-pixel step: A's corner to the lattice (33 pixels round to 30,
        // 793 units), its size kept; B follows by the same 158 units.
        QTest::newRow("the grid places the dragged item, the others follow")
                << true << 1.0 << Steps("A|B") << QPoint(14, 14)
                << QList<ModelBox> {{793, 793, 2063, 1428}, {2698, 793, 3968, 1428}, c, d};
        // At 50 % three 10-pixel steps take A 1586 units right, to 2221 (41 pixels): its
        // corner goes to (40, 10) pixels, (2116, 528) units, its size kept.
        QTest::newRow("at 50 % the grid keeps the size")
                << true << 0.5 << Steps("A") << QPoint(30, 5)
                << QList<ModelBox> {{2116, 528, 3386, 1163}, b, c, d};
        // The lattice puts C's corner at (20, 170) pixels, (529, 4497) units, its bottom at
        // 5132: the band wins.
        QTest::newRow("after the grid the band limits again")
                << true << 1.0 << Steps("C") << QPoint(0, 70)
                << QList<ModelBox> {a, b, {529, 4445, 1799, 5080}, d};
    }
    void drag()
    {
        QFETCH(bool, grid);
        QFETCH(double, zoom);
        QFETCH(QStringList, selected);
        QFETCH(QPoint, by);
        QFETCH(QList<ModelBox>, boxes);
        CInteractionRig rig(QSize(900, 700), QPoint(), zoom);
        Layout(rig);
        rig.Doc().SetGridOn(grid);
        for (const QString &name : selected)
            rig.Report().Select(rig.Report().FindByName(name), true);
        const QPoint from = Centre(rig, selected.first());
        rig.Do().OnLeftButtonDown(from);
        QCOMPARE(rig.State().m_mode, int(Mode::Move));
        // Alt: no guides, so that the boxes are the plain move.
        rig.Do().OnMouseMove(from + by, Qt::AltModifier);
        rig.Do().OnLeftButtonUp(from + by);
        const QStringList names = Steps("A|B|C|D");
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(BoxOf(static_cast<CVornItem *>(rig.Report().FindByName(names[i]))), boxes[i]);
        // One drag is one undo step, whatever it moved.
        QCOMPARE(rig.Doc().GetUndoStack()->count(), 1);
    }

    void keys_data()
    {
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<QList<ModelBox>>("boxes");

        QTest::newRow("right moves all")
                << Steps("A|D") << int(Qt::Key_Right) << false
                << QList<ModelBox> {{661, 635, 1931, 1270}, {661, 635, 1931, 1270}};
        QTest::newRow("shift with down resizes all")
                << Steps("A|D") << int(Qt::Key_Down) << true
                << QList<ModelBox> {{635, 635, 1905, 1296}, {635, 635, 1905, 1296}};
        // F lies at its band's left edge: nothing moves.
        QTest::newRow("refused for one, refused for all")
                << Steps("A|F") << int(Qt::Key_Left) << false
                << QList<ModelBox> {{635, 635, 1905, 1270}, {0, 635, 1270, 1270}};
    }
    void keys()
    {
        QFETCH(QStringList, selected);
        QFETCH(int, key);
        QFETCH(bool, shift);
        QFETCH(QList<ModelBox>, boxes);
        CInteractionRig rig;
        Layout(rig);
        rig.AddItem<CVornText>(rig.Report().GetBands()[1], QStringLiteral("F"), 0, 635, 1270, 1270);
        for (const QString &name : selected)
            rig.Report().Select(rig.Report().FindByName(name), true);
        rig.Do().OnKeyDown(key, shift);
        for (int i = 0; i < selected.size(); ++i)
            QCOMPARE(BoxOf(static_cast<CVornItem *>(rig.Report().FindByName(selected[i]))),
                     boxes[i]);
        // Presses of one key on one selection are one step.
        rig.Do().OnKeyDown(key, shift);
        QVERIFY(rig.Doc().GetUndoStack()->count() <= 1);
    }

    void deleteSelectsTheNeighbourThatStays()
    {
        CInteractionRig rig;
        Layout(rig);
        rig.Report().Select(rig.Report().FindByName(QStringLiteral("A")), true);
        rig.Report().Select(rig.Report().FindByName(QStringLiteral("B")), true);
        const CViewInteraction::Result result = rig.Do().OnKeyDown(Qt::Key_Delete, false);
        QVERIFY(result.modified);
        QCOMPARE(Names(rig.Report().GetSelection()), Steps("C"));
        QCOMPARE(rig.Report().GetBands()[0]->GetItems().GetCount(), 1);
        rig.Doc().GetUndoStack()->undo();
        QCOMPARE(rig.Report().GetBands()[0]->GetItems().GetCount(), 3);
        QCOMPARE(Names(rig.Report().GetSelection()), (Steps("B|A")));
    }

    // Half of a selected item's handle lies outside it; a press there pulls the item's edge,
    // whatever lies under it.
    void theHandleOutsideTheItemResizes()
    {
        CInteractionRig rig;
        Layout(rig);
        rig.Report().Select(rig.Report().FindByName(QStringLiteral("A")));
        const PixRect a
                = rig.Geometry().GetItemPixelRect(rig.Report().FindByName(QStringLiteral("A")));
        rig.Do().OnLeftButtonDown({a.right + 2, a.bottom + 2});
        QCOMPARE(rig.State().m_mode, int(Mode::DragBottomRight));
        QVERIFY(rig.Report().FindByName(QStringLiteral("A"))->IsSelected());
        QCOMPARE(rig.Do().UpdateCursor({a.right + 2, a.top + 10}),
                 CViewInteraction::Cursor::SizeHorizontal);
    }

    // Bands that run past the page are worked on, and marked, where they are drawn.
    void bandsBelowThePage()
    {
        CInteractionRig rig;
        PageTest::AddBand(rig.Report(), 30000);
        CVornBand *below = PageTest::AddBand(rig.Report(), 5080);
        CVornItem *item
                = rig.AddItem<CVornText>(below, QStringLiteral("Low"), 635, 635, 1905, 1270);
        rig.Report().Select(item);
        const PixRect rect = rig.Geometry().GetItemPixelRect(item);
        QVERIFY(rect.top > rig.Geometry().GetPageRect().bottom);
        const QImage image = PageTest::Render(rig.Report(), QSize(900, 1400));
        QCOMPARE(PageTest::Pixel(image, rect.left - 3, rect.top - 3), 0x404040u);

        const QPoint from = rect.ToQRect().center();
        rig.Do().OnLeftButtonDown(from);
        rig.Do().OnMouseMove(from + QPoint(24, 24), Qt::AltModifier);
        QCOMPARE(BoxOf(item), (ModelBox {1270, 1270, 2540, 1905}));
        rig.Do().OnLeftButtonUp(from);

        // The band's bottom edge is pulled down there as well: 1348 pixels below the page's top
        // are 35665 units (truncated).
        rig.Report().Select(below);
        const PixRect band = rig.Geometry().GetBandRect(1);
        rig.Do().OnLeftButtonDown({band.left + 400, band.bottom - 1});
        QCOMPARE(rig.State().m_mode, int(Mode::DragBottom));
        rig.Do().OnMouseMove({band.left + 400, band.bottom + 23});
        QCOMPARE(below->GetHeight(), 35665 - 30000);
    }

    void guides_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<qint64>>("span");
        QTest::addColumn<QList<qint64>>("lines");
        QTest::addColumn<qint64>("shift");
        QTest::addColumn<qint64>("line");

        // Tolerance 100; line -1 for none.
        QTest::newRow("a left edge to the nearest line")
                << 0 << QList<qint64> {1030, 2030} << QList<qint64> {0, 1000, 1100} << qint64(-30)
                << qint64(1000);
        QTest::newRow("the centre line") << 0 << QList<qint64> {900, 1900} << QList<qint64> {1420}
                                         << qint64(20) << qint64(1420);
        QTest::newRow("the right edge") << 0 << QList<qint64> {900, 1900} << QList<qint64> {1999}
                                        << qint64(99) << qint64(1999);
        QTest::newRow("too far") << 0 << QList<qint64> {900, 1900} << QList<qint64> {2001}
                                 << qint64(0) << qint64(-1);
        QTest::newRow("a tie goes to the left edge")
                << 0 << QList<qint64> {1000, 2000} << QList<qint64> {2050, 950} << qint64(-50)
                << qint64(950);
        QTest::newRow("a resize of the right edge ignores the left")
                << 1 << QList<qint64> {1000, 2000} << QList<qint64> {1010, 2040} << qint64(40)
                << qint64(2040);
    }
    void guides()
    {
        QFETCH(int, mode);
        QFETCH(QList<qint64>, span);
        QFETCH(QList<qint64>, lines);
        QFETCH(qint64, shift);
        QFETCH(qint64, line);
        const SnapGuides::Snap snap
                = SnapGuides::Find({span[0], span[1]}, mode == 0, true,
                                   SnapGuides::Lines(lines.begin(), lines.end()), 100);
        QCOMPARE(snap.shift, shift);
        QCOMPARE(snap.line.value_or(-1), line);
    }

    // Dragged near another item of its band with the grid off, an item's edge lands on that
    // item's edge and the line it snapped to shows until the release; Alt turns this off.
    void dragSnapsToGuides()
    {
        for (const bool alt : {false, true}) {
            CInteractionRig rig;
            Layout(rig);
            CVornItem *b = static_cast<CVornItem *>(rig.Report().FindByName(QStringLiteral("B")));
            rig.Report().Select(b);
            // B's left edge 3 pixels right of A's: 30 pixels left of where it is.
            const QPoint from = Centre(rig, QStringLiteral("B"));
            rig.Do().OnLeftButtonDown(from);
            rig.Do().OnMouseMove(from + QPoint(-69, 0), alt ? Qt::AltModifier : Qt::NoModifier);
            QCOMPARE(b->GetLeft(), alt ? 2540 - 1825 : 635);
            QCOMPARE(rig.State().m_guides.size(), alt ? size_t(0) : size_t(2));
            // 20 pixels further the item is where the pointer alone puts it, off the vertical
            // guide (89 pixels left of its place, 1825 + 529 units), still in A's row.
            rig.Do().OnMouseMove(from + QPoint(-89, 0), alt ? Qt::AltModifier : Qt::NoModifier);
            QCOMPARE(b->GetLeft(), 2540 - 1825 - 529);
            QCOMPARE(rig.State().m_guides.size(), alt ? size_t(0) : size_t(1));
            rig.Do().OnLeftButtonUp(from);
            QVERIFY(rig.State().m_guides.empty());
        }
    }
};

VANTEL_TEST_CLASS(TestMultiSelect)
#include "tst_multiselect.moc"
