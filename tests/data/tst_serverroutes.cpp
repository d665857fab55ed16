#include "columndiscovery.h"
#include "connectioncheck.h"
#include "dataconnection.h"
#include "dataformat.h"
#include "musicdatabase.h"
#include "pagemodel.h"
#include "reportbuilder.h"
#include "reportrun.h"
#include "testregistry.h"
#include "testservers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

using namespace Qt::StringLiterals;

// The FireBird and ODBC routes against servers this test starts: the EMPLOYEE sample in
// FireBird (server and embedded engine), PostgreSQL through its ODBC driver and SQLite through
// its ODBC driver, with the SQLite route itself as a fifth.
class TestServerRoutes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void sameRowsOnEveryRoute_data();
    void sameRowsOnEveryRoute();
    void writesChangeNothing_data();
    void writesChangeNothing();
    void sessionRefusesWrites_data();
    void sessionRefusesWrites();
    void checkConnection_data();
    void checkConnection();
    void samePagesOnEveryRoute_data();
    void samePagesOnEveryRoute();
    void entriesAreBound_data();
    void entriesAreBound();
    void openFailures_data();
    void openFailures();
    void queryError_data();
    void queryError();
    void silentServerIsBounded_data();
    void silentServerIsBounded();
    void cancelStopsALongQuery_data();
    void cancelStopsALongQuery();
    void columnsOfAReport_data();
    void columnsOfAReport();
    void catalogue_data();
    void catalogue();
    void rowsComeAsFetched();
    void cancelledLayoutStopsItsQuery();
    // Kill the servers: these run last.
    void serverDiesDuringAReport_data();
    void serverDiesDuringAReport();

private:
    void AddRoutes();
    std::unique_ptr<CDataConnection> Open(int type, const QString &connect);

    // What a report must never change: the rows of EMPLOYEE and PROBE, the employee number
    // generator of FireBird, and the files of the scratch folder.
    QString Fingerprint(int type, const QString &connect);

    TestServers m_servers;
    bool m_started = false;
    QTemporaryDir m_scratch;
};

void TestServerRoutes::initTestCase()
{
    QString problem;
    bool missing = false;
    QElapsedTimer timer;
    timer.start();
    m_started = m_servers.Start(problem, missing);
    if (missing)
        QSKIP(qPrintable(problem));
    QVERIFY2(m_started, qPrintable(problem));
    // The music tables beside EMPLOYEE, for the catalogue.
    QVERIFY2(MusicDatabase::CreateOnServers(m_servers, problem)
                     && MusicDatabase::CreateSqlite(m_servers.SqliteFile(), problem),
             qPrintable(problem));
    // A file that a VACUUM INTO would overwrite.
    QFile empty(m_scratch.filePath(u"empty.db"_s));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    qInfo("servers started and EMPLOYEE loaded in %lld ms", timer.elapsed());
}

void TestServerRoutes::cleanupTestCase()
{
    m_servers.Stop();
}

void TestServerRoutes::AddRoutes()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("connect");
    const QString password = m_servers.Password();
    QTest::newRow("FireBird server") << 1 << m_servers.FireBirdServer(password);
    QTest::newRow("FireBird embedded") << 1 << m_servers.FireBirdEmbedded();
    QTest::newRow("PostgreSQL ODBC") << 2 << m_servers.PostgresOdbc(password);
    QTest::newRow("SQLite ODBC") << 2 << m_servers.SqliteOdbc();
    QTest::newRow("SQLite") << 0 << m_servers.SqliteFile();
}

std::unique_ptr<CDataConnection> TestServerRoutes::Open(int type, const QString &connect)
{
    QString message;
    auto connection = OpenDataConnection(type, connect, QString(), message);
    if (!connection)
        qWarning("%s", qPrintable(message));
    return connection;
}

// Every row of a query as one line, each value through the format of its column.
static QStringList Lines(CDataConnection &connection, const QString &sql,
                         const QStringList &formats, const EntryValueFunction &entry,
                         QString &message)
{
    QStringList lines;
    auto cursor = connection.Execute(sql, entry, message);
    if (!cursor)
        return lines;
    CDataRow row;
    while (cursor->Fetch(row, message)) {
        QStringList values;
        for (int i = 0; i < row.GetValues().size(); ++i) {
            CDataFormat format;
            QString problem;
            CDataFormat::Parse(formats.value(i), format, problem);
            values.append(format.Format(row.GetValues().at(i)));
        }
        lines.append(values.join(u'|'));
    }
    return lines;
}

void TestServerRoutes::sameRowsOnEveryRoute_data()
{
    AddRoutes();
}

