#include "fieldplacement.h"
#include "modelbuilder.h"
#include "testregistry.h"
#include "vorndocument.h"

#include <QTest>
#include <QUndoStack>

using namespace Qt::StringLiterals;
using namespace ModelBuilder;

// Fields dropped on a band from the Data pane, and the Elements pane's page-number entries:
// the items they make, their names, and the one undo step.
class TestFieldPlacement : public QObject
{
    Q_OBJECT

private slots:
    void uniqueName_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("expected");
        QTest::newRow("the field's own name") << u"AMOUNT"_s << u"AMOUNT"_s;
        QTest::newRow("taken by an item of another band") << u"city"_s << u"city 2"_s;
        QTest::newRow("taken by a band") << u"Lines"_s << u"Lines 2"_s;
        QTest::newRow("an entry of the band") << u"ID"_s << u"ID 2"_s;
        QTest::newRow("the next free number") << u"NAME"_s << u"NAME 3"_s;
        QTest::newRow("no name") << u" "_s << u"Field"_s;
    }

    void uniqueName()
    {
        QFETCH(QString, base);
        QFETCH(QString, expected);
        CVornReport report;
        AddItem(AddBand(report, VornKind::ReportContents, u"Customers"_s), u"CITY"_s);
        CVornBand *lines = AddBand(report, VornKind::ReportContents, u"Lines"_s);
        lines->SetDatabaseQuery(u"SELECT * FROM Lines WHERE Id = {id}"_s);
        AddItem(lines, u"NAME"_s);
        AddItem(lines, u"NAME 2"_s);
        QCOMPARE(FieldChoice::UniqueItemName(report, *lines, base), expected);
    }

    void placeIsOneStep()
    {
        CVornDocument document;
        CVornBand *band = AddBand(document.GetReport(), VornKind::ReportContents, u"Lines"_s, 800);
        AddItem(band, u"Old"_s)->SetSelected(true);
        const QList<CFieldChoice> fields {{u"Lines"_s, u"AMOUNT"_s, false, {}, 0, {}},
                                          {u"Lines"_s, u"SCAN"_s, true, {}, 0, {}}};
        FieldChoice::Placement where {1000, 700, 4000, 400, 8000};
        const QList<CVornItem *> placed
                = FieldChoice::Place(document, *band, where, fields, u"Insert"_s);
        QCOMPARE(placed.size(), 2);
        const auto *text = dynamic_cast<const CVornDbText *>(placed[0]);
        const auto *image = dynamic_cast<const CVornDbImage *>(placed[1]);
        QVERIFY(text && image);
        QCOMPARE(text->GetName(), u"AMOUNT"_s);
        QCOMPARE((QList<QString> {text->GetDataSource(), text->GetDataField()}),
                 (QList<QString> {u"Lines"_s, u"AMOUNT"_s}));
        QCOMPARE(image->GetDataField(), u"SCAN"_s);
        // Side by side, narrowed to the page; moved up into the band; the picture square.
        QCOMPARE(
                (QList<int> {text->GetLeft(), text->GetTop(), text->GetRight(), text->GetBottom()}),
                (QList<int> {1000, 400, 4500, 800}));
        QCOMPARE((QList<int> {image->GetLeft(), image->GetTop(), image->GetRight()}),
                 (QList<int> {4500, 0, 8000}));
        QVERIFY(text->IsSelected() && image->IsSelected() && !band->GetItems()[0]->IsSelected());

        QCOMPARE(document.GetUndoStack()->count(), 1);
        QCOMPARE(document.GetUndoStack()->undoText(), u"Insert"_s);
        document.GetUndoStack()->undo();
        QCOMPARE(band->GetItems().GetCount(), 1);
        QVERIFY(band->GetItems()[0]->IsSelected());
    }

    void pageNumberEntries()
    {
        QCOMPARE(FieldChoice::PageNumber().size(), 1);
        const QList<CFieldChoice> nOfM = FieldChoice::PageNofM();
        QCOMPARE(nOfM.size(), 2);
        QCOMPARE(nOfM[0].dataField + u' ' + nOfM[0].format, u"#PAGE Page %d"_s);
        QCOMPARE(nOfM[1].dataField + u' ' + nOfM[1].format, u"#PAGES  of %d"_s);
        QVERIFY(nOfM[0].dataSource.isEmpty() && nOfM[1].dataSource.isEmpty());
    }

    // "Page N of M" clicked onto a footer: the count is as wide as it needs, and the pair
    // keeps off the page's edge where it can.
    void pageNofMPlaced_data()
    {
        QTest::addColumn<int>("left");
        QTest::addColumn<QList<int>>("edges"); // left and right of the number, then the count
        QTest::newRow("room for both") << 15000 << QList<int> {15000, 19000, 19000, 20500};
        QTest::newRow("near the edge") << 20000 << QList<int> {15500, 19500, 19500, 21000};
        QTest::newRow("narrowed") << 17000 << QList<int> {17000, 19500, 19500, 21000};
    }
    void pageNofMPlaced()
    {
        QFETCH(int, left);
        QFETCH(QList<int>, edges);
        CVornDocument document;
        CVornBand *band = AddBand(document.GetReport(), VornKind::PageFooter, u"Footer"_s, 800);
        const FieldChoice::Placement where {left, 100, 4000, 400, 21000};
        const QList<CVornItem *> placed
                = FieldChoice::Place(document, *band, where, FieldChoice::PageNofM(), u"Insert"_s);
        QCOMPARE(placed.size(), 2);
        QCOMPARE((QList<int> {placed[0]->GetLeft(), placed[0]->GetRight(), placed[1]->GetLeft(),
                              placed[1]->GetRight()}),
                 edges);
    }

    void dragData()
    {
        const QList<CFieldChoice> fields = FieldChoice::PageNofM()
                << CFieldChoice {u"Lines"_s, u"SCAN"_s, true, {}, 0, {}};
        QCOMPARE(FieldChoice::Decode(FieldChoice::Encode(fields)), fields);
        QVERIFY(FieldChoice::Decode("not fields").isEmpty());
        QVERIFY(FieldChoice::Decode(FieldChoice::Encode(fields).chopped(3)).isEmpty());
    }
};

VANTEL_TEST_CLASS(TestFieldPlacement)

#include "tst_fieldplacement.moc"
