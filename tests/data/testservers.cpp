#include "testservers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>

#include <arpa/inet.h>
#include <grp.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString FireBirdLib = u"/usr/lib/x86_64-linux-gnu/firebird/3.0"_s;
const QString EmployeeScript = u"/usr/share/doc/firebird3.0-common-doc/examples/employee.sql.gz"_s;
const QString OdbcFolder = u"/usr/lib/x86_64-linux-gnu/odbc"_s;
constexpr uid_t Nobody = 65534;

bool WriteText(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0;
}

// Runs a tool to its end; false with its output when it fails.
bool RunTool(const QString &program, const QStringList &arguments, const QString &folder,
             QString &problem, const QString &input = {}, const QString &outputFile = {})
{
    QProcess process;
    process.setWorkingDirectory(folder);
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile);
    else
        process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!input.isEmpty())
        process.write(input.toUtf8());
    process.closeWriteChannel();
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        problem = program + u": "_s + QString::fromLocal8Bit(process.readAll());
        return false;
    }
    // isql reports a failed statement on its output and still exits with 0.
    const QString output = QString::fromLocal8Bit(process.readAll());
    if (output.contains(u"Statement failed"_s)) {
        problem = program + u": "_s + output;
        return false;
    }
    return true;
}

bool WaitForPort(int port, const QProcess &server, QString &problem)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 30000) {
        if (server.state() == QProcess::NotRunning) {
            problem = u"the server ended at start-up"_s;
            return false;
        }
        const int s = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_port = htons(quint16(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const bool up = ::connect(s, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
        close(s);
        if (up)
            return true;
        QThread::msleep(50);
    }
    problem = u"the server did not listen within 30 s"_s;
    return false;
}

void StopProcess(std::unique_ptr<QProcess> &process, int signal)
{
    if (!process)
        return;
    // The id is taken once: a finished QProcess reports 0, and kill(0) would hit our own
    // process group.
    const pid_t pid = pid_t(process->processId());
    if (pid > 0 && process->state() != QProcess::NotRunning) {
        kill(pid, signal);
        if (!process->waitForFinished(15000) && process->state() != QProcess::NotRunning) {
            kill(pid, SIGKILL);
            process->waitForFinished(5000);
        }
    }
    process.reset();
}

// The child dies with the test program, even when the program crashes.
void DieWithParent()
{
    prctl(PR_SET_PDEATHSIG, SIGKILL);
}

QString PostgresBin()
{
    const QStringList versions
            = QDir(u"/usr/lib/postgresql"_s)
                      .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::Reversed);
    for (const QString &version : versions) {
        const QString bin = u"/usr/lib/postgresql/"_s + version + u"/bin"_s;
        if (QFileInfo::exists(bin + u"/postgres"_s) && QFileInfo::exists(bin + u"/initdb"_s))
            return bin;
    }
    return {};
}

} // namespace

int FreeLoopbackPort()
{
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr *>(&address), sizeof address);
    socklen_t size = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr *>(&address), &size);
    close(s);
    return ntohs(address.sin_port);
}

SilentServer::SilentServer()
{
    m_socket = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(m_socket, reinterpret_cast<sockaddr *>(&address), sizeof address);
    listen(m_socket, 16);
    socklen_t size = sizeof address;
    getsockname(m_socket, reinterpret_cast<sockaddr *>(&address), &size);
    m_port = ntohs(address.sin_port);
}

SilentServer::~SilentServer()
{
    close(m_socket);
}

TestServers::~TestServers()
{
    Stop();
}

