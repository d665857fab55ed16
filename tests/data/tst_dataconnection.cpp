#include "dataconnection.h"
#include "testregistry.h"
#include "testutil.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

using namespace Qt::StringLiterals;

using Entries = QMap<QString, QString>;

// The SQLite route against a database the test builds: binding, the cursor, names, failures.
class TestDataConnection : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void binding_data();
    void binding();
    void cursorLooksOneRowAhead();
    void fieldNamesIgnoreLetterCase();
    void statementRunAgain();
    void openFailures_data();
    void openFailures();
    void queryErrors_data();
    void queryErrors();
    void cancelFromAnotherThread();
    void cursorOutlivesConnection();
    void walDatabaseKeepsItsFolder_data();
    void walDatabaseKeepsItsFolder();

private:
    std::unique_ptr<CDataConnection> Open();
    // The first column of every row, or the message in place of the rows.
    QStringList Column(CDataConnection &connection, const QString &sql, const Entries &entries);

    QTemporaryDir m_folder;
};

void TestDataConnection::initTestCase()
{
    QVERIFY(m_folder.isValid());
    QVERIFY(QDir(m_folder.path()).mkpath(u"sub"_s));
    {
        auto db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"build"_s);
        db.setDatabaseName(m_folder.filePath(u"sub/people.db"_s));
        QVERIFY(db.open());
        QSqlQuery q(db);
        for (const QString &sql :
             {u"CREATE TABLE people (id INTEGER PRIMARY KEY, Name TEXT, city TEXT)"_s,
              u"INSERT INTO people VALUES (1, 'Ann', 'Oslo'), (2, 'Bob', 'Rome'), "
              u"(3, 'O''Brien', 'Rome'), (4, '', NULL)"_s})
            QVERIFY2(q.exec(sql), qPrintable(sql));
    }
    QSqlDatabase::removeDatabase(u"build"_s);
    QVERIFY(TestUtil::WriteAll(m_folder.filePath(u"text.db"_s),
                               "not a database at all, "
                               "just some text in a file"));
}

void TestDataConnection::init()
{
    // A connection left behind or removed while in use is a fault here.
    QTest::failOnWarning(QRegularExpression(u"QSqlDatabase"_s));
}

std::unique_ptr<CDataConnection> TestDataConnection::Open()
{
    QString message;
    auto connection = OpenDataConnection(0, u"sub/people.db"_s, m_folder.path(), message);
    if (!connection)
        qWarning("%s", qPrintable(message));
    return connection;
}

QStringList TestDataConnection::Column(CDataConnection &connection, const QString &sql,
                                       const Entries &entries)
{
    QString message;
    auto cursor = connection.Execute(
            sql, [&](const QString &name) { return entries.value(name); }, message);
    if (!cursor)
        return {u"error: "_s + message};
    QStringList values;
    CDataRow row;
    while (cursor->Fetch(row, message))
        values.append(row.GetValues().value(0).toString());
    if (!message.isEmpty())
        values.append(u"error: "_s + message);
    return values;
}

void TestDataConnection::binding_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<QStringList>("expected");
    const QString byName = u"SELECT id FROM people WHERE Name = {NAME} ORDER BY id"_s;
    QTest::newRow("entry bound") << u"SELECT Name FROM people WHERE id = {ID}"_s
                                 << Entries {{u"ID"_s, u"2"_s}} << QStringList {u"Bob"_s};
    QTest::newRow("a closing ; and entries in comments")
            << u"SELECT Name FROM people -- {OLD}\nWHERE id = {ID}; /* {ID} */"_s
            << Entries {{u"ID"_s, u"2"_s}} << QStringList {u"Bob"_s};
    QTest::newRow("injection matches nothing")
            << byName << Entries {{u"NAME"_s, u"x' OR '1'='1"_s}} << QStringList();
    QTest::newRow("a quote in the value is data")
            << byName << Entries {{u"NAME"_s, u"O'Brien"_s}} << QStringList {u"3"_s};
    QTest::newRow("no value binds the empty text, not NULL")
            << byName << Entries() << QStringList {u"4"_s};
    QTest::newRow("entries in quotes stay text")
            << u"SELECT '{ID}' || \"{ID}\" FROM people WHERE id = {ID}"_s
            << Entries {{u"ID"_s, u"1"_s}} << QStringList {u"{ID}{ID}"_s};
    QTest::newRow("entries in order, one repeated")
            << u"  SELECT id FROM people WHERE city = {CITY} AND id > {MIN} OR id = {MIN} ORDER BY id\n"_s
            << Entries {{u"CITY"_s, u"Rome"_s}, {u"MIN"_s, u"2"_s}} << QStringList {u"2"_s, u"3"_s};
    QTest::newRow("a brace fault is the scan's message")
            << u"SELECT {A {B}"_s << Entries()
            << QStringList {u"error: Two open brackets in positions 7 and 10"_s};
}