void TestServerRoutes::sameRowsOnEveryRoute()
{
    // The data of the department report: departments, each with its employees by job (the
    // master's DEPT_NO bound into the detail query), and a total of its own.
    QFETCH(int, type);
    QFETCH(QString, connect);
    auto connection = Open(type, connect);
    QVERIFY(connection);
    QString message;
    const QStringList departments = Lines(
            *connection,
            u"SELECT DEPT_NO, DEPARTMENT, LOCATION FROM DEPARTMENT ORDER BY DEPT_NO; -- all"_s, {},
            {}, message);
    QVERIFY2(message.isEmpty(), qPrintable(message));
    QCOMPARE(departments.size(), 21);
    QStringList report;
    for (const QString &department : departments) {
        report.append(department);
        const QString deptNo = department.section(u'|', 0, 0);
        report += Lines(
                *connection,
                u"SELECT e.JOB_CODE, j.JOB_TITLE, e.EMP_NO, e.FULL_NAME, e.SALARY "
                u"FROM EMPLOYEE e JOIN JOB j ON j.JOB_CODE = e.JOB_CODE AND "
                u"j.JOB_GRADE = e.JOB_GRADE AND j.JOB_COUNTRY = e.JOB_COUNTRY "
                u"WHERE e.DEPT_NO = {dept_no} ORDER BY e.JOB_CODE, e.EMP_NO"_s,
                {u"%s"_s, u"%s"_s, u"%5d"_s, u"%s"_s, u"%.2f"_s},
                [&](const QString &name) {
                    return name.compare(u"DEPT_NO"_s, Qt::CaseInsensitive) == 0 ? deptNo
                                                                                : QString();
                },
                message);
        QVERIFY2(message.isEmpty(), qPrintable(message));
    }
    report += Lines(*connection,
                    u"SELECT COUNT(*) AS HEADS, SUM(SALARY) AS PAYROLL FROM EMPLOYEE"_s,
                    {u"%d"_s, u"%.2f"_s}, {}, message);
    QVERIFY2(message.isEmpty(), qPrintable(message));
    QCOMPARE(report.size(), 21 + 42 + 1);
    // Every route must give what the FireBird server gives.
    static QStringList reference;
    if (reference.isEmpty())
        reference = report;
    QCOMPARE(report, reference);
}

QString TestServerRoutes::Fingerprint(int type, const QString &connect)
{
    auto connection = Open(type, connect);
    if (!connection)
        return u"no connection"_s;
    QString message;
    QStringList print
            = Lines(*connection,
                    u"SELECT (SELECT COUNT(*) FROM EMPLOYEE), (SELECT COUNT(*) FROM PROBE) "
                    u"FROM DEPARTMENT WHERE DEPT_NO = '000'"_s,
                    {u"%d"_s, u"%d"_s}, {}, message);
    if (type == 1)
        print += Lines(*connection, u"SELECT GEN_ID(EMP_NO_GEN, 0) FROM RDB$DATABASE"_s, {}, {},
                       message);
    for (const QFileInfo &file :
         QDir(m_scratch.path()).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot))
        print += u"%1:%2"_s.arg(file.fileName()).arg(file.size());
    return print.join(u' ') + message;
}

