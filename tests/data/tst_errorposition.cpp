#include "errorposition.h"
#include "testregistry.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Where the SQL editor puts the caret after a failed Run Query: the place the driver's message
// names, in the text as the user wrote it (the driver saw it trimmed, entries as "?").
class TestErrorPosition : public QObject
{
    Q_OBJECT

private slots:
    void position_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("expected");
        QTest::newRow("SQLite names the word")
                << u"SELECT a FORM t"_s << u"near \"FORM\": syntax error"_s << 9;
        QTest::newRow("a whole word, not a part of one")
                << u"SELECT Nme, x FROM t WHERE Nme2 = 1"_s << u"no such column: Nme2"_s << 27;
        QTest::newRow("PostgreSQL's word")
                << u"SELECT 1 FORM t"_s << u"ERROR: syntax error at or near \"FORM\";"_s << 9;
        QTest::newRow("a character position after blanks and entries")
                << u"  SELECT {A}, {BB} FORM t"_s << u"syntax error at character 13"_s << 19;
        QTest::newRow("FireBird's line and column")
                << u"SELECT {ID},\n  x FORM t"_s
                << u"Dynamic SQL Error\nToken unknown - line 2, column 5\nFORM"_s << 17;
        QTest::newRow("FireBird's unknown column")
                << u"SELECT a,\nNOPE FROM t"_s << u"Column unknown\nNOPE\nAt line 2"_s << 10;
        QTest::newRow("nothing named") << u"SELECT 1"_s << u"database is locked"_s << -1;
        QTest::newRow("a word not in the text") << u"SELECT 1"_s << u"near \"x\": error"_s << -1;
    }

    void position()
    {
        QFETCH(QString, sql);
        QFETCH(QString, message);
        QFETCH(int, expected);
        QCOMPARE(ErrorPosition(sql, message), expected);
    }
};

VANTEL_TEST_CLASS(TestErrorPosition)

#include "tst_errorposition.moc"