void TestDataConnection::binding()
{
    QFETCH(QString, sql);
    QFETCH(Entries, entries);
    QFETCH(QStringList, expected);
    auto connection = Open();
    QVERIFY(connection);
    QCOMPARE(Column(*connection, sql, entries), expected);
}

void TestDataConnection::cursorLooksOneRowAhead()
{
    auto connection = Open();
    QVERIFY(connection);
    QString message;
    auto cursor = connection->Execute(u"SELECT id FROM people WHERE id <= 2 ORDER BY id"_s, {},
                                      message);
    QVERIFY2(cursor, qPrintable(message));
    CDataRow row;
    QVERIFY(cursor->HasNext());
    QVERIFY(cursor->Fetch(row, message));
    QCOMPARE(row.Value(u"id"_s).toInt(), 1);
    QVERIFY(cursor->HasNext());
    QVERIFY(cursor->Fetch(row, message));
    QCOMPARE(row.Value(u"id"_s).toInt(), 2);
    QVERIFY(!cursor->HasNext());
    QVERIFY(!cursor->Fetch(row, message));
    QVERIFY(message.isEmpty());

    auto empty = connection->Execute(u"SELECT id FROM people WHERE id > 99"_s, {}, message);
    QVERIFY(empty);
    QVERIFY(!empty->HasNext());
    QCOMPARE(empty->GetColumns(), QStringList {u"id"_s});
}

void TestDataConnection::fieldNamesIgnoreLetterCase()
{
    auto connection = Open();
    QVERIFY(connection);
    QString message;
    auto cursor = connection->Execute(u"SELECT * FROM people WHERE id = 4"_s, {}, message);
    QVERIFY(cursor);
    CDataRow row;
    QVERIFY(cursor->Fetch(row, message));
    QCOMPARE(row.GetColumns(), (QStringList {u"id"_s, u"Name"_s, u"city"_s}));
    QCOMPARE(row.IndexOf(u"NAME"_s), 1);
    QCOMPARE(row.IndexOf(u"CiTy"_s), 2);
    QVERIFY(row.Value(u"CITY"_s).isNull());
    QCOMPARE(row.IndexOf(u"missing"_s), -1);
    QVERIFY(!row.Value(u"missing"_s).isValid());
}