void TestServerRoutes::writesChangeNothing_data()
{
    // The bands of a report, run in order on one connection; the last message must say why.
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("connect");
    QTest::addColumn<QStringList>("bands");
    QTest::addColumn<QString>("because");
    const QString password = m_servers.Password();
    const QString insert = u"INSERT INTO PROBE VALUES (1)"_s;
    const QString file = m_scratch.filePath(u"copy.db"_s);
    const struct
    {
        const char *name;
        QStringList bands;
        const char *because;
    } common[] = {
            {"INSERT, then COMMIT", {insert, u"COMMIT"_s}, "not \"COMMIT\""},
            {"COMMIT and INSERT before a query",
             {u"COMMIT; INSERT INTO PROBE VALUES (1); COMMIT; SELECT 1 AS A FROM DEPARTMENT"_s},
             "several statements"},
            {"DDL and DML",
             {u"CREATE TABLE P2 (A INTEGER)"_s, u"DELETE FROM EMPLOYEE"_s},
             "DELETE"},
    };
    const struct
    {
        const char *route;
        int type;
        QString connect;
    } routes[] = {
            {"FireBird server", 1, m_servers.FireBirdServer(password)},
            {"FireBird embedded", 1, m_servers.FireBirdEmbedded()},
            {"PostgreSQL ODBC", 2, m_servers.PostgresOdbc(password)},
            {"SQLite ODBC", 2, m_servers.SqliteOdbc()},
            {"SQLite", 0, m_servers.SqliteFile()},
    };
    for (const auto &route : routes) {
        auto add = [&](const char *name, const QStringList &bands, const char *because) {
            QTest::addRow("%s: %s", route.route, name)
                    << route.type << route.connect << bands << QString::fromUtf8(because);
        };
        for (const auto &attack : common)
            add(attack.name, attack.bands, attack.because);
        if (route.type == 1) {
            add("a block in its own transaction",
                {u"EXECUTE BLOCK AS BEGIN IN AUTONOMOUS TRANSACTION DO "_s + insert + u"; END"_s},
                "several statements");
            add("a procedure that writes in its own transaction", {u"SELECT A FROM WRITE_PROBE"_s},
                "read-only transaction");
            add("generators",
                {u"SELECT GEN_ID(EMP_NO_GEN, 1) FROM RDB$DATABASE"_s,
                 u"SELECT NEXT VALUE FOR EMP_NO_GEN FROM RDB$DATABASE"_s},
                "would advance a sequence");
            add("INSERT RETURNING", {insert + u" RETURNING A"_s}, "INSERT");
            add("a SELECT that locks", {u"SELECT EMP_NO FROM EMPLOYEE WITH LOCK"_s},
                "read-only transaction");
        } else if (route.connect.contains(u"PostgreSQL"_s)) {
            add("four bands",
                {u"ROLLBACK"_s, u"SET default_transaction_read_only = off"_s, insert, u"COMMIT"_s},
                "not \"COMMIT\"");
            add("a function that writes", {u"SELECT WRITE_PROBE()"_s}, "read-only transaction");
            add("the session's default turned off, then a failure",
                {u"SELECT set_config('default_transaction_read_only', 'off', false)"_s,
                 u"SELECT NO_SUCH_COLUMN FROM PROBE"_s, u"SELECT WRITE_PROBE()"_s},
                "read-only transaction");
            add("the transaction turned read-write",
                {u"SELECT set_config('transaction_read_only', 'off', true)"_s,
                 u"SELECT WRITE_PROBE()"_s},
                "read-only transaction");
            add("a CTE that inserts",
                {u"WITH d AS (INSERT INTO PROBE VALUES (1) RETURNING A) SELECT A FROM d"_s},
                "INSERT");
        } else {
            add("VACUUM INTO a file", {u"VACUUM INTO '%1'"_s.arg(file)}, "not \"VACUUM\"");
            add("VACUUM INTO a URI", {u"VACUUM INTO 'file:%1?mode=rwc'"_s.arg(file)},
                "not \"VACUUM\"");
            add("ATTACH", {u"ATTACH '%1' AS x"_s.arg(file)}, "not \"ATTACH\"");
            add("VACUUM INTO an empty file",
                {u"VACUUM INTO '%1'"_s.arg(m_scratch.filePath(u"empty.db"_s))}, "not \"VACUUM\"");
        }
    }
}

void TestServerRoutes::writesChangeNothing()
{
    QFETCH(int, type);
    QFETCH(QString, connect);
    QFETCH(QStringList, bands);
    QFETCH(QString, because);
    const QString before = Fingerprint(type, connect);
    QVERIFY2(before.startsWith(u"42|0"_s), qPrintable(before));
    QString message;
    {
        auto connection = Open(type, connect);
        QVERIFY(connection);
        for (const QString &sql : std::as_const(bands))
            Lines(*connection, sql, {}, {}, message);
    }
    QVERIFY2(message.contains(because), qPrintable(message));
    QCOMPARE(Fingerprint(type, connect), before);
}

void TestServerRoutes::sessionRefusesWrites_data()
{
    // Statements handed to the session's own connection, past the statement check: the
    // session itself must refuse them.
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("connect");
    QTest::addColumn<QStringList>("statements");
    const QString insert = u"INSERT INTO PROBE VALUES (1)"_s;
    const QString file = m_scratch.filePath(u"raw.db"_s);
    QTest::newRow("PostgreSQL ODBC") << 2 << m_servers.PostgresOdbc(m_servers.Password())
                                     << QStringList {insert, u"SELECT WRITE_PROBE()"_s};
    QTest::newRow("SQLite ODBC") << 2 << m_servers.SqliteOdbc()
                                 << QStringList {insert, u"DELETE FROM EMPLOYEE"_s};
    QTest::newRow("SQLite") << 0 << m_servers.SqliteFile()
                            << QStringList {insert,
                                            u"VACUUM INTO '%1'"_s.arg(file),
                                            u"VACUUM INTO 'file:%1?mode=rwc'"_s.arg(file),
                                            u"ATTACH '%1' AS x"_s.arg(file),
                                            u"PRAGMA query_only = 0"_s,
                                            u"BEGIN"_s,
                                            u"SELECT load_extension('x')"_s};
}

