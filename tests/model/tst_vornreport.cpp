#include "modelbuilder.h"
#include "queryentries.h"
#include "testregistry.h"

#include <QTest>

using namespace ModelBuilder;

// Searching, naming, selection and parameters of the report.
class TestVornReport : public QObject
{
    Q_OBJECT

private slots:
    void newReportDefaults()
    {
        CVornReport report;
        QCOMPARE(report.GetWidth(), 21000);
        QCOMPARE(report.GetHeight(), 29700);
        QCOMPARE(report.GetPortrait(), 1);
        QCOMPARE(report.GetDatabaseType(), -1);
        QCOMPARE(report.GetBands().GetCount(), 0);
        QCOMPARE(report.GetParameters().GetCount(), 0);
        QCOMPARE(report.GetPageHeight(), 29700);
    }

    void resetRestoresEveryDefault()
    {
        CVornReport report;
        report.SetTitle(QStringLiteral("Invoice"));
        report.SetConnectString(QStringLiteral("/data/shop.db"));
        report.SetDatabaseType(0);
        report.SetPortrait(0);
        report.SetWidth(10000);
        AddBand(report, 1, QStringLiteral("Lines"));
        report.GetParameters().SetParameter(QStringLiteral("Lines"), QStringLiteral("ID"));
        report.Reset();
        QVERIFY(report.GetTitle().isEmpty());
        QVERIFY(report.GetConnectString().isEmpty());
        QCOMPARE(report.GetDatabaseType(), -1);
        QCOMPARE(report.GetPortrait(), 1);
        QCOMPARE(report.GetWidth(), 21000);
        QCOMPARE(report.GetBands().GetCount(), 0);
        QCOMPARE(report.GetParameters().GetCount(), 0);
    }

    void swapExchangesEverything()
    {
        CVornReport a;
        a.SetTitle(QStringLiteral("A"));
        a.SetWidth(100);
        AddBand(a, 1, QStringLiteral("Lines"));
        a.GetParameters().SetParameter(QStringLiteral("Lines"), QStringLiteral("ID"),
                                       QStringLiteral("7"));
        CVornReport b;
        b.SetConnectString(QStringLiteral("db"));
        b.SetPortrait(0);
        a.Swap(b);
        QCOMPARE(a.GetBands().GetCount(), 0);
        QCOMPARE(a.GetParameters().GetCount(), 0);
        QCOMPARE(a.GetConnectString(), QStringLiteral("db"));
        QCOMPARE(a.GetPortrait(), 0);
        QCOMPARE(b.GetTitle(), QStringLiteral("A"));
        QCOMPARE(b.GetWidth(), 100);
        QCOMPARE(b.GetBands()[0]->GetName(), QStringLiteral("Lines"));
        QCOMPARE(b.GetParameters()[0]->GetValue(), QStringLiteral("7"));
    }

    void landscapeOffersTheWidth()
    {
        CVornReport report;
        report.SetPortrait(0);
        QCOMPARE(report.GetPageHeight(), 21000);
        QCOMPARE(report.GetPageWidth(), 29700);
    }

    void bandResetKeepsNameKindQuery()
    {
        CVornBand band(1, QStringLiteral("Lines"));
        band.SetHeight(500);
        band.SetHeader(QStringLiteral("H"));
        band.SetFooter(QStringLiteral("F"));
        band.SetPrintOnFirstPage(0);
        band.SetDatabaseQuery(QStringLiteral("SELECT 1"));
        band.SetParentDataSource(QStringLiteral("P"));
        AddItem(&band, QStringLiteral("T"));
        band.Reset();
        QCOMPARE(band.GetName(), QStringLiteral("Lines"));
        QCOMPARE(band.GetKind(), 1);
        QCOMPARE(band.GetDatabaseQuery(), QStringLiteral("SELECT 1"));
        QCOMPARE(band.GetParentDataSource(), QStringLiteral("P"));
        QCOMPARE(band.GetHeight(), 0);
        QVERIFY(band.GetHeader().isEmpty() && band.GetFooter().isEmpty());
        QCOMPARE(band.GetPrintOnFirstPage(), 1);
        QCOMPARE(band.GetItems().GetCount(), 0);
    }

