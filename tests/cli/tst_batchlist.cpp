#include "batchlist.h"
#include "testregistry.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The rules of a batch run: its CSV list, the names of its files and its shards.
class TestBatchList : public QObject
{
    Q_OBJECT

private slots:
    void readCsv_data()
    {
        QTest::addColumn<QByteArray>("csv");
        // "column,column|value,value|..." or the message.
        QTest::addColumn<QString>("expected");

        QTest::newRow("plain, CRLF, last line without break")
                << "INV,Name\r\n17,Ann\r\n18,Bob"_ba << u"INV,Name|17,Ann|18,Bob"_s;
        QTest::newRow("quotes hold commas, breaks and quotes; BOM and blank lines skipped")
                << "\xEF\xBB\xBFN,T\n\n1,\"a,b\"\n2,\"say \"\"hi\"\"\nthere\"\n\n"_ba
                << u"N,T|1,a;b|2,say \"hi\"\nthere"_s;
        QTest::newRow("empty fields") << "A,B\n,\n"_ba << u"A,B|,"_s;
        QTest::newRow("a header alone") << "A\n"_ba << u"A"_s;
        QTest::newRow("nothing") << ""_ba << u"The list has no header line naming its columns"_s;
        QTest::newRow("short row")
                << "A,B\n1,2\n3\n"_ba << u"Row 2 of the list has 1 fields, the header 2"_s;
        QTest::newRow("open quote")
                << "A\n1\n\"2\n"_ba << u"The list's quote opened on line 3 is not closed"_s;
        QTest::newRow("column twice")
                << "Inv,INV\n1,2\n"_ba << u"The list names the column INV twice"_s;
    }
    void readCsv()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, expected);
        CBatchList list;
        QString message;
        if (!BatchList::ReadCsv(csv, list, message)) {
            QCOMPARE(message, expected);
            return;
        }
        QStringList lines {list.columns.join(u',')};
        for (QStringList row : std::as_const(list.rows))
            lines << row.replaceInStrings(u","_s, u";"_s).join(u',');
        QCOMPARE(lines.join(u'|'), expected);
    }

    void planRows_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("values"); // of the one column K
        // Per row: the file, or "!" and the start of the problem.
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("characters made safe")
                << u"out/inv-{k}.pdf"_s
                << QStringList {u"17"_s, u"a/../b c"_s, u"Zoë-1_2.x"_s, u"日本"_s, u"😀"_s}
                << QStringList {u"out/inv-17.pdf"_s, u"out/inv-a_.._b_c.pdf"_s,
                                u"out/inv-Zoë-1_2.x.pdf"_s, u"out/inv-日本.pdf"_s,
                                u"out/inv-_.pdf"_s};
        QTest::newRow("empty and dot-only values fail their row")
                << u"{K}/x.pdf"_s << QStringList {QString(), u".."_s, u"."_s, u"..a"_s}
                << QStringList {u"!{K} is \"\""_s, u"!{K} is \"..\""_s, u"!{K} is \".\""_s,
                                u"..a/x.pdf"_s};
        QTest::newRow("a later row naming the same file fails; page patterns stay")
                << u"p-{K}-%d.png"_s << QStringList {u"a b"_s, u"a_b"_s, u"c"_s, u"a?b"_s}
                << QStringList {u"p-a_b-%d.png"_s, u"!An earlier row"_s, u"p-c-%d.png"_s,
                                u"!An earlier row"_s};
        QTest::newRow("the column twice")
                << u"{K}-{K}.csv"_s << QStringList {u"1"_s} << QStringList {u"1-1.csv"_s};
    }
    void planRows()
    {
        QFETCH(QString, pattern);
        QFETCH(QStringList, values);
        QFETCH(QStringList, expected);
        CBatchList list;
        list.columns = QStringList {u"K"_s};
        for (const QString &value : values)
            list.rows.append(QStringList {value});
        QString message;
        QVERIFY2(BatchList::CheckPattern(pattern, list.columns, message), qPrintable(message));
        const std::vector<CBatchRow> rows = BatchList::PlanRows(list, pattern);
        QStringList got;
        for (const CBatchRow &row : rows)
            got << (row.problem.isEmpty() ? row.file : u'!' + row.problem);
        for (qsizetype i = 0; i < got.size() && i < expected.size(); ++i) {
            if (expected[i].startsWith(u'!'))
                got[i] = got[i].left(expected[i].size());
        }
        QCOMPARE(got, expected);
    }

    void patternNeedsColumns()
    {
        QString message;
        QVERIFY(!BatchList::CheckPattern(u"out.pdf"_s, {u"K"_s}, message));
        QVERIFY(message.startsWith(u"The output name needs a {COLUMN}"_s));
        QVERIFY(!BatchList::CheckPattern(u"{K}-{Other}.pdf"_s, {u"K"_s, u"Inv"_s}, message));
        QCOMPARE(message,
                 u"The output name holds {Other}, which is no column of the list (K, Inv)"_s);
    }
};

VANTEL_TEST_CLASS(TestBatchList)
#include "tst_batchlist.moc"