void TestServerRoutes::sessionRefusesWrites()
{
    QFETCH(int, type);
    QFETCH(QString, connect);
    QFETCH(QStringList, statements);
    const QString before = Fingerprint(type, connect);
    {
        auto connection = Open(type, connect);
        QVERIFY(connection);
        const QStringList names = QSqlDatabase::connectionNames();
        QCOMPARE(names.size(), 1);
        QSqlDatabase db = QSqlDatabase::database(names.first(), false);
        for (const QString &sql : std::as_const(statements)) {
            QSqlQuery query(db);
            QVERIFY2(!query.exec(sql), qPrintable(sql));
        }
    }
    QCOMPARE(Fingerprint(type, connect), before);
    // The SQL the session runs for itself says so too.
    auto connection = Open(type, connect);
    QString message;
    if (connect.contains(u"PostgreSQL"_s))
        QCOMPARE(Lines(*connection, u"SELECT current_setting('transaction_read_only')"_s, {}, {},
                       message),
                 QStringList {u"on"_s});
}

void TestServerRoutes::checkConnection_data()
{
    AddRoutes();
}

void TestServerRoutes::checkConnection()
{
    QFETCH(int, type);
    QFETCH(QString, connect);
    QString message;
    QVERIFY2(CheckDataConnection(type, connect, QString(), message), qPrintable(message));
    QCOMPARE(message, u"Connected"_s);
}

void TestServerRoutes::samePagesOnEveryRoute_data()
{
    AddRoutes();
}

// Every primitive of every page: kind, box and text.
static QStringList Dump(const CPageModel &model)
{
    QStringList lines;
    for (int i = 0; i < model.GetPageCount(); ++i) {
        lines.append(u"page %1"_s.arg(i + 1));
        for (const CPageItem &item : model.GetPage(i)->GetItems()) {
            const CPageRect *box = nullptr;
            QString what;
            if (const auto *text = std::get_if<CPageText>(&item)) {
                box = &text->box;
                what = u"text "_s + text->text;
            } else if (const auto *shape = std::get_if<CPageShape>(&item)) {
                box = &shape->box;
                what = u"shape %1"_s.arg(int(shape->kind));
            } else {
                what = u"other"_s;
            }
            if (box)
                what += u" @%1,%2,%3,%4"_s.arg(box->left)
                                .arg(box->top)
                                .arg(box->right)
                                .arg(box->bottom);
            lines.append(what);
        }
    }
    return lines;
}

void TestServerRoutes::samePagesOnEveryRoute()
{
    // The department list: each department with its staff as master/detail, the staff grouped
    // by job (a group header without a query of its own and a group footer), and a report
    // footer with a total from its own query.
    QFETCH(int, type);
    QFETCH(QString, connect);
    using namespace ReportBuilder;
    CVornReport report;
    report.SetDatabaseType(type);
    report.SetConnectString(connect);
    Text(Band(report, VornKind::ReportHeader, u"Title"_s), u"Departments"_s);
    CVornBand *dept
            = Band(report, VornKind::ReportContents, u"Dept"_s,
                   u"SELECT DEPT_NO, DEPARTMENT, LOCATION FROM DEPARTMENT ORDER BY DEPT_NO"_s);
    Field(dept, u"Dept"_s, u"dept_no"_s);
    Field(dept, u"Dept"_s, u"Department"_s);
    Field(dept, u"Dept"_s, u"LOCATION"_s, u"in %s"_s);
    CVornBand *job = Band(report, VornKind::ReportContents, u"Job"_s);
    job->SetFooter(u"JobEnd"_s);
    Field(job, u"Staff"_s, u"JOB_CODE"_s);
    Field(job, u"Staff"_s, u"JOB_TITLE"_s);
    Field(Band(report, VornKind::ReportContents, u"JobEnd"_s), u"Staff"_s, u"FULL_NAME"_s,
          u"last: %s"_s);
    CVornBand *staff = Band(report, VornKind::ReportContents, u"Staff"_s,
                            u"SELECT e.JOB_CODE, j.JOB_TITLE, e.EMP_NO, e.FULL_NAME, e.SALARY "
                            u"FROM EMPLOYEE e JOIN JOB j ON j.JOB_CODE = e.JOB_CODE AND "
                            u"j.JOB_GRADE = e.JOB_GRADE AND j.JOB_COUNTRY = e.JOB_COUNTRY "
                            u"WHERE e.DEPT_NO = {DEPT_NO} ORDER BY e.JOB_CODE, e.EMP_NO"_s,
                            u"Dept"_s);
    staff->SetHeader(u"Job"_s);
    Field(staff, u"Staff"_s, u"EMP_NO"_s, u"%05d"_s);
    Field(staff, u"Staff"_s, u"FULL_NAME"_s);
    Field(staff, u"Staff"_s, u"SALARY"_s, u"%12.2f"_s);
    CVornBand *total = Band(report, VornKind::ReportFooter, u"Total"_s,
                            u"SELECT COUNT(*) AS HEADS, SUM(SALARY) AS PAYROLL FROM EMPLOYEE"_s);
    Field(total, u"Total"_s, u"HEADS"_s, u"%d staff"_s);
    Field(total, u"Total"_s, u"PAYROLL"_s, u"%.2f"_s);
    CVornBand *footer = Band(report, VornKind::PageFooter, u"Foot"_s);
    Field(footer, QString(), u"#PAGE"_s, u"Page %d"_s);
    report.SetHeight(29700);

    CRunOptions options;
    CPageModel model;
    QString message;
    QVERIFY2(RunReport(report, options, model, message), qPrintable(message));
    const QStringList pages = Dump(model);
    QVERIFY(model.GetPageCount() >= 3);
    QVERIFY(pages.join(u'\n').contains(u"text 42 staff"_s));
    static QStringList reference;
    if (reference.isEmpty())
        reference = pages;
    QCOMPARE(pages, reference);
}