// A connection keeps its statements for the next run of the same text: each run starts from
// the first row with its own values, however far the one before read, and after a failure.
void TestDataConnection::statementRunAgain()
{
    auto connection = Open();
    QVERIFY(connection);
    const QString sql = u"SELECT Name FROM people WHERE city = {CITY} ORDER BY id"_s;
    const Entries rome {{u"CITY"_s, u"Rome"_s}};
    const Entries oslo {{u"CITY"_s, u"Oslo"_s}};
    const QStringList inRome {u"Bob"_s, u"O'Brien"_s};
    QString message;
    CDataRow row;
    {
        auto left = connection->Execute(
                sql, [&](const QString &n) { return rome.value(n); }, message);
        QVERIFY(left && left->Fetch(row, message));
    }
    QCOMPARE(Column(*connection, sql, rome), inRome);
    QCOMPARE(Column(*connection, sql, oslo), QStringList {u"Ann"_s});
    QVERIFY(Column(*connection, u"SELECT nothing FROM nowhere"_s, {})
                    .value(0)
                    .startsWith(u"error"));
    QCOMPARE(Column(*connection, sql, rome), inRome);
    // Two cursors of one text at once each read their own rows.
    auto first = connection->Execute(
            sql, [&](const QString &n) { return rome.value(n); }, message);
    auto second = connection->Execute(
            sql, [&](const QString &n) { return oslo.value(n); }, message);
    QVERIFY(first && second);
    QVERIFY(second->Fetch(row, message));
    QCOMPARE(row.GetValues().value(0).toString(), u"Ann"_s);
    QVERIFY(first->Fetch(row, message));
    QCOMPARE(row.GetValues().value(0).toString(), u"Bob"_s);
}

void TestDataConnection::openFailures_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("connect");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing file") << 0 << u"nothere.db"_s << u"The database %1 does not exist"_s;
    QTest::newRow("folder") << 0 << u"sub"_s << u"The database %1 is not a file"_s;
    QTest::newRow("no path") << 0 << u"  "_s << u"The report names no SQLite database file"_s;
    QTest::newRow("not a database")
            << 0 << u"text.db"_s << u"Cannot open the database %1: file is not a database"_s;
    QTest::newRow("no database type")
            << -1 << u"sub/people.db"_s << u"The report has no database"_s;
    QTest::newRow("FireBird without @")
            << 1 << u"SYSDBA:secret"_s
            << u"The FireBird connection string \"SYSDBA:...\" is malformed: it must be "
               u"login:password@database"_s;
    QTest::newRow("ODBC driver given as a library")
            << 2 << u"DRIVER=/tmp/x.so;PWD=secret"_s
            << u"Cannot open the database DRIVER=/tmp/x.so;PWD=***: the setting DRIVER is "
               u"refused, as it could load code, run SQL or write files"_s;
}

void TestDataConnection::openFailures()
{
    QFETCH(int, type);
    QFETCH(QString, connect);
    QFETCH(QString, message);
    QString text;
    QVERIFY(!OpenDataConnection(type, connect, m_folder.path(), text));
    const QString path = QDir::cleanPath(m_folder.filePath(connect.trimmed()));
    QCOMPARE(text,
             message.contains(u"%1"_s) ? message.arg(QDir::toNativeSeparators(path)) : message);
    if (type == 0)
        QCOMPARE(QFileInfo::exists(path), connect != u"nothere.db"_s);
}

void TestDataConnection::queryErrors_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown table") << u"SELECT * FROM nothere"_s << u"no such table: nothere"_s;
    QTest::newRow("syntax") << u"SELECT * FROM people WHERE"_s << u"incomplete input"_s;
    QTest::newRow("not a query") << u"DELETE FROM people"_s
                                 << u"only a query that reads may run: it starts with SELECT, "
                                    u"WITH or VALUES, not \"DELETE\""_s;
    QTest::newRow("several statements")
            << u"SELECT 1; DELETE FROM people"_s
            << u"it holds several statements; a report's query is one statement"_s;
}

void TestDataConnection::queryErrors()
{
    QFETCH(QString, sql);
    QFETCH(QString, message);
    auto connection = Open();
    QVERIFY(connection);
    QCOMPARE(Column(*connection, sql, {}), QStringList {u"error: "_s + message});
    // The connection stays usable after a failed query.
    QCOMPARE(Column(*connection, u"SELECT count(*) FROM people"_s, {}), QStringList {u"4"_s});
}

void TestDataConnection::cancelFromAnotherThread()
{
    auto connection = Open();
    QVERIFY(connection);
    // Runs for minutes unless it is stopped.
    const QString endless = u"WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n "
                            u"WHERE x < 4000000000) SELECT count(*) FROM n"_s;
    std::thread canceller([&connection] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        connection->Cancel();
    });
    const QStringList result = Column(*connection, endless, {});
    canceller.join();
    QCOMPARE(result, QStringList {u"error: Cancelled"_s});
    QCOMPARE(Column(*connection, u"SELECT 1"_s, {}), QStringList {u"error: Cancelled"_s});
}