    void findByNameOrder()
    {
        // A band wins over an item of the same name in the same or a later band,
        // an item of an earlier band over a later band.
        CVornReport report;
        CVornBand *a = AddBand(report, 1, QStringLiteral("A"));
        CVornText *total = AddItem(a, QStringLiteral("Total"));
        CVornBand *b = AddBand(report, 1, QStringLiteral("TOTAL"));
        QCOMPARE(report.FindByName(QStringLiteral("total")), static_cast<CVornElement *>(total));

        report.GetBands().RemoveAt(1);
        report.GetBands().InsertAt(0, b);
        QCOMPARE(report.FindByName(QStringLiteral("total")), static_cast<CVornElement *>(b));
        QCOMPARE(report.FindByName(QStringLiteral("nothing")), nullptr);
    }

    void indexOfBand()
    {
        CVornReport report;
        AddBand(report, 2, QStringLiteral("RH"));
        CVornBand *b1 = AddBand(report, 1, QStringLiteral("C1"));
        CVornBand *b2 = AddBand(report, 1, QStringLiteral("C2"));
        CVornText *onTwo = AddItem(b2, QStringLiteral("Amount"));
        QCOMPARE(report.IndexOfBand(b1), 1);
        QCOMPARE(report.IndexOfBand(onTwo), 2);

        // An item in no band is found by its exact name only.
        CVornText loose;
        loose.SetName(QStringLiteral("Amount"));
        QCOMPARE(report.IndexOfBand(&loose), 2);
        loose.SetName(QStringLiteral("amount"));
        QCOMPARE(report.IndexOfBand(&loose), -1);

        // The item's own band wins over a namesake on an earlier band.
        CVornText *namesakeOnFirst = AddItem(b1, QStringLiteral("Amount"));
        QCOMPARE(report.IndexOfBand(onTwo), 2);
        QCOMPARE(report.IndexOfBand(namesakeOnFirst), 1);
        loose.SetName(QStringLiteral("Amount"));
        QCOMPARE(report.IndexOfBand(&loose), 1);

        // A band is found by identity, never by name.
        CVornBand namesake(1, QStringLiteral("C1"));
        QCOMPARE(report.IndexOfBand(&namesake), -1);
    }

    void makeUniqueName_data()
    {
        QTest::addColumn<QStringList>("bandNames");
        QTest::addColumn<QStringList>("itemNames");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty report")
                << QStringList() << QStringList() << 9 << QStringLiteral("Text 1");
        QTest::newRow("band and item names, any case")
                << QStringList {QStringLiteral("Text 1")} << QStringList {QStringLiteral("text 2")}
                << 9 << QStringLiteral("Text 3");
        QTest::newRow("a gap is reused")
                << QStringList {QStringLiteral("Report Contents 2")} << QStringList() << 1
                << QStringLiteral("Report Contents 1");
        QTest::newRow("db kinds") << QStringList {QStringLiteral("B")}
                                  << QStringList {QStringLiteral("DB Image 1")} << 14
                                  << QStringLiteral("DB Image 2");
    }
    void makeUniqueName()
    {
        QFETCH(QStringList, bandNames);
        QFETCH(QStringList, itemNames);
        QFETCH(int, kind);
        QFETCH(QString, expected);
        CVornReport report;
        CVornBand *band = nullptr;
        for (const QString &name : bandNames)
            band = AddBand(report, 1, name);
        for (const QString &name : itemNames)
            AddItem(band, name);
        QCOMPARE(report.MakeUniqueName(kind), expected);
    }

    void makeUniqueNameRunsOut()
    {
        CVornReport report;
        CVornBand *band = AddBand(report, 1, QStringLiteral("B"));
        for (int n = 1; n <= 99999; ++n)
            AddItem<CVornShape>(band, QStringLiteral("Shape %1").arg(n));
        QCOMPARE(report.MakeUniqueName(10), QString());
        QCOMPARE(report.MakeUniqueName(9), QStringLiteral("Text 1"));
    }