void TestServerRoutes::catalogue_data()
{
    AddRoutes();
}

void TestServerRoutes::catalogue()
{
    // The tables, columns and keys as each route's own catalogue gives them.
    QFETCH(int, type);
    QFETCH(QString, connect);
    const QString problem = MusicDatabase::CatalogueProblem(type, connect);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void TestServerRoutes::entriesAreBound_data()
{
    AddRoutes();
}

void TestServerRoutes::entriesAreBound()
{
    QFETCH(int, type);
    QFETCH(QString, connect);
    auto connection = Open(type, connect);
    QVERIFY(connection);
    const QString sql = u"SELECT COUNT(*) FROM EMPLOYEE WHERE LAST_NAME = {NAME}"_s;
    QStringList counts;
    for (const QString &name : {u"Nelson"_s, u"x' OR '1'='1"_s, u"O'Brien"_s}) {
        QString message;
        counts += Lines(
                *connection, sql, {u"%d"_s}, [&](const QString &) { return name; }, message);
        QVERIFY2(message.isEmpty(), qPrintable(message));
    }
    QCOMPARE(counts, (QStringList {u"1"_s, u"0"_s, u"1"_s}));
}

void TestServerRoutes::openFailures_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("connect");
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("because");
    const QString wrong = u"Wr0ng:p@ss"_s;
    const QString good = m_servers.Password();
    const QString fbServer = u"127.0.0.1/%1:"_s.arg(m_servers.FireBirdPort());
    QTest::newRow("FireBird, wrong password")
            << 1 << m_servers.FireBirdServer(wrong) << fbServer + u"employee"_s
            << u"user name and password are not defined"_s;
    QTest::newRow("FireBird, unknown host")
            << 1 << u"SYSDBA:%1@nohost.invalid:employee"_s.arg(good) << u"nohost.invalid:employee"_s
            << u"Failed to locate host machine"_s;
    QTest::newRow("FireBird, unknown database") << 1 << u"SYSDBA:%1@%2nothere"_s.arg(good, fbServer)
                                                << fbServer + u"nothere"_s << u"nothere"_s;
    QTest::newRow("FireBird embedded, missing file")
            << 1 << u"SYSDBA:%1@/nonexistent/x.fdb"_s.arg(good) << u"/nonexistent/x.fdb"_s
            << u"No such file or directory"_s;
    const QString pgWrong = m_servers.PostgresOdbc(wrong);
    QTest::newRow("PostgreSQL, wrong password")
            << 2 << pgWrong << QString(pgWrong).replace(u"{"_s + wrong + u"}"_s, u"***"_s)
            << u"password authentication failed for user \"vantel\""_s;
    QString pgHost = m_servers.PostgresOdbc(good);
    pgHost.replace(u"SERVER=127.0.0.1"_s, u"SERVER=nohost.invalid"_s);
    QTest::newRow("PostgreSQL, unknown host")
            << 2 << pgHost << QString(pgHost).replace(u"{"_s + good + u"}"_s, u"***"_s)
            << u"nohost.invalid"_s;
    const QString pgBase = m_servers.PostgresOdbc(good, u"nothere"_s);
    QTest::newRow("PostgreSQL, unknown database")
            << 2 << pgBase << QString(pgBase).replace(u"{"_s + good + u"}"_s, u"***"_s)
            << u"database \"nothere\" does not exist"_s;
    const QString missing = u"DRIVER={SQLite3};DATABASE=%1"_s.arg(m_scratch.filePath(u"new.db"_s));
    QTest::newRow("SQLite ODBC, missing file") << 2 << missing << missing << u"new.db"_s;
    QTest::newRow("ODBC, unknown driver") << 2 << u"DRIVER={No Such Driver};PWD=Wr0ng:p@ss"_s
                                          << u"DRIVER={No Such Driver};PWD=***"_s << u"not found"_s;
}

