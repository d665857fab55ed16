#include "interactionrig.h"
#include "testregistry.h"
#include "vornitems.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// Band kinds written as in a band list: "PH RH RC RF PF".
int KindCode(const QString &code)
{
    static const QHash<QString, int> kinds {
            {QStringLiteral("RC"), VornKind::ReportContents},
            {QStringLiteral("RH"), VornKind::ReportHeader},
            {QStringLiteral("RF"), VornKind::ReportFooter},
            {QStringLiteral("PH"), VornKind::PageHeader},
            {QStringLiteral("PF"), VornKind::PageFooter},
    };
    return kinds.value(code);
}

QString NameOf(const CVornElement *element)
{
    return element ? element->GetName() : QString();
}

} // namespace

// Insertion of bands and items at a click, the key steps and their refusals, deletion with
// the next selection and the references to a deleted band.
class TestViewEditing : public QObject
{
    Q_OBJECT

private slots:
    void insertAt_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("grid");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("band");
        QTest::addColumn<ModelBox>("rect");
        QTest::addColumn<QString>("name");

        // Band 0 is 192 pixels high, band 1 24 pixels; the bands end 216 pixels down.
        using M = CInteractionRig;
        QTest::newRow("text at the page's corner") << int(VornKind::Text) << false << QPoint(0, 0)
                                                   << 0 << ModelBox {0, 0, 3968, 529} << "Text 1";
        QTest::newRow("a shape is 30 pixels high") << int(VornKind::Shape) << false << QPoint(0, 0)
                                                   << 0 << ModelBox {0, 0, 3968, 793} << "Shape 1";
        QTest::newRow("cut at the band's bottom")
                << int(VornKind::Barcode) << false << QPoint(24, 202) << 1
                << ModelBox {635, 264, M::M(174), 635} << "Barcode 1";
        QTest::newRow("cut at the page's right edge")
                << int(VornKind::Image) << false << QPoint(700, 24) << 0
                << ModelBox {M::M(700), 635, M::M(793), 1164} << "Image 1";
        // The page starts at view pixel (53, 20): the click (66, 37) rounds to (70, 40).
        QTest::newRow("grid rounds in view coordinates")
                << int(VornKind::DbText) << true << QPoint(13, 17) << 0
                << ModelBox {M::M(17), M::M(20), M::M(167), M::M(40)} << "DB Text 1";
        QTest::newRow("no band under the click: nothing")
                << int(VornKind::Text) << false << QPoint(100, 400) << -1 << ModelBox {}
                << QString();
    }
    void insertAt()
    {
        QFETCH(int, kind);
        QFETCH(bool, grid);
        QFETCH(QPoint, at);
        QFETCH(int, band);
        QFETCH(ModelBox, rect);
        QFETCH(QString, name);
        CInteractionRig rig;
        rig.Doc().SetGridOn(grid);
        PageTest::AddBand(rig.Report(), 5080)->SetSelected(true);
        PageTest::AddBand(rig.Report(), 635);
        const CViewInteraction::Result result = rig.Do().InsertAt(rig.At(at), kind);
        // The selection is cleared in every case; the screen shows that.
        QVERIFY(result.repaintAll);
        CVornElement *selected = rig.Report().FindFirstSelected();
        if (band < 0) {
            QCOMPARE(selected, nullptr);
            QVERIFY(!rig.Doc().IsModified());
            QVERIFY(!result.showProperties);
            return;
        }
        const auto &items = rig.Report().GetBands()[band]->GetItems();
        QCOMPARE(items.GetCount(), 1);
        CVornItem *item = items[0];
        QCOMPARE(item->GetKind(), kind);
        QCOMPARE(item->GetName(), name);
        QCOMPARE(BoxOf(item), rect);
        QCOMPARE(selected, item);
        QVERIFY(result.showProperties);
        QCOMPARE(result.propertiesObject, item);
        QVERIFY(rig.Doc().IsModified());
    }

    void insertedItemDefaults()
    {
        CInteractionRig rig;
        CVornBand *band = PageTest::AddBand(rig.Report(), 5080);
        band->SetName(QStringLiteral("Orders"));
        rig.Do().InsertAt(rig.At(QPoint(10, 10)), VornKind::Text);
        rig.Do().InsertAt(rig.At(QPoint(10, 40)), VornKind::DbText);
        rig.Do().InsertAt(rig.At(QPoint(10, 70)), VornKind::Text);
        const auto &items = band->GetItems();
        QCOMPARE(items.GetCount(), 3);
        QCOMPARE(static_cast<CVornText *>(items[0])->GetText(), QStringLiteral("Some text here"));
        QCOMPARE(static_cast<CVornDbText *>(items[1])->GetDataSource(), QStringLiteral("Orders"));
        QCOMPARE(items[2]->GetName(), QStringLiteral("Text 2"));
        // Only the last one is selected.
        QCOMPARE(rig.Report().FindFirstSelected(), items[2]);
    }

    void insertOutsideThePageChangesNothing()
    {
        CInteractionRig rig;
        CVornBand *band = PageTest::AddBand(rig.Report(), 5080);
        band->SetSelected(true);
        const CViewInteraction::Result result
                = rig.Do().InsertAt(rig.At(QPoint(-1, 10)), VornKind::Text);
        QVERIFY(!result.repaintAll && !result.showProperties);
        QVERIFY(band->IsSelected());
        QCOMPARE(band->GetItems().GetCount(), 0);
        QVERIFY(!rig.Doc().IsModified());
    }

    void insertBand()
    {
        // A band needs no band under the click; it goes where its kind belongs.
        CInteractionRig rig;
        PageTest::AddBand(rig.Report(), 5080, VornKind::PageFooter);
        const CViewInteraction::Result result
                = rig.Do().InsertAt(rig.At(QPoint(100, 600)), VornKind::ReportContents);
        QCOMPARE(rig.Report().GetBands().GetCount(), 2);
        CVornBand *band = rig.Report().GetBands()[0];
        QCOMPARE(band->GetKind(), int(VornKind::ReportContents));
        QCOMPARE(band->GetName(), QStringLiteral("Report Contents 1"));
        QCOMPARE(band->GetHeight(), 1200);
        QVERIFY(band->IsSelected());
        QCOMPARE(result.propertiesObject, band);
        QVERIFY(result.repaintAll && rig.Doc().IsModified());
    }

    void bandInsertIndex_data()
    {
        QTest::addColumn<QString>("bands");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("index");

        QTest::newRow("into an empty list") << ""
                                            << "RH" << 0;
        QTest::newRow("contents before the first footer") << "PH RH RC RF PF"
                                                          << "RC" << 3;
        QTest::newRow("contents before a page footer") << "RC PF RF"
                                                       << "RC" << 1;
        QTest::newRow("contents at the end without footers") << "PH RC"
                                                             << "RC" << 2;
        QTest::newRow("report footer after the last other band") << "PH RC RF PF"
                                                                 << "RF" << 2;
        QTest::newRow("report footer when all are footers") << "RF PF"
                                                            << "RF" << 2;
        QTest::newRow("page header after the leading ones") << "PH PH RC"
                                                            << "PH" << 2;
        QTest::newRow("page header first") << "RC PH"
                                           << "PH" << 0;
        QTest::newRow("page footer at the end") << "PF RC"
                                                << "PF" << 2;
        QTest::newRow("report header after the leading ones") << "RH RH RC"
                                                              << "RH" << 2;
        QTest::newRow("report header: leading run only") << "RH PH RH"
                                                         << "RH" << 1;
        QTest::newRow("report header after the page headers") << "PH RC RF"
                                                              << "RH" << 1;
        QTest::newRow("report header after page and report headers") << "PH RH RC"
                                                                     << "RH" << 2;
        QTest::newRow("report header in front of contents") << "RC RF"
                                                            << "RH" << 0;
    }
    void bandInsertIndex()
    {
        QFETCH(QString, bands);
        QFETCH(QString, kind);
        QFETCH(int, index);
        CInteractionRig rig;
        for (const QString &code : bands.split(u' ', Qt::SkipEmptyParts))
            PageTest::AddBand(rig.Report(), 1000, KindCode(code));
        QCOMPARE(rig.Do().BandInsertIndex(KindCode(kind)), index);
    }

    // A band of any kind, the page break included, from a click with the Elements pane's
    // choice or from the Insert menu.
    void insertBandOfEveryKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QPoint>("at"); // (-1, -1): from the menu
        QTest::addColumn<int>("index");
        QTest::newRow("page break clicked on the first band")
                << int(VornKind::PageBreak) << QPoint(10, 10) << 1;
        QTest::newRow("page break clicked below the bands")
                << int(VornKind::PageBreak) << QPoint(10, 400) << 2;
        QTest::newRow("page break from the menu, after the selected band")
                << int(VornKind::PageBreak) << QPoint(-1, -1) << 1;
        QTest::newRow("report footer from the menu, after the contents")
                << int(VornKind::ReportFooter) << QPoint(-1, -1) << 2;
        QTest::newRow("page header from the menu, first")
                << int(VornKind::PageHeader) << QPoint(-1, -1) << 0;
    }
    void insertBandOfEveryKind()
    {
        QFETCH(int, kind);
        QFETCH(QPoint, at);
        QFETCH(int, index);
        CInteractionRig rig;
        PageTest::AddBand(rig.Report(), 5080)->SetSelected(true);
        PageTest::AddBand(rig.Report(), 635);
        const CViewInteraction::Result result
                = at.x() < 0 ? rig.Do().InsertBand(kind) : rig.Do().InsertAt(rig.At(at), kind);
        QCOMPARE(rig.Report().GetBands().GetCount(), 3);
        CVornBand *added = rig.Report().GetBands()[index];
        QCOMPARE(added->GetKind(), kind);
        QCOMPARE(added->GetEffectiveHeight() > 0, kind != VornKind::PageBreak);
        QCOMPARE(rig.Report().FindFirstSelected(), added);
        QCOMPARE(result.propertiesObject, added);
        QVERIFY(rig.Doc().IsModified());
    }

    void insertPageBreak_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<int>("index");
        // Bands "Band 0" to "Band 2" and "Page Break 1"; "Band 1" holds "Item 0".
        QTest::newRow("after the selected band") << "Band 0" << 1;
        QTest::newRow("after the band of the selected item") << "Item 0" << 2;
        QTest::newRow("at the end without a selection") << "" << 4;
        QTest::newRow("after a selected page break") << "Page Break 1" << 4;
    }
    void insertPageBreak()
    {
        QFETCH(QString, selected);
        QFETCH(int, index);
        CInteractionRig rig;
        for (int i = 0; i < 3; ++i)
            PageTest::AddBand(rig.Report(), 1000);
        rig.AddItem<CVornText>(rig.Report().GetBands()[1], QStringLiteral("Item 0"), 0, 0, 10, 10);
        PageTest::AddBand(rig.Report(), 0, VornKind::PageBreak)
                ->SetName(QStringLiteral("Page Break 1"));
        for (CVornBand *band : rig.Report().GetBands()) {
            band->SetSelected(band->GetName() == selected);
            for (CVornItem *item : band->GetItems())
                item->SetSelected(item->GetName() == selected);
        }
        QSignalSpy edited(&rig.Doc(), &CVornDocument::changed);
        const CViewInteraction::Result result = rig.Do().InsertPageBreak();
        CVornBand *added = rig.Report().GetBands()[index];
        QCOMPARE(added->GetKind(), int(VornKind::PageBreak));
        QCOMPARE(added->GetName(), QStringLiteral("Page Break 2"));
        QCOMPARE(rig.Report().FindFirstSelected(), added);
        QCOMPARE(result.propertiesObject, added);
        QVERIFY(result.repaintAll);
        QCOMPARE(edited.count(), 1);
        QVERIFY(rig.Doc().IsModified());
    }

    void keyStep_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("step");

        QTest::newRow("96 dpi") << 96 << 26;
        QTest::newRow("120 dpi") << 120 << 21;
        QTest::newRow("72 dpi") << 72 << 35;
    }
    void keyStep()
    {
        QFETCH(int, dpi);
        QFETCH(int, step);
        CVornDocument doc;
        CViewInteraction::State state;
        const CPageGeometry geometry
                = PageTest::Geometry(doc.GetReport(), QSize(2000, 1500), dpi, dpi);
        CViewInteraction interaction(doc, geometry, state);
        QCOMPARE(interaction.KeyStepX(), step);
        QCOMPARE(interaction.KeyStepY(), step);
    }

    void itemKeys_data()
    {
        QTest::addColumn<ModelBox>("rect");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<ModelBox>("expected");

        // The band is 5080 high, the page 21000 wide; one step is 26.
        const ModelBox item {2540, 1270, 5080, 2540};
        QTest::newRow("right") << item << int(Qt::Key_Right) << false
                               << ModelBox {2566, 1270, 5106, 2540};
        QTest::newRow("up") << item << int(Qt::Key_Up) << false
                            << ModelBox {2540, 1244, 5080, 2514};
        QTest::newRow("left at the band's left edge")
                << ModelBox {0, 0, 100, 100} << int(Qt::Key_Left) << false
                << ModelBox {0, 0, 100, 100};
        QTest::newRow("up at the band's top") << ModelBox {10, 0, 100, 100} << int(Qt::Key_Up)
                                              << false << ModelBox {10, 0, 100, 100};
        QTest::newRow("down past the band's bottom")
                << ModelBox {0, 10, 100, 5060} << int(Qt::Key_Down) << false
                << ModelBox {0, 10, 100, 5060};
        QTest::newRow("right off the page") << ModelBox {20000, 0, 20990, 100} << int(Qt::Key_Right)
                                            << false << ModelBox {20000, 0, 20990, 100};
        QTest::newRow("shift+right")
                << item << int(Qt::Key_Right) << true << ModelBox {2540, 1270, 5106, 2540};
        QTest::newRow("shift+right up to the page width")
                << ModelBox {0, 0, 20974, 100} << int(Qt::Key_Right) << true
                << ModelBox {0, 0, 21000, 100};
        QTest::newRow("shift+right past the page width")
                << ModelBox {0, 0, 20990, 100} << int(Qt::Key_Right) << true
                << ModelBox {0, 0, 20990, 100};
        QTest::newRow("shift+left to no width") << ModelBox {0, 0, 26, 100} << int(Qt::Key_Left)
                                                << true << ModelBox {0, 0, 26, 100};
        QTest::newRow("shift+down past the band's bottom")
                << ModelBox {0, 1270, 100, 5060} << int(Qt::Key_Down) << true
                << ModelBox {0, 1270, 100, 5060};
        QTest::newRow("shift+down: taller than the band ends at its bottom")
                << ModelBox {0, 0, 100, 5060} << int(Qt::Key_Down) << true
                << ModelBox {0, 0, 100, 5080};
    }
    void itemKeys()
    {
        QFETCH(ModelBox, rect);
        QFETCH(int, key);
        QFETCH(bool, shift);
        QFETCH(ModelBox, expected);
        CInteractionRig rig;
        CVornBand *band = PageTest::AddBand(rig.Report(), 5080);
        auto *item = rig.AddItem<CVornText>(band, QStringLiteral("Item"), rect[0], rect[1], rect[2],
                                            rect[3]);
        item->SetSelected(true);
        const CViewInteraction::Result result = rig.Do().OnKeyDown(key, shift);
        QCOMPARE(BoxOf(item), expected);
        const bool changed = expected != rect;
        QCOMPARE(rig.Doc().IsModified(), changed);
        QCOMPARE(result.repaintAreas.empty(), !changed);
        // Refused or not, the item is shown.
        QVERIFY(result.showProperties);
        QCOMPARE(result.propertiesObject, item);
    }

    void bandKeys_data()
    {
        QTest::addColumn<QList<int>>("heights");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<int>("expected");

        QTest::newRow("shift+down") << QList<int> {5080} << int(Qt::Key_Down) << true << 5106;
        QTest::newRow("shift+up to 0 is refused")
                << QList<int> {26} << int(Qt::Key_Up) << true << 26;
        QTest::newRow("shift+down past the page height is refused")
                << QList<int> {20000, 9690} << int(Qt::Key_Down) << true << 20000;
        QTest::newRow("shift+down to the page height exactly")
                << QList<int> {20000, 9674} << int(Qt::Key_Down) << true << 20026;
        QTest::newRow("arrows do not move a band")
                << QList<int> {5080} << int(Qt::Key_Down) << false << 5080;
    }
    void bandKeys()
    {
        QFETCH(QList<int>, heights);
        QFETCH(int, key);
        QFETCH(bool, shift);
        QFETCH(int, expected);
        CInteractionRig rig;
        for (const int height : heights)
            PageTest::AddBand(rig.Report(), height);
        CVornBand *band = rig.Report().GetBands()[0];
        band->SetSelected(true);
        const CViewInteraction::Result result = rig.Do().OnKeyDown(key, shift);
        QCOMPARE(band->GetHeight(), expected);
        const bool changed = expected != heights[0];
        QCOMPARE(rig.Doc().IsModified(), changed);
        // A refused band step does not even ask for the properties.
        QCOMPARE(result.showProperties, changed);
        QCOMPARE(result.repaintAll, changed);
    }

    void otherKeys()
    {
        CInteractionRig rig;
        PageTest::AddBand(rig.Report(), 5080);
        // Nothing selected: arrows and Delete do nothing; Enter still asks for the main row.
        QVERIFY(!rig.Do().OnKeyDown(Qt::Key_Right, false).showProperties);
        QVERIFY(!rig.Do().OnKeyDown(Qt::Key_Delete, false).showProperties);
        QCOMPARE(rig.Report().GetBands().GetCount(), 1);
        QVERIFY(rig.Do().OnKeyDown(Qt::Key_Return, false).focusMainProperty);
        QVERIFY(rig.Do().OnKeyDown(Qt::Key_Enter, false).focusMainProperty);
        QVERIFY(!rig.Do().OnKeyDown(Qt::Key_A, false).focusMainProperty);
        QVERIFY(!rig.Doc().IsModified());
    }

    void deleteSelected_data()
    {
        QTest::addColumn<QString>("deleted");
        QTest::addColumn<QString>("next");

        // Band 0 holds A, B and C; band 1 is empty; band 2 holds D.
        QTest::newRow("an item: the next one") << "B"
                                               << "C";
        QTest::newRow("the last item: the one before") << "C"
                                                       << "B";
        QTest::newRow("the only item: its band") << "D"
                                                 << "Band 2";
        QTest::newRow("a band: the next one") << "Band 1"
                                              << "Band 2";
        QTest::newRow("the last band: the one before") << "Band 2"
                                                       << "Band 1";
        QTest::newRow("the first band with its items") << "Band 0"
                                                       << "Band 1";
    }
    void deleteSelected()
    {
        QFETCH(QString, deleted);
        QFETCH(QString, next);
        CInteractionRig rig;
        CVornBand *first = PageTest::AddBand(rig.Report(), 5080);
        for (const QString &name : {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")})
            rig.AddItem<CVornText>(first, name, 0, 0, 100, 100);
        PageTest::AddBand(rig.Report(), 5080);
        rig.AddItem<CVornText>(PageTest::AddBand(rig.Report(), 5080), QStringLiteral("D"), 0, 0,
                               100, 100);
        CVornElement *target = rig.Report().FindByName(deleted);
        target->SetSelected(true);

        CViewInteraction::Result result = rig.Do().OnKeyDown(Qt::Key_Delete, false);
        QCOMPARE(rig.Report().FindByName(deleted), nullptr);
        QVERIFY(result.showProperties);
        QCOMPARE(NameOf(result.propertiesObject), next);
        QCOMPARE(NameOf(rig.Report().FindFirstSelected()), next);
        QVERIFY(result.repaintAll);
        QVERIFY(rig.Doc().IsModified());
        // The history keeps the very object: an undo puts it back, selected again.
        rig.Doc().GetUndoStack()->undo();
        QCOMPARE(rig.Report().FindByName(deleted), target);
        QVERIFY(target->IsSelected());
        QVERIFY(!rig.Doc().IsModified());
    }

    void deleteTheOnlyBandShowsTheReport()
    {
        CInteractionRig rig;
        PageTest::AddBand(rig.Report(), 5080)->SetSelected(true);
        const CViewInteraction::Result result = rig.Do().OnKeyDown(Qt::Key_Delete, false);
        QCOMPARE(rig.Report().GetBands().GetCount(), 0);
        QVERIFY(result.showProperties);
        QCOMPARE(result.propertiesObject, nullptr);
    }

    void deletingABandClearsItsReferences()
    {
        CInteractionRig rig;
        CVornBand *orders = PageTest::AddBand(rig.Report(), 2000);
        orders->SetName(QStringLiteral("Orders"));
        orders->SetParentDataSource(QStringLiteral("orders"));
        CVornBand *lines = PageTest::AddBand(rig.Report(), 2000);
        lines->SetHeader(QStringLiteral("ORDERS"));
        lines->SetFooter(QStringLiteral("Orders"));
        lines->SetParentDataSource(QStringLiteral("orders"));
        CVornBand *other = PageTest::AddBand(rig.Report(), 2000);
        other->SetHeader(QStringLiteral("Orders 2"));
        other->SetParentDataSource(QStringLiteral("Customers"));
        auto *byName = rig.AddItem<CVornDbText>(lines, QStringLiteral("T1"), 0, 0, 10, 10);
        byName->SetDataSource(QStringLiteral("oRdErS"));
        auto *elsewhere = rig.AddItem<CVornDbText>(other, QStringLiteral("T2"), 0, 0, 10, 10);
        elsewhere->SetDataSource(QStringLiteral("Customers"));
        auto *image = rig.AddItem<CVornDbImage>(lines, QStringLiteral("I1"), 0, 0, 10, 10);
        image->SetDataSource(QStringLiteral("Orders"));
        auto *barcode = rig.AddItem<CVornDbBarcode>(lines, QStringLiteral("B1"), 0, 0, 10, 10);
        barcode->SetDataSource(QStringLiteral("Orders"));

        orders->SetSelected(true);
        rig.Do().OnKeyDown(Qt::Key_Delete, false);
        QCOMPARE(rig.Report().GetBands().GetCount(), 2);
        QVERIFY(lines->GetHeader().isEmpty());
        QVERIFY(lines->GetFooter().isEmpty());
        QVERIFY(lines->GetParentDataSource().isEmpty());
        QVERIFY(byName->GetDataSource().isEmpty());
        // Other names and the sources of DB Images and DB Barcodes stay.
        QCOMPARE(other->GetHeader(), QStringLiteral("Orders 2"));
        QCOMPARE(other->GetParentDataSource(), QStringLiteral("Customers"));
        QCOMPARE(elsewhere->GetDataSource(), QStringLiteral("Customers"));
        QCOMPARE(image->GetDataSource(), QStringLiteral("Orders"));
        QCOMPARE(barcode->GetDataSource(), QStringLiteral("Orders"));
    }

    void itemsOfTwoBandsMayShareAName()
    {
        // An item is found in its own band, not in the first band that has an item of its name.
        CInteractionRig rig;
        CVornBand *first = PageTest::AddBand(rig.Report(), 1270);
        CVornBand *second = PageTest::AddBand(rig.Report(), 5080);
        rig.AddItem<CVornText>(first, QStringLiteral("Same"), 0, 0, 1270, 1270);
        auto *item = rig.AddItem<CVornText>(second, QStringLiteral("Same"), 0, 0, 2540, 2540);
        item->SetSelected(true);
        QCOMPARE(rig.Do().NextSelectionAfterDelete(item), second);
        // The second band starts 48 pixels down.
        rig.Do().OnLeftButtonDown(rig.At(QPoint(48, 96)));
        rig.Do().OnMouseMove(rig.At(QPoint(48, 120)));
        QCOMPARE(BoxOf(item), (ModelBox {0, 635, 2540, 3175}));
    }
};

VANTEL_TEST_CLASS(TestViewEditing)
#include "tst_viewediting.moc"
