#include "interactionrig.h"
#include "layoutcommands.h"
#include "testregistry.h"
#include "vornitems.h"

#include <QTest>

using LayoutCommands::Command;
using LayoutCommands::ModelRect;
using LayoutCommands::Placed;

Q_DECLARE_METATYPE(LayoutCommands::Command)

namespace {

// Items in test tables: the rectangle on the page, then the band's top and height on the page;
// a seventh and eighth number give the size its text needs (a negative height: it wraps).
using Box = QList<qint64>;

std::vector<Placed> Items(const QList<Box> &boxes)
{
    std::vector<Placed> items;
    for (const Box &s : boxes) {
        Placed p;
        p.rect = {s[0], s[1], s[2], s[3]};
        p.bandTop = s.value(4, 0);
        p.bandHeight = s.value(5, 10000);
        if (s.size() > 7) {
            p.textSize = std::pair(s[6], std::abs(s[7]));
            p.wraps = s[7] < 0;
        }
        items.push_back(p);
    }
    return items;
}

QList<ModelBox> Boxes(const std::vector<ModelRect> &rects)
{
    QList<ModelBox> boxes;
    for (const ModelRect &r : rects)
        boxes << ModelBox {int(r.left), int(r.top), int(r.right), int(r.bottom)};
    return boxes;
}

} // namespace

