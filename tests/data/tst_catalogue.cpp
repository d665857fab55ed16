#include "catalogue.h"
#include "musicdatabase.h"
#include "testregistry.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// Names written into queries so that each database reads them as they are, and the catalogue
// of a SQLite file: its tables, columns and keys, failures, the table limit and a cancel. The
// server routes read the same music tables in TestServerRoutes.
class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void quoting_data();
    void quoting();
    void sqliteFile();
    void failures_data();
    void failures();
    void limitAndCancel();

private:
    QString SqliteFile() const { return m_folder.filePath(u"music.db"_s); }

    QTemporaryDir m_folder;
};

void TestCatalogue::initTestCase()
{
    QString problem;
    QVERIFY2(MusicDatabase::CreateSqlite(SqliteFile(), problem), qPrintable(problem));
}

void TestCatalogue::quoting_data()
{
    QTest::addColumn<int>("folding");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("quoted");
    const int none = int(IdentifierFolding::None);
    const int lower = int(IdentifierFolding::Lower);
    const int upper = int(IdentifierFolding::Upper);
    QTest::newRow("SQLite keeps mixed case") << none << u"InvoiceLine"_s << u"InvoiceLine"_s;
    QTest::newRow("PostgreSQL would fold it") << lower << u"InvoiceLine"_s << u"\"InvoiceLine\""_s;
    QTest::newRow("PostgreSQL lower case") << lower << u"invoice_line"_s << u"invoice_line"_s;
    QTest::newRow("FireBird upper case") << upper << u"EMP_NO"_s << u"EMP_NO"_s;
    QTest::newRow("FireBird lower case") << upper << u"emp_no"_s << u"\"emp_no\""_s;
    QTest::newRow("reserved word") << none << u"Order"_s << u"\"Order\""_s;
    QTest::newRow("space and quote")
            << none << u"My \"Best\" Table"_s << u"\"My \"\"Best\"\" Table\""_s;
    QTest::newRow("leading digit") << none << u"2024"_s << u"\"2024\""_s;
    QTest::newRow("not ASCII") << none << u"Größe"_s << u"\"Größe\""_s;
}

void TestCatalogue::quoting()
{
    QFETCH(int, folding);
    QFETCH(QString, name);
    QFETCH(QString, quoted);
    CCatalogue catalogue;
    catalogue.folding = IdentifierFolding(folding);
    QCOMPARE(catalogue.Quote(name), quoted);
}

void TestCatalogue::sqliteFile()
{
    const QString problem = MusicDatabase::CatalogueProblem(0, SqliteFile());
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void TestCatalogue::failures_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("connect");
    QTest::addColumn<QString>("expected");
    QTest::newRow("missing SQLite file")
            << 0 << m_folder.filePath(u"none.db"_s) << u"does not exist"_s;
    QTest::newRow("not a database") << 0 << m_folder.path() << u"is not a file"_s;
    QTest::newRow("no database") << -1 << QString() << u"has no database"_s;
}

void TestCatalogue::failures()
{
    QFETCH(int, type);
    QFETCH(QString, connect);
    QFETCH(QString, expected);
    CCatalogue catalogue;
    QString message;
    QVERIFY(!ReadCatalogue(type, connect, {}, catalogue, message));
    QVERIFY2(message.contains(expected, Qt::CaseInsensitive), qPrintable(message));
    QVERIFY(catalogue.tables.isEmpty());
}

void TestCatalogue::limitAndCancel()
{
    CCatalogueOptions options;
    options.tableLimit = 3;
    CCatalogue catalogue;
    QString message;
    QVERIFY2(ReadCatalogue(0, SqliteFile(), options, catalogue, message), qPrintable(message));
    QCOMPARE(catalogue.tables.size(), 3);
    QVERIFY(catalogue.truncated);

    const std::atomic_bool cancel = true;
    options.cancel = &cancel;
    QVERIFY(!ReadCatalogue(0, SqliteFile(), options, catalogue, message));
    QCOMPARE(message, u"Cancelled"_s);
}

VANTEL_TEST_CLASS(TestCatalogue)
#include "tst_catalogue.moc"