    void isNameUnique()
    {
        CVornReport report;
        CVornBand *first = AddBand(report, 1, QStringLiteral("Detail"));
        CVornBand *pageBreak = AddBand(report, 8, QStringLiteral("Break"));
        CVornText *text = AddItem(first, QStringLiteral("Price"));
        AddItem(first, QStringLiteral("Qty"));
        CVornBand *second = AddBand(report, 1, QStringLiteral("Other"));
        AddItem(second, QStringLiteral("Total"));

        QVERIFY(!report.IsNameUnique(pageBreak, QStringLiteral("DETAIL")));
        QVERIFY(report.IsNameUnique(pageBreak, QStringLiteral("Break")));
        // Items do not take names from bands.
        QVERIFY(report.IsNameUnique(pageBreak, QStringLiteral("Price")));
        QVERIFY(!report.IsNameUnique(text, QStringLiteral("qty")));
        QVERIFY(report.IsNameUnique(text, QStringLiteral("Total")));
        QVERIFY(report.IsNameUnique(text, QStringLiteral("Price")));
    }

    void renameIsCheckedOnTheItemsOwnBand()
    {
        // Items of different bands may share a name; renaming the later one must
        // be checked against its own band, or a duplicate slips into it and the
        // saved file no longer opens.
        CVornReport report;
        CVornBand *a = AddBand(report, 1, QStringLiteral("A"));
        CVornBand *b = AddBand(report, 1, QStringLiteral("B"));
        AddItem(a, QStringLiteral("Total"));
        CVornText *total = AddItem(b, QStringLiteral("Total"));
        AddItem(b, QStringLiteral("Tax"));
        QVERIFY(!report.IsNameUnique(total, QStringLiteral("tax")));
        AddItem(a, QStringLiteral("Net"));
        QVERIFY(report.IsNameUnique(total, QStringLiteral("Net")));
    }

    void selection()
    {
        CVornReport report;
        CVornBand *a = AddBand(report, 1, QStringLiteral("A"));
        CVornBand *b = AddBand(report, 1, QStringLiteral("B"));
        CVornText *item = AddItem(b, QStringLiteral("T"));
        QCOMPARE(report.FindFirstSelected(), nullptr);
        item->SetSelected(true);
        QCOMPARE(report.FindFirstSelected(), static_cast<CVornElement *>(item));
        a->SetSelected(true);
        QCOMPARE(report.FindFirstSelected(), static_cast<CVornElement *>(a));
        report.DeselectAll();
        QVERIFY(!a->IsSelected() && !item->IsSelected());
    }

    void pageBreakHeightCountsZero()
    {
        CVornReport report;
        AddBand(report, 8, QStringLiteral("PB"), 5000);
        AddBand(report, 8, QStringLiteral("PB2"), 100);
        AddBand(report, 4, QStringLiteral("PH"), 1500);
        QCOMPARE(report.SumBandHeights(8), 0);
        QCOMPARE(report.SumBandHeights(4), 1500);
        QCOMPARE(report.SumAllBandHeights(), 1500);
    }

    void setParameterMatchesIgnoringCase()
    {
        CVornParameters list;
        QCOMPARE(list.SetParameter(QStringLiteral("contents 1"), QStringLiteral("id")), 0);
        QCOMPARE(list.SetParameter(QStringLiteral("Contents 1"), QStringLiteral("ID"),
                                   QStringLiteral("5")),
                 0);
        QCOMPARE(list.GetCount(), 1);
        QCOMPARE(list[0]->GetValue(), QStringLiteral("5"));
        QCOMPARE(list[0]->GetBand(), QStringLiteral("contents 1"));
        QCOMPARE(list.SetParameter(QStringLiteral("Contents 2"), QStringLiteral("ID")), 1);
        // No value given means the empty value.
        QCOMPARE(list.SetParameter(QStringLiteral("CONTENTS 1"), QStringLiteral("Id")), 0);
        QVERIFY(list[0]->GetValue().isEmpty());

        CVornParameters copy = list;
        copy[1]->SetValue(QStringLiteral("x"));
        QVERIFY(list[1]->GetValue().isEmpty());
    }