bool TestServers::Start(QString &problem, bool &missingPackage)
{
    missingPackage = true;
    const QString pgBin = PostgresBin();
    const struct
    {
        bool present;
        const char *what;
    } needs[] = {
            {QSqlDatabase::isDriverAvailable(u"QIBASE"_s), "libqt6sql6-ibase"},
            {QSqlDatabase::isDriverAvailable(u"QODBC"_s), "libqt6sql6-odbc"},
            {QFileInfo::exists(u"/usr/sbin/firebird"_s), "firebird3.0-server"},
            {QFileInfo::exists(u"/usr/bin/isql-fb"_s), "firebird3.0-utils"},
            {QFileInfo::exists(EmployeeScript), "firebird3.0-examples"},
            {!pgBin.isEmpty(), "postgresql"},
            {QFileInfo::exists(OdbcFolder + u"/psqlodbcw.so"_s), "odbc-postgresql"},
            {QFileInfo::exists(OdbcFolder + u"/libsqlite3odbc.so"_s), "libsqliteodbc"},
    };
    for (const auto &need : needs) {
        if (!need.present) {
            problem = u"skipped: %1 not installed"_s.arg(QLatin1StringView(need.what));
            return false;
        }
    }
    missingPackage = false;
    if (!m_folder.isValid()) {
        problem = u"no temporary folder"_s;
        return false;
    }
    // The PostgreSQL user must reach its folder inside ours.
    QFile::setPermissions(m_folder.path(),
                          QFile::permissions(m_folder.path()) | QFile::ExeGroup | QFile::ExeOther);
    QDir folder(m_folder.path());
    folder.mkpath(u"fbroot"_s);
    folder.mkpath(u"fblock"_s);
    folder.mkpath(u"odbc"_s);
    qputenv("FIREBIRD", Path(u"fbroot"_s).toLocal8Bit());
    qputenv("FIREBIRD_LOCK", Path(u"fblock"_s).toLocal8Bit());
    qputenv("ODBCSYSINI", Path(u"odbc"_s).toLocal8Bit());
    if (!WriteText(Path(u"odbc/odbcinst.ini"_s),
                   u"[PostgreSQL Unicode]\nDriver=%1/psqlodbcw.so\n\n"
                   u"[SQLite3]\nDriver=%1/libsqlite3odbc.so\n"_s.arg(OdbcFolder))
        || !WriteText(Path(u"odbc/odbc.ini"_s), QString())) {
        problem = u"cannot write odbcinst.ini"_s;
        return false;
    }
    return StartFireBird(problem) && StartPostgres(problem) && CopyEmployee(problem);
}