// The Format commands at worked values: what each does to the rectangles relative to the
// primary (first) item, within the page and each item's band; the drawing order; and one
// command carried out on a document as one undo step.
class TestLayoutCommands : public QObject
{
    Q_OBJECT

private slots:
    void arrange_data()
    {
        QTest::addColumn<Command>("command");
        QTest::addColumn<QList<Box>>("items");
        QTest::addColumn<QList<ModelBox>>("expected");

        // A page 21000 wide; bands 10000 high from the page's top unless given.
        const Box p {1000, 1000, 3000, 1500};
        QTest::newRow("align lefts")
                << Command::AlignLefts << QList<Box> {p, {5000, 2000, 5500, 2600}}
                << QList<ModelBox> {{1000, 1000, 3000, 1500}, {1000, 2000, 1500, 2600}};
        QTest::newRow("align centers: half of an odd width truncated")
                << Command::AlignCenters << QList<Box> {p, {5000, 2000, 5501, 2600}}
                << QList<ModelBox> {{1000, 1000, 3000, 1500}, {1750, 2000, 2251, 2600}};
        QTest::newRow("align rights")
                << Command::AlignRights << QList<Box> {p, {5000, 2000, 5500, 2600}}
                << QList<ModelBox> {{1000, 1000, 3000, 1500}, {2500, 2000, 3000, 2600}};
        QTest::newRow("align rights: pushed back onto the page")
                << Command::AlignRights << QList<Box> {{500, 0, 2000, 100}, {0, 0, 3000, 100}}
                << QList<ModelBox> {{500, 0, 2000, 100}, {0, 0, 3000, 100}};
        QTest::newRow("align tops")
                << Command::AlignTops << QList<Box> {p, {5000, 2000, 5500, 2600}}
                << QList<ModelBox> {{1000, 1000, 3000, 1500}, {5000, 1000, 5500, 1600}};
        QTest::newRow("align middles")
                << Command::AlignMiddles << QList<Box> {p, {5000, 2000, 5500, 2601}}
                << QList<ModelBox> {{1000, 1000, 3000, 1500}, {5000, 950, 5500, 1551}};
        QTest::newRow("align bottoms")
                << Command::AlignBottoms << QList<Box> {p, {5000, 2000, 5500, 2600}}
                << QList<ModelBox> {{1000, 1000, 3000, 1500}, {5000, 900, 5500, 1500}};
        // The second item's band lies from 10000 to 13000 on the page: it stays there.
        QTest::newRow("align tops of an item of a lower band")
                << Command::AlignTops << QList<Box> {p, {5000, 11000, 5500, 11600, 10000, 3000}}
                << QList<ModelBox> {{1000, 1000, 3000, 1500}, {5000, 10000, 5500, 10600}};
        // 4000 high in a band 3000 high: its bottom wins, its top goes above the band.
        QTest::newRow("align bottoms of an item larger than its band")
                << Command::AlignBottoms << QList<Box> {p, {5000, 10000, 5500, 14000, 10000, 3000}}
                << QList<ModelBox> {{1000, 1000, 3000, 1500}, {5000, 9000, 5500, 13000}};
        QTest::newRow("a horizontal command leaves an item larger than its band as it is")
                << Command::AlignLefts << QList<Box> {p, {5000, 10000, 5500, 14000, 10000, 3000}}
                << QList<ModelBox> {{1000, 1000, 3000, 1500}, {1000, 10000, 1500, 14000}};
        QTest::newRow("make same width: its right edge stops at the page's")
                << Command::MakeSameWidth
                << QList<Box> {{0, 0, 4000, 100}, {500, 200, 600, 300}, {19000, 0, 19100, 50}}
                << QList<ModelBox> {
                           {0, 0, 4000, 100}, {500, 200, 4500, 300}, {19000, 0, 21000, 50}};
        QTest::newRow("make same height: its bottom stops at the band's")
                << Command::MakeSameHeight
                << QList<Box> {{0, 0, 100, 4000}, {500, 200, 600, 300, 0, 3000}}
                << QList<ModelBox> {{0, 0, 100, 4000}, {500, 200, 600, 3000}};
        QTest::newRow("make same size")
                << Command::MakeSameSize << QList<Box> {{0, 0, 100, 200}, {500, 500, 900, 900}}
                << QList<ModelBox> {{0, 0, 100, 200}, {500, 500, 600, 700}};
        QTest::newRow("one item aligns nothing") << Command::AlignLefts << QList<Box> {p}
                                                 << QList<ModelBox> {{1000, 1000, 3000, 1500}};
        QTest::newRow("two items are not spaced")
                << Command::SpaceAcross << QList<Box> {p, {5000, 0, 6000, 100}}
                << QList<ModelBox> {{1000, 1000, 3000, 1500}, {5000, 0, 6000, 100}};
        // Widths 1000, 3000, 500 and 2000 between 0 and 12000: 5500 free, 1833 a gap.
        QTest::newRow("space evenly across, uneven sizes, in any order")
                << Command::SpaceAcross
                << QList<Box> {{1500, 0, 4500, 100},
                               {10000, 0, 12000, 100},
                               {0, 0, 1000, 100},
                               {5000, 300, 5500, 400}}
                << QList<ModelBox> {{2833, 0, 5833, 100},
                                    {10000, 0, 12000, 100},
                                    {0, 0, 1000, 100},
                                    {7666, 300, 8166, 400}};
        // Bands from 0 and from 3000 on the page: the middle item stays in its band.
        QTest::newRow("space evenly down across two bands")
                << Command::SpaceDown
                << QList<Box> {{0, 0, 100, 1000, 0, 3000},
                               {0, 3100, 100, 3300, 3000, 3000},
                               {0, 5000, 100, 6000, 3000, 3000}}
                << QList<ModelBox> {{0, 0, 100, 1000}, {0, 3000, 100, 3200}, {0, 5000, 100, 6000}};
        QTest::newRow("size to fit: one line takes width and height")
                << Command::SizeToFit << QList<Box> {{100, 100, 5000, 300, 0, 10000, 2000, 450}}
                << QList<ModelBox> {{100, 100, 2100, 550}};
        QTest::newRow("size to fit: a wrapped text takes the height")
                << Command::SizeToFit << QList<Box> {{100, 100, 5000, 300, 0, 10000, 4900, -900}}
                << QList<ModelBox> {{100, 100, 5000, 1000}};
        QTest::newRow("size to fit: cut at the band's bottom, no text left alone")
                << Command::SizeToFit
                << QList<Box> {{100, 100, 300, 300}, {100, 2500, 300, 2600, 0, 3000, 200, 900}}
                << QList<ModelBox> {{100, 100, 300, 300}, {100, 2500, 300, 3000}};
    }
    void arrange()
    {
        QFETCH(Command, command);
        QFETCH(QList<Box>, items);
        QFETCH(QList<ModelBox>, expected);
        QCOMPARE(Boxes(LayoutCommands::Arrange(command, Items(items), 21000)), expected);
    }

