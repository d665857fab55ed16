#include "reportstatement.h"
#include "testregistry.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Which report SQL may reach a driver, and the text it gets.
class TestReportStatement : public QObject
{
    Q_OBJECT

private slots:
    void check_data();
    void check();
};

void TestReportStatement::check_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<unsigned>("readings");
    // What the driver gets, or the start of the message (found anywhere in it).
    QTest::addColumn<QString>("sent");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("problem");
    const unsigned standard = SqlReading::Standard;
    const unsigned any = SqlReading::Any;
    const unsigned postgres = SqlReading::PostgreSQL;
    const QStringList none;
    auto runs = [&](const char *name, const QString &sql, unsigned readings, const QString &sent,
                    const QStringList &entries = {}) {
        QTest::newRow(name) << sql << readings << sent << entries << QString();
    };
    auto refused
            = [&](const char *name, const QString &sql, unsigned readings, const QString &problem) {
                  QTest::newRow(name) << sql << readings << QString() << QStringList() << problem;
              };

    runs("plain", u"  SELECT a FROM t\n"_s, any, u"SELECT a FROM t"_s);
    runs("closing semicolon and comment", u"SELECT 1 AS A; -- done"_s, any, u"SELECT 1 AS A"_s);
    runs("several closing semicolons", u"SELECT 1;;\n;"_s, any, u"SELECT 1"_s);
    runs("comments and parentheses first", u"/* a */ -- b\n((SELECT 1) UNION (SELECT 2))"_s, any,
         u"/* a */ -- b\n((SELECT 1) UNION (SELECT 2))"_s);
    runs("VALUES", u"VALUES (1), (2)"_s, any, u"VALUES (1), (2)"_s);
    runs("WITH", u"WITH a (x) AS (SELECT 1) SELECT x FROM a"_s, any,
         u"WITH a (x) AS (SELECT 1) SELECT x FROM a"_s);
    runs("entries bound, those in comments kept",
         u"SELECT a FROM t -- {OLD}\nWHERE b = {B} AND c = {C} /* {D} */"_s, any,
         u"SELECT a FROM t -- {OLD}\nWHERE b = ? AND c = ?"_s, {u"B"_s, u"C"_s});
    runs("entries after leading white space", u"\n  SELECT {A} -- {B}\n"_s, any, u"SELECT ?"_s,
         {u"A"_s});
    runs("an entry repeated", u"SELECT {X}, {x}"_s, standard, u"SELECT ?, ?"_s, {u"X"_s, u"x"_s});
    runs("a semicolon in a string", u"SELECT ';' FROM t"_s, any, u"SELECT ';' FROM t"_s);
    runs("words as quoted or qualified names", u"SELECT \"update\", t.delete FROM t"_s, any,
         u"SELECT \"update\", t.delete FROM t"_s);
    runs("system names with $", u"SELECT RDB$FIELD_NAME FROM RDB$FIELDS"_s, any,
         u"SELECT RDB$FIELD_NAME FROM RDB$FIELDS"_s);
    runs("GEN_ID that reads", u"SELECT GEN_ID(G, 0) FROM RDB$DATABASE"_s, standard,
         u"SELECT GEN_ID(G, 0) FROM RDB$DATABASE"_s);
    runs("a dollar string", u"SELECT $q$it's; {X}$q$"_s, postgres, u"SELECT $q$it's; {X}$q$"_s);
    runs("a name in brackets", u"SELECT [a;b] FROM t"_s, standard, u"SELECT [a;b] FROM t"_s);

    refused("several statements", u"SELECT 1; SELECT 2"_s, any, u"several statements"_s);
    refused("transaction control around a query",
            u"COMMIT; INSERT INTO t VALUES (1); COMMIT; SELECT 1 AS A"_s, any,
            u"several statements"_s);
    refused("no statement", u"-- nothing\n;"_s, any, u"it holds no statement"_s);
    for (const char *start : {"INSERT INTO t VALUES (1)",
                              "UPDATE t SET a = 1",
                              "COMMIT",
                              "ROLLBACK",
                              "SAVEPOINT s",
                              "SET TRANSACTION READ WRITE",
                              "SET default_transaction_read_only = off",
                              "BEGIN",
                              "END",
                              "PREPARE TRANSACTION 'x'",
                              "EXECUTE BLOCK AS BEGIN END",
                              "EXECUTE PROCEDURE P",
                              "DO $$BEGIN END$$",
                              "COPY t TO '/tmp/x'",
                              "VACUUM INTO '/tmp/x.db'",
                              "ATTACH 'x.db' AS x",
                              "PRAGMA journal_mode = WAL",
                              "CREATE TABLE x (a INT)",
                              "TABLE t",
                              "EXPLAIN ANALYZE DELETE FROM t"}) {
        const QString sql = QString::fromLatin1(start);
        refused(start, sql, any, u"not \"%1\""_s.arg(sql.section(u' ', 0, 0)));
    }
    refused("a CTE that deletes", u"WITH d AS (DELETE FROM t RETURNING *) SELECT * FROM d"_s, any,
            u"\"DELETE\" may not stand"_s);
    refused("WITH leading to an INSERT", u"WITH a AS (SELECT 1) INSERT INTO t SELECT * FROM a"_s,
            any, u"\"INSERT\" may not stand"_s);
    refused("WITH leading nowhere", u"WITH a AS (SELECT 1) TABLE a"_s, any,
            u"a WITH must lead to a SELECT or VALUES"_s);
    refused("SELECT INTO", u"SELECT * INTO copy FROM t"_s, any, u"\"INTO\" may not stand"_s);
    refused("FOR UPDATE", u"SELECT * FROM t FOR UPDATE"_s, any, u"\"UPDATE\" may not stand"_s);
    refused("load_extension", u"SELECT load_extension('/tmp/x.so')"_s, any,
            u"\"load_extension\" may not stand"_s);
    refused("NEXT VALUE FOR", u"SELECT NEXT VALUE FOR G FROM RDB$DATABASE"_s, standard,
            u"NEXT VALUE FOR would advance a sequence"_s);
    refused("GEN_ID that advances", u"SELECT GEN_ID(G, 1) FROM RDB$DATABASE"_s, standard,
            u"GEN_ID with a step other than 0"_s);
    refused("an open quote", u"SELECT 'abc"_s, any, u"the quote at position 7 is not closed"_s);
    refused("an open comment", u"SELECT 1 /* x"_s, any,
            u"the comment at position 9 is not closed"_s);
    refused("an ODBC escape that the entry scan passes over", u"SELECT \"a'b\", {fn x()}"_s, any,
            u"the brace at position 14 is no query entry"_s);
    // Statements hidden from one reading in what another takes for a string or comment.
    refused("E-string", u"SELECT E'\\''; DELETE FROM t; --'"_s, any, u"several statements"_s);
    refused("dollar string", u"SELECT $$'$$; DELETE FROM t; --'"_s, any, u"several statements"_s);
    refused("backslash escape", u"SELECT '\\''; DELETE FROM t; -- '"_s, any,
            u"several statements"_s);
    refused("nested comment", u"SELECT 1 /* /* */ ; DELETE FROM t; /* */"_s, postgres,
            u"comment at position 9 is not closed (as PostgreSQL reads it)"_s);
    refused("comment run as SQL", u"SELECT 1 /*! , 2 */"_s, any, u"starts with \"/*!\""_s);
    refused("comment read differently", u"SELECT a FROM t # x"_s,
            SqlReading::Standard | SqlReading::MySql, u"read differently by MySQL"_s);
    refused("entry scan fault", u"SELECT {A {B}"_s, any,
            u"Two open brackets in positions 7 and 10"_s);
}

void TestReportStatement::check()
{
    QFETCH(QString, sql);
    QFETCH(unsigned, readings);
    QFETCH(QString, sent);
    QFETCH(QStringList, entries);
    QFETCH(QString, problem);
    CReportStatement statement;
    QString message;
    const bool ok = CheckReportStatement(sql, readings, statement, message);
    if (problem.isEmpty()) {
        QVERIFY2(ok, qPrintable(message));
        QCOMPARE(statement.text, sent);
        QCOMPARE(statement.entries, entries);
    } else {
        QVERIFY2(!ok, qPrintable(statement.text));
        QVERIFY2(message.contains(problem), qPrintable(message));
    }
}

VANTEL_TEST_CLASS(TestReportStatement)
#include "tst_reportstatement.moc"