void TestServerRoutes::openFailures()
{
    QFETCH(int, type);
    QFETCH(QString, connect);
    QFETCH(QString, database);
    QFETCH(QString, because);
    QString message;
    QVERIFY(!OpenDataConnection(type, connect, QString(), message));
    QVERIFY2(message.startsWith(u"Cannot open the database "_s + database + u": "_s),
             qPrintable(message));
    QVERIFY2(message.contains(because, Qt::CaseInsensitive), qPrintable(message));
    QVERIFY(!message.contains(u"Wr0ng"_s));
    QVERIFY(!message.contains(m_servers.Password()));
    QVERIFY(!QFileInfo::exists(u"/nonexistent"_s));
    QCOMPARE(QDir(m_scratch.path()).entryList(QDir::Files), QStringList {u"empty.db"_s});
    // The designer's Test Connection says the same.
    QString checked;
    QVERIFY(!CheckDataConnection(type, connect, QString(), checked));
    QCOMPARE(checked, message);
}

void TestServerRoutes::queryError_data()
{
    AddRoutes();
}

void TestServerRoutes::queryError()
{
    QFETCH(int, type);
    QFETCH(QString, connect);
    auto connection = Open(type, connect);
    QVERIFY(connection);
    QString message;
    QVERIFY(!connection->Execute(u"SELECT NO_SUCH_COLUMN FROM EMPLOYEE"_s, {}, message));
    QVERIFY2(message.contains(u"NO_SUCH_COLUMN"_s, Qt::CaseInsensitive), qPrintable(message));
    // The connection still serves the next query.
    QVERIFY(connection->Execute(u"SELECT EMP_NO FROM EMPLOYEE"_s, {}, message));
}

void TestServerRoutes::silentServerIsBounded_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("connect");
    QTest::addColumn<QString>("database");
    QTest::newRow("FireBird") << 1 << u"SYSDBA:%1@127.0.0.1/%2:employee"_s
                              << u"127.0.0.1/%2:employee"_s;
    QTest::newRow("PostgreSQL ODBC")
            << 2
            << u"DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=%2;DATABASE=x;UID=u;PWD=%1"_s
            << u"DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=%2;DATABASE=x;UID=u;PWD=***"_s;
}

void TestServerRoutes::silentServerIsBounded()
{
    QFETCH(int, type);
    QFETCH(QString, connect);
    QFETCH(QString, database);
    {
        SilentServer silent;
        const QString password = m_servers.Password();
        QString message;
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!OpenDataConnection(type, connect.arg(password).arg(silent.Port()), QString(),
                                    message, 2000));
        // Well above the bound, so that only a hang fails here.
        QVERIFY(timer.elapsed() < 8000);
        QVERIFY2(message.startsWith(u"Cannot open the database "_s + database.arg(silent.Port())
                                    + u": "_s),
                 qPrintable(message));
        QVERIFY(!message.contains(password));
    }
    // With the listener gone the abandoned open fails and removes its connection.
    QTRY_VERIFY_WITH_TIMEOUT(QSqlDatabase::connectionNames().isEmpty(), 30000);
}

void TestServerRoutes::cancelStopsALongQuery_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("connect");
    QTest::addColumn<QString>("sql");
    const QString password = m_servers.Password();
    // Four copies of the system table: three finish within a second on a fast machine.
    const QString fireBird = u"SELECT COUNT(*) FROM RDB$FIELDS a, RDB$FIELDS b, RDB$FIELDS c, "
                             u"RDB$FIELDS d"_s;
    QTest::newRow("FireBird server") << 1 << m_servers.FireBirdServer(password) << fireBird;
    QTest::newRow("FireBird embedded") << 1 << m_servers.FireBirdEmbedded() << fireBird;
    QTest::newRow("PostgreSQL ODBC")
            << 2 << m_servers.PostgresOdbc(password) << u"SELECT pg_sleep(40)"_s;
    QTest::newRow("SQLite ODBC") << 2 << m_servers.SqliteOdbc()
                                 << u"WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 "
                                    u"FROM n WHERE x < 400000000) SELECT count(*) FROM n"_s;
}