    void setParametersActsAsSetParameterInOrder()
    {
        // The bulk path used when loading must give the list one call per
        // parameter gives: first-seen order and spelling, the later value.
        const std::vector<CVornParameter> input {
                {QStringLiteral("B\u00c4nd"), QStringLiteral("id"), QStringLiteral("1")},
                {QStringLiteral("Other"), QStringLiteral("\u03a3x"), QStringLiteral("2")},
                {QStringLiteral("b\u00e4ND"), QStringLiteral("ID"), QStringLiteral("3")},
                {QStringLiteral("other"), QStringLiteral("\u03c2X"), QString()},
                {QStringLiteral("Other"), QStringLiteral("id"), QStringLiteral("4")},
        };
        CVornParameters single;
        CVornParameters bulk;
        single.SetParameter(QStringLiteral("OTHER"), QStringLiteral("ID"), QStringLiteral("0"));
        bulk = single;
        for (const CVornParameter &p : input)
            single.SetParameter(p.GetBand(), p.GetName(), p.GetValue());
        bulk.SetParameters(input);
        QCOMPARE(bulk.GetCount(), single.GetCount());
        for (int i = 0; i < single.GetCount(); ++i) {
            QCOMPARE(bulk[i]->GetBand(), single[i]->GetBand());
            QCOMPARE(bulk[i]->GetName(), single[i]->GetName());
            QCOMPARE(bulk[i]->GetValue(), single[i]->GetValue());
        }
        QCOMPARE(bulk.GetCount(), 3);
    }

    void scanQueryEntries_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("message");
        QTest::newRow("one entry in two cases")
                << QStringLiteral("SELECT * FROM T WHERE A = {ID} AND B = {id}") << true
                << QStringList {QStringLiteral("ID")} << QString();
        QTest::newRow("inside single quotes")
                << QStringLiteral("SELECT '{X}' FROM T") << true << QStringList() << QString();
        QTest::newRow("apostrophe inside double quotes stays open")
                << QStringLiteral("SELECT \"it's\" FROM T WHERE A = {ID}") << true << QStringList()
                << QString();
        QTest::newRow("positions count after trimming")
                << QStringLiteral("  }X") << false << QStringList()
                << QStringLiteral("A close bracket without an open one in position 0");
        QTest::newRow("two open brackets")
                << QStringLiteral("{A{B}") << false << QStringList()
                << QStringLiteral("Two open brackets in positions 0 and 2");
        QTest::newRow("open at the end is ignored")
                << QStringLiteral("{A") << true << QStringList() << QString();
        QTest::newRow("entries keep blanks and may be empty")
                << QStringLiteral("x { a } {}") << true
                << QStringList {QStringLiteral(" a "), QString()} << QString();
        QTest::newRow("white space only")
                << QStringLiteral(" \t\n ") << true << QStringList() << QString();
    }
    void scanQueryEntries()
    {
        QFETCH(QString, query);
        QFETCH(bool, ok);
        QFETCH(QStringList, entries);
        QFETCH(QString, message);
        CQueryEntries found;
        QString text;
        QCOMPARE(ScanQueryEntries(query, found, text), ok);
        QCOMPARE(found.GetNames(), entries);
        QCOMPARE(text, message);
    }

    void collectQueryEntriesTakesDbTextQueries()
    {
        CVornBand band(1, QStringLiteral("Lines"));
        band.SetDatabaseQuery(QStringLiteral("SELECT * FROM L WHERE O = {ORDER}"));
        auto *text = AddItem<CVornText>(&band, QStringLiteral("T"));
        text->SetText(QStringLiteral("{NOT_A_QUERY}"));
        auto *db = AddItem<CVornDbText>(&band, QStringLiteral("D"));
        db->SetQuery(QStringLiteral("SELECT N FROM C WHERE I = {CUSTOMER} AND O = {order}"));
        CQueryEntries entries;
        QString message;
        QVERIFY(band.CollectQueryEntries(entries, message));
        QCOMPARE(entries.GetNames(),
                 (QStringList {QStringLiteral("ORDER"), QStringLiteral("CUSTOMER")}));

        db->SetQuery(QStringLiteral("}"));
        QVERIFY(!band.CollectQueryEntries(entries, message));
        QCOMPARE(message, QStringLiteral("A close bracket without an open one in position 0"));
    }
};

VANTEL_TEST_CLASS(TestVornReport)
#include "tst_vornreport.moc"