void TestDataConnection::cursorOutlivesConnection()
{
    auto connection = Open();
    QVERIFY(connection);
    QString message;
    auto cursor = connection->Execute(u"SELECT id FROM people ORDER BY id"_s, {}, message);
    QVERIFY(cursor);
    connection.reset();
    int rows = 0;
    CDataRow row;
    while (cursor->Fetch(row, message))
        ++rows;
    QCOMPARE(rows, 4);
    QVERIFY(message.isEmpty());
    cursor.reset();
    QVERIFY(QSqlDatabase::connectionNames().isEmpty());
}

void TestDataConnection::walDatabaseKeepsItsFolder_data()
{
    // Connections of ours to a database in WAL mode, opened in turn and closed in reverse
    // order, and what the folder holds after each is closed.
    QTest::addColumn<int>("connections");
    QTest::addColumn<bool>("otherProcess");
    QTest::newRow("one connection") << 1 << false;
    QTest::newRow("two at once, as the Data pane and the preview") << 2 << false;
    QTest::newRow("while another program has it open") << 1 << true;
}

void TestDataConnection::walDatabaseKeepsItsFolder()
{
    QFETCH(int, connections);
    QFETCH(bool, otherProcess);
    QTemporaryDir folder;
    const QString path = folder.filePath(u"wal.db"_s);
    {
        auto db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"wal"_s);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        for (const QString &sql : {u"PRAGMA journal_mode = WAL"_s, u"CREATE TABLE t (a)"_s,
                                   u"INSERT INTO t VALUES (1), (2)"_s})
            QVERIFY2(q.exec(sql), qPrintable(sql));
    }
    QSqlDatabase::removeDatabase(u"wal"_s);
    const auto files = [&folder] {
        return QDir(folder.path()).entryList(QDir::Files);
    };
    const QStringList alone {u"wal.db"_s};
    const QStringList withSideFiles {u"wal.db"_s, u"wal.db-shm"_s, u"wal.db-wal"_s};
    QCOMPARE(files(), alone);

    // A writer of its own that keeps the database open until its input ends.
    QProcess other;
    if (otherProcess) {
        other.start(u"/usr/bin/python3"_s,
                    {u"-c"_s,
                     u"import sqlite3, sys\nc = sqlite3.connect(sys.argv[1])\n"
                     u"c.execute('INSERT INTO t VALUES (3)'); c.commit()\n"
                     u"print('open', flush=True); sys.stdin.read()\n"
                     u"print(c.execute('SELECT count(*) FROM t').fetchone()[0])"_s,
                     path});
        QVERIFY(other.waitForReadyRead(10000));
        QCOMPARE(other.readLine().trimmed(), QByteArray("open"));
    }
    std::vector<std::unique_ptr<CDataConnection>> open;
    for (int i = 0; i < connections; ++i) {
        QString message;
        open.push_back(OpenDataConnection(0, path, QString(), message));
        QVERIFY2(open.back(), qPrintable(message));
        QCOMPARE(Column(*open.back(), u"SELECT count(*) FROM t"_s, {}),
                 QStringList {QString::number(otherProcess ? 3 : 2)});
    }
    QCOMPARE(files(), withSideFiles);
    while (!open.empty()) {
        open.pop_back();
        QCOMPARE(files(), open.empty() && !otherProcess ? alone : withSideFiles);
    }
    if (otherProcess) {
        // The other program's files were left alone: it goes on and tidies up itself.
        other.closeWriteChannel();
        QVERIFY(other.waitForFinished(10000));
        QCOMPARE(other.readAll().trimmed(), QByteArray("3"));
        QCOMPARE(files(), alone);
    }
}

VANTEL_TEST_CLASS(TestDataConnection)
#include "tst_dataconnection.moc"