void TestServerRoutes::cancelStopsALongQuery()
{
    QFETCH(int, type);
    QFETCH(QString, connect);
    QFETCH(QString, sql);
    auto connection = Open(type, connect);
    QVERIFY(connection);
    std::thread canceller([&connection] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        connection->Cancel();
    });
    QString message;
    QElapsedTimer timer;
    timer.start();
    QStringList rows = Lines(*connection, sql, {}, {}, message);
    canceller.join();
    QCOMPARE(rows, QStringList());
    QCOMPARE(message, u"Cancelled"_s);
    // Each query runs for half a minute or more when nothing stops it.
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
}

void TestServerRoutes::columnsOfAReport_data()
{
    // The long queries of the cancel test stand for a query that does not answer.
    cancelStopsALongQuery_data();
    QTest::newRow("SQLite") << 0 << m_servers.SqliteFile()
                            << u"WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) "
                               u"SELECT max(x) FROM n"_s;
}

void TestServerRoutes::columnsOfAReport()
{
    // What the Data pane and --check learn of a report on each route: the columns of a master,
    // of its detail (whose entry takes the master's first row), the driver's message for a
    // query that fails, and a query that does not answer in time, after which the next band
    // gets a connection of its own.
    QFETCH(int, type);
    QFETCH(QString, connect);
    QFETCH(QString, sql);
    CVornReport report;
    report.SetDatabaseType(type);
    report.SetConnectString(connect);
    const auto band = [&report](const QString &name, const QString &query) {
        auto *added = new CVornBand(VornKind::ReportContents, name);
        added->SetDatabaseQuery(query);
        report.GetBands().Add(added);
        return added;
    };
    band(u"Departments"_s, u"SELECT DEPT_NO, DEPARTMENT FROM DEPARTMENT ORDER BY DEPT_NO"_s);
    band(u"Staff"_s, u"SELECT EMP_NO, FULL_NAME FROM EMPLOYEE WHERE DEPT_NO = {DEPT_NO}"_s)
            ->SetParentDataSource(u"Departments"_s);
    band(u"Broken"_s, u"SELECT NO_SUCH_COLUMN FROM EMPLOYEE"_s);
    band(u"Slow"_s, sql);
    band(u"After"_s, u"SELECT COUNT(*) AS HEADS FROM EMPLOYEE"_s);

    CDiscoveryOptions options;
    options.timeoutMs = 1500;
    QElapsedTimer timer;
    timer.start();
    const CReportColumns columns = DiscoverColumns(report, options);
    const auto names = [&columns](const QString &name) {
        const CQueryOutcome *outcome = columns.Band(name);
        return outcome ? outcome->ColumnNames().join(u',').toUpper() : u"not run"_s;
    };
    QCOMPARE(columns.GetConnectionError(), QString());
    QCOMPARE(names(u"Departments"_s), u"DEPT_NO,DEPARTMENT"_s);
    QCOMPARE(names(u"Staff"_s), u"EMP_NO,FULL_NAME"_s);
    QCOMPARE(names(u"After"_s), u"HEADS"_s);
    const CQueryOutcome *broken = columns.Band(u"Broken"_s);
    QVERIFY(broken && broken->state == CQueryOutcome::State::Failed);
    QVERIFY2(broken->message.contains(u"NO_SUCH_COLUMN"_s, Qt::CaseInsensitive),
             qPrintable(broken->message));
    QVERIFY(!broken->message.contains(m_servers.Password()));
    const CQueryOutcome *slow = columns.Band(u"Slow"_s);
    QVERIFY(slow && slow->state == CQueryOutcome::State::TimedOut);
    QVERIFY2(timer.elapsed() < 15000, qPrintable(QString::number(timer.elapsed())));
}