    void reorder_data()
    {
        QTest::addColumn<Command>("command");
        QTest::addColumn<QList<bool>>("selected");
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("to the front, keeping their order")
                << Command::BringToFront << QList<bool> {true, false, true, false}
                << QList<int> {1, 3, 0, 2};
        QTest::newRow("to the back")
                << Command::SendToBack << QList<bool> {false, true, false, true}
                << QList<int> {1, 3, 0, 2};
        QTest::newRow("already in front")
                << Command::BringToFront << QList<bool> {false, true} << QList<int> {0, 1};
    }
    void reorder()
    {
        QFETCH(Command, command);
        QFETCH(QList<bool>, selected);
        QFETCH(QList<int>, order);
        const std::vector<int> got = LayoutCommands::Reorder(
                command, std::vector<bool>(selected.begin(), selected.end()));
        QCOMPARE(QList<int>(got.begin(), got.end()), order);
    }

    // On a document: enabled only when something changes, one undo step named after the command
    // that takes it back, the order commands included.
    void applyIsOneStep()
    {
        CInteractionRig rig;
        CVornBand *band = PageTest::AddBand(rig.Report(), 5080);
        CVornItem *a = rig.AddItem<CVornText>(band, QStringLiteral("A"), 0, 0, 1000, 500);
        CVornItem *b = rig.AddItem<CVornShape>(band, QStringLiteral("B"), 2000, 700, 2500, 900);
        const auto measure = LayoutCommands::ScreenTextMeasure(96, 96);
        rig.Report().Select(a);
        QVERIFY(!LayoutCommands::CanApply(rig.Report(), Command::AlignLefts, measure));
        QVERIFY(!LayoutCommands::CanApply(rig.Report(), Command::SendToBack, measure));
        QVERIFY(LayoutCommands::CanApply(rig.Report(), Command::BringToFront, measure));
        rig.Report().Select(b, true);
        QVERIFY(LayoutCommands::Apply(rig.Doc(), Command::AlignLefts, measure));
        QCOMPARE(a->GetLeft(), 2000);
        QCOMPARE(b->GetLeft(), 2000);
        QVERIFY(!LayoutCommands::CanApply(rig.Report(), Command::AlignLefts, measure));
        rig.Report().Select(a);
        QVERIFY(LayoutCommands::Apply(rig.Doc(), Command::BringToFront, measure));
        QCOMPARE(band->GetItems()[1], a);
        QCOMPARE(rig.Doc().GetUndoStack()->undoText(), QStringLiteral("Bring to Front"));
        rig.Doc().GetUndoStack()->undo();
        QCOMPARE(band->GetItems()[0], a);
        rig.Doc().GetUndoStack()->undo();
        QCOMPARE(BoxOf(a), (ModelBox {0, 0, 1000, 500}));
        QCOMPARE(rig.Report().FindFirstSelected(), b);
    }

    // Size to Fit measures with the item's font: a longer text is wider, a larger font taller,
    // a wrapped text keeps its width, and a DB Text measures its field's name.
    void screenMeasure()
    {
        const auto measure = LayoutCommands::ScreenTextMeasure(96, 96);
        CVornText shortText;
        shortText.SetWordWrap(0);
        shortText.SetText(QStringLiteral("Total"));
        shortText.SetRect(0, 0, 3000, 500);
        CVornText longText;
        longText.SetWordWrap(0);
        longText.SetText(QStringLiteral("Total amount due"));
        longText.SetRect(0, 0, 3000, 500);
        const auto small = measure(shortText);
        const auto wide = measure(longText);
        QVERIFY(small && wide);
        QVERIFY(wide->first > small->first);
        QVERIFY(small->second > 0);
        longText.SetFontSize(longText.GetFontSize() * 2);
        QVERIFY(measure(longText)->second > small->second);
        longText.SetWordWrap(1);
        QCOMPARE(measure(longText)->first, 3000);
        CVornDbText field;
        field.SetWordWrap(0);
        QVERIFY(!measure(field));
        field.SetDataField(QStringLiteral("Total"));
        QCOMPARE(measure(field), small);
        CVornShape shape;
        QVERIFY(!measure(shape));
    }
};

VANTEL_TEST_CLASS(TestLayoutCommands)
#include "tst_layoutcommands.moc"