bool TestServers::StartFireBird(QString &problem)
{
    // A root folder of our own: the installed engine, plugins and messages, with our settings,
    // aliases and security database. SuperClassic lets the embedded engine of this program open
    // the database beside the server.
    for (const QString &name :
         {u"firebird.msg"_s, u"intl"_s, u"plugins"_s, u"lib"_s, u"plugins.conf"_s})
        QFile::link(FireBirdLib + u'/' + name, Path(u"fbroot/"_s + name));
    m_fireBirdPort = FreeLoopbackPort();
    if (!WriteText(Path(u"fbroot/firebird.conf"_s),
                   u"RemoteServicePort = %1\nRemoteBindAddress = 127.0.0.1\n"
                   u"ServerMode = SuperClassic\n"_s.arg(m_fireBirdPort))
        || !WriteText(Path(u"fbroot/databases.conf"_s),
                      u"security.db = %1\nemployee = %2\n"_s.arg(Path(u"security.fdb"_s),
                                                                 Path(u"employee.fdb"_s)))) {
        problem = u"cannot write the FireBird settings"_s;
        return false;
    }
    const QString isql = u"/usr/bin/isql-fb"_s;
    QString script;
    if (!RunTool(u"gzip"_s, {u"-dc"_s, EmployeeScript}, m_folder.path(), problem, {},
                 Path(u"employee.sql"_s))
        || !RunTool(isql, {u"-q"_s, u"-user"_s, u"SYSDBA"_s}, m_folder.path(), problem,
                    u"CREATE DATABASE '%1'; CREATE OR ALTER USER SYSDBA PASSWORD '%2' "
                    u"USING PLUGIN Srp; COMMIT;"_s.arg(Path(u"security.fdb"_s), Password())))
        return false;
    // The sample's script, its first lines (the CREATE DATABASE) replaced: the database is made
    // first and written without waiting for the disk, which makes the load ten times faster.
    QFile sql(Path(u"employee.sql"_s));
    if (!sql.open(QIODevice::ReadOnly)) {
        problem = u"cannot read employee.sql"_s;
        return false;
    }
    QStringList lines = QString::fromUtf8(sql.readAll()).split(u'\n');
    lines.removeIf([](const QString &line) {
        return line.trimmed().startsWith(u"create database"_s, Qt::CaseInsensitive);
    });
    if (!RunTool(isql, {u"-q"_s, u"-user"_s, u"SYSDBA"_s}, m_folder.path(), problem,
                 u"CREATE DATABASE '%1';"_s.arg(Path(u"employee.fdb"_s)))
        || !RunTool(u"/usr/bin/gfix"_s,
                    {u"-write"_s, u"async"_s, u"-user"_s, u"SYSDBA"_s, Path(u"employee.fdb"_s)},
                    m_folder.path(), problem)
        || !RunTool(isql, {u"-q"_s, u"-user"_s, u"SYSDBA"_s, Path(u"employee.fdb"_s)},
                    m_folder.path(), problem, lines.join(u'\n'))
        // A table that stays empty, and a procedure that writes to it on its own.
        || !RunTool(isql, {u"-q"_s, u"-user"_s, u"SYSDBA"_s, Path(u"employee.fdb"_s)},
                    m_folder.path(), problem,
                    u"CREATE TABLE PROBE (A INTEGER); COMMIT;\nSET TERM ^;\n"
                    u"CREATE PROCEDURE WRITE_PROBE RETURNS (A INTEGER) AS BEGIN "
                    u"IN AUTONOMOUS TRANSACTION DO INSERT INTO PROBE VALUES (1); A = 1; SUSPEND; "
                    u"END^\nSET TERM ;^\nCOMMIT;"_s))
        return false;

    m_fireBird = std::make_unique<QProcess>();
    m_fireBird->setChildProcessModifier(DieWithParent);
    m_fireBird->setStandardOutputFile(Path(u"firebird.log"_s));
    m_fireBird->setStandardErrorFile(Path(u"firebird.log"_s), QIODevice::Append);
    m_fireBird->start(u"/usr/sbin/firebird"_s, {});
    return WaitForPort(m_fireBirdPort, *m_fireBird, problem);
}

namespace {

bool RunningAsRoot()
{
    return geteuid() == 0;
}

// PostgreSQL refuses to run as root: the child takes the unprivileged user first.
void BecomeNobody()
{
    if (geteuid() == 0) {
        setgroups(0, nullptr);
        if (setgid(Nobody) != 0 || setuid(Nobody) != 0)
            _exit(126);
    }
    prctl(PR_SET_PDEATHSIG, SIGKILL);
}

bool ExecOn(QSqlDatabase &db, const QString &sql, QString &problem)
{
    QSqlQuery query(db);
    if (query.exec(sql))
        return true;
    problem = sql + u": "_s + query.lastError().text();
    return false;
}

} // namespace