void TestServerRoutes::rowsComeAsFetched()
{
    // PostgreSQL's driver reads a whole result before the first row unless told otherwise: a
    // query whose 500th row fails would fail before its first, and an endless one would never
    // give its first row while memory filled up. Read as they are fetched, the first rows come.
    auto connection = Open(2, m_servers.PostgresOdbc(m_servers.Password()));
    QVERIFY(connection);
    QString message;
    auto cursor = connection->Execute(
            u"SELECT x, 1 / (x - 500) AS y FROM generate_series(1, 1000) AS x"_s, {}, message);
    QVERIFY2(cursor, qPrintable(message));
    CDataRow row;
    QVERIFY2(cursor->Fetch(row, message), qPrintable(message));
    QCOMPARE(row.Value(u"x"_s).toInt(), 1);
    int rows = 1;
    while (cursor->Fetch(row, message))
        ++rows;
    QVERIFY2(message.contains(u"division by zero"_s), qPrintable(message));
    QVERIFY(rows < 500);
    cursor.reset();
    // The session goes on, still read-only.
    QCOMPARE(Lines(*connection, u"SELECT current_setting('transaction_read_only')"_s, {}, {},
                   message),
             QStringList {u"on"_s});
    // The Data pane and --check fetch one row of a query that has no end.
    CVornReport report;
    report.SetDatabaseType(2);
    report.SetConnectString(m_servers.PostgresOdbc(m_servers.Password()));
    auto *band = new CVornBand(VornKind::ReportContents, u"Endless"_s);
    band->SetDatabaseQuery(
            u"WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT x AS A FROM c"_s);
    report.GetBands().Add(band);
    CDiscoveryOptions options;
    options.timeoutMs = 5000;
    const CReportColumns columns = DiscoverColumns(report, options);
    const CQueryOutcome *outcome = columns.Band(u"Endless"_s);
    QVERIFY(outcome);
    QCOMPARE(outcome->ColumnNames(), QStringList {u"a"_s});
}

void TestServerRoutes::cancelledLayoutStopsItsQuery()
{
    // The live preview cancels a layout that is superseded, stopped or over its time: the
    // server's query stops with it, not after ten minutes.
    CVornReport report;
    report.SetDatabaseType(2);
    report.SetConnectString(m_servers.PostgresOdbc(m_servers.Password()));
    auto *band = new CVornBand(VornKind::ReportContents, u"Sleep"_s);
    band->SetDatabaseQuery(u"SELECT pg_sleep(600) AS A"_s);
    report.GetBands().Add(band);
    std::atomic_bool cancel = false;
    CRunOptions options;
    options.cancel = &cancel;
    std::thread canceller([&cancel] {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        cancel = true;
    });
    QElapsedTimer timer;
    timer.start();
    CPageModel model;
    QString message;
    QVERIFY(!RunReport(report, options, model, message));
    canceller.join();
    QCOMPARE(message, u"Cancelled"_s);
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
    // The server runs no query of ours any more.
    QString left;
    auto connection = Open(2, m_servers.PostgresOdbc(m_servers.Password()));
    QTRY_COMPARE_WITH_TIMEOUT(Lines(*connection,
                                    u"SELECT count(*) FROM pg_stat_activity "
                                    u"WHERE position('pg_sleep(600) AS ' || 'A' IN query) > 0"_s,
                                    {u"%d"_s}, {}, left),
                              QStringList {u"0"_s}, 5000);
}

void TestServerRoutes::serverDiesDuringAReport_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("connect");
    QTest::addColumn<QString>("sql");
    const QString password = m_servers.Password();
    QTest::newRow("FireBird server")
            << 1 << m_servers.FireBirdServer(password)
            << u"SELECT a.RDB$FIELD_NAME FROM RDB$FIELDS a, RDB$FIELDS b"_s;
    QTest::newRow("PostgreSQL ODBC") << 2 << m_servers.PostgresOdbc(password)
                                     << u"SELECT x FROM generate_series(1, 200000) AS x"_s;
}

void TestServerRoutes::serverDiesDuringAReport()
{
    QFETCH(int, type);
    QFETCH(QString, connect);
    QFETCH(QString, sql);
    auto connection = Open(type, connect);
    QVERIFY(connection);
    QString message;
    auto cursor = connection->Execute(sql, {}, message);
    QVERIFY2(cursor, qPrintable(message));
    CDataRow row;
    QVERIFY(cursor->Fetch(row, message));
    if (type == 1)
        m_servers.KillFireBird();
    else
        m_servers.KillPostgres();
    // A driver may still hand out rows it holds; the next read of the server fails.
    while (cursor->Fetch(row, message)) { }
    if (message.isEmpty())
        QVERIFY(!connection->Execute(u"SELECT 1 FROM EMPLOYEE"_s, {}, message));
    QVERIFY(!message.isEmpty());
    qInfo("%s", qPrintable(message));
}

VANTEL_TEST_CLASS(TestServerRoutes)
#include "tst_serverroutes.moc"