bool TestServers::StartPostgres(QString &problem)
{
    const QString bin = PostgresBin();
    const QString pg = Path(u"pg"_s);
    QDir().mkpath(pg);
    if (!WriteText(pg + u"/password"_s, Password())) {
        problem = u"cannot write the password file"_s;
        return false;
    }
    if (RunningAsRoot()) {
        if (chown(QFile::encodeName(pg).constData(), Nobody, Nobody) != 0
            || chown(QFile::encodeName(pg + u"/password"_s).constData(), Nobody, Nobody) != 0) {
            problem = u"cannot hand the PostgreSQL folder to nobody"_s;
            return false;
        }
    }
    QProcess initdb;
    initdb.setChildProcessModifier(BecomeNobody);
    initdb.setProcessChannelMode(QProcess::MergedChannels);
    initdb.start(bin + u"/initdb"_s,
                 {u"-D"_s, pg + u"/data"_s, u"-U"_s, u"vantel"_s, u"--pwfile"_s,
                  pg + u"/password"_s, u"--auth=scram-sha-256"_s, u"--no-sync"_s,
                  u"--no-instructions"_s, u"-E"_s, u"UTF8"_s, u"--locale=C.UTF-8"_s});
    if (!initdb.waitForFinished(120000) || initdb.exitCode() != 0) {
        problem = u"initdb: "_s + QString::fromLocal8Bit(initdb.readAll());
        return false;
    }
    m_postgresPort = FreeLoopbackPort();
    m_postgres = std::make_unique<QProcess>();
    m_postgres->setChildProcessModifier(BecomeNobody);
    m_postgres->setStandardOutputFile(Path(u"postgres.log"_s));
    m_postgres->setStandardErrorFile(Path(u"postgres.log"_s), QIODevice::Append);
    m_postgres->start(bin + u"/postgres"_s,
                      {u"-D"_s, pg + u"/data"_s, u"-p"_s, QString::number(m_postgresPort), u"-k"_s,
                       pg, u"-F"_s, u"-c"_s, u"listen_addresses=127.0.0.1"_s, u"-c"_s,
                       u"shared_buffers=16MB"_s, u"-c"_s, u"max_connections=30"_s});
    if (!WaitForPort(m_postgresPort, *m_postgres, problem))
        return false;
    bool ok = false;
    {
        auto db = QSqlDatabase::addDatabase(u"QODBC"_s, u"fixture-postgres"_s);
        db.setDatabaseName(PostgresOdbc(Password(), u"postgres"_s));
        // The port may answer a moment before the server accepts logins.
        for (int attempt = 0; attempt < 100 && !db.open(); ++attempt)
            QThread::msleep(50);
        ok = db.isOpen() && ExecOn(db, u"CREATE DATABASE employee"_s, problem);
        if (!db.isOpen())
            problem = u"PostgreSQL: "_s + db.lastError().text();
    }
    QSqlDatabase::removeDatabase(u"fixture-postgres"_s);
    return ok;
}

bool TestServers::CopyEmployee(QString &problem)
{
    // The tables the reports read, with the same column types everywhere. FULL_NAME is
    // computed in FireBird and stored in the copies.
    const struct
    {
        QString name;
        QString columns;
    } tables[] = {
            {u"DEPARTMENT"_s,
             u"DEPT_NO CHAR(3), DEPARTMENT VARCHAR(25), HEAD_DEPT CHAR(3), "
             u"MNGR_NO SMALLINT, BUDGET NUMERIC(18,2), LOCATION VARCHAR(15), "
             u"PHONE_NO VARCHAR(20)"_s},
            {u"JOB"_s,
             u"JOB_CODE VARCHAR(5), JOB_GRADE SMALLINT, JOB_COUNTRY VARCHAR(15), "
             u"JOB_TITLE VARCHAR(25), MIN_SALARY NUMERIC(10,2), MAX_SALARY NUMERIC(10,2)"_s},
            {u"EMPLOYEE"_s,
             u"EMP_NO SMALLINT, FIRST_NAME VARCHAR(15), LAST_NAME VARCHAR(20), "
             u"PHONE_EXT VARCHAR(4), DEPT_NO CHAR(3), JOB_CODE VARCHAR(5), "
             u"JOB_GRADE SMALLINT, JOB_COUNTRY VARCHAR(15), SALARY NUMERIC(10,2), "
             u"FULL_NAME VARCHAR(37)"_s},
            {u"CUSTOMER"_s,
             u"CUST_NO INTEGER, CUSTOMER VARCHAR(25), CONTACT_FIRST VARCHAR(15), "
             u"CONTACT_LAST VARCHAR(20), CITY VARCHAR(25), COUNTRY VARCHAR(15)"_s},
            {u"SALES"_s,
             u"PO_NUMBER CHAR(8), CUST_NO INTEGER, SALES_REP SMALLINT, "
             u"ORDER_STATUS VARCHAR(7), QTY_ORDERED INTEGER, TOTAL_VALUE NUMERIC(9,2), "
             u"DISCOUNT FLOAT"_s},
            {u"PROBE"_s, u"A INTEGER"_s},
    };
    bool ok = true;
    {
        auto source = QSqlDatabase::addDatabase(u"QIBASE"_s, u"fixture-firebird"_s);
        source.setDatabaseName(Path(u"employee.fdb"_s));
        source.setUserName(u"SYSDBA"_s);
        source.setConnectOptions(u"ISC_DPB_LC_CTYPE=UTF8"_s);
        auto postgres = QSqlDatabase::addDatabase(u"QODBC"_s, u"fixture-postgres"_s);
        postgres.setDatabaseName(PostgresOdbc(Password()));
        auto sqlite = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"fixture-sqlite"_s);
        sqlite.setDatabaseName(SqliteFile());
        ok = source.open() && postgres.open() && sqlite.open();
        if (!ok)
            problem = u"copy: "_s + source.lastError().text() + postgres.lastError().text()
                    + sqlite.lastError().text();
        for (const auto &table : tables) {
            if (!ok)
                break;
            QStringList names;
            for (const QString &column : table.columns.split(u", "_s))
                names.append(column.section(u' ', 0, 0));
            QSqlQuery read(source);
            read.setForwardOnly(true);
            if (!read.exec(u"SELECT %1 FROM %2"_s.arg(names.join(u", "_s), table.name))) {
                problem = read.lastError().text();
                ok = false;
                break;
            }
            QList<QVariantList> rows;
            while (read.next()) {
                QVariantList row;
                for (int i = 0; i < names.size(); ++i)
                    row.append(read.value(i));
                rows.append(row);
            }
            const QString insert = u"INSERT INTO %1 (%2) VALUES (%3)"_s.arg(
                    table.name, names.join(u", "_s),
                    QStringList(names.size(), u"?"_s).join(u", "_s));
            for (QSqlDatabase *target : {&postgres, &sqlite}) {
                ok = ok
                        && ExecOn(*target, u"CREATE TABLE %1 (%2)"_s.arg(table.name, table.columns),
                                  problem);
                ok = ok && target->transaction();
                QSqlQuery write(*target);
                ok = ok && write.prepare(insert);
                for (const QVariantList &row : std::as_const(rows)) {
                    if (!ok)
                        break;
                    for (int i = 0; i < row.size(); ++i)
                        write.bindValue(i, row.at(i));
                    ok = write.exec();
                    if (!ok)
                        problem = insert + u": "_s + write.lastError().text();
                }
                ok = ok && target->commit();
            }
        }
        // PostgreSQL's twin of WRITE_PROBE.
        ok = ok
                && ExecOn(postgres,
                          u"CREATE FUNCTION WRITE_PROBE() RETURNS INTEGER LANGUAGE sql "
                          u"AS $$ INSERT INTO PROBE VALUES (1) RETURNING A $$"_s,
                          problem);
    }
    for (const QString &name : {u"fixture-firebird"_s, u"fixture-postgres"_s, u"fixture-sqlite"_s})
        QSqlDatabase::removeDatabase(name);
    return ok;
}

void TestServers::Stop()
{
    // Fast shutdown for PostgreSQL (SIGINT), the usual end for FireBird (SIGTERM).
    StopProcess(m_postgres, SIGINT);
    StopProcess(m_fireBird, SIGTERM);
}

void TestServers::KillFireBird()
{
    StopProcess(m_fireBird, SIGKILL);
}

void TestServers::KillPostgres()
{
    // SIGQUIT ends the server and every session at once, as a crash of the server would.
    StopProcess(m_postgres, SIGQUIT);
}

QString TestServers::FireBirdServer(const QString &password) const
{
    return u"SYSDBA:%1@127.0.0.1/%2:employee"_s.arg(password).arg(m_fireBirdPort);
}

QString TestServers::FireBirdEmbedded() const
{
    return u"SYSDBA:@%1"_s.arg(Path(u"employee.fdb"_s));
}

QString TestServers::PostgresOdbc(const QString &password, const QString &database) const
{
    return u"DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=%1;DATABASE=%2;UID=vantel;"
           u"PWD={%3}"_s.arg(m_postgresPort)
                   .arg(database, password);
}

QString TestServers::SqliteOdbc() const
{
    return u"DRIVER={SQLite3};DATABASE=%1"_s.arg(SqliteFile());
}

QString TestServers::SqliteFile() const
{
    return Path(u"employee.db"_s);
}
