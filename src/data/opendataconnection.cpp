#include "dataconnection.h"

#include "boundedopen.h"
#include "connectstring.h"
#include "firebirdclient.h"
#include "firebirdconnection.h"
#include "readonlyfence.h"
#include "sqlconnection.h"
#include "sqlcursor.h"
#include "sqlitesidefiles.h"
#include "sqlsession.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>
#include <mutex>

using namespace Qt::StringLiterals;

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("Vantel", text);
}

bool DriverMissing(const QString &driver, const QString &package, QString &message)
{
    if (QSqlDatabase::isDriverAvailable(driver))
        return false;
    message = Tr("The database driver %1 is not installed (package %2)").arg(driver, package);
    return true;
}

std::unique_ptr<CDataConnection> OpenSqlite(const QString &connectString,
                                            const QString &reportFolder, QString &message)
{
    const QString written = connectString.trimmed();
    if (written.isEmpty()) {
        message = Tr("The report names no SQLite database file");
        return nullptr;
    }
    const QString path = QDir::cleanPath(QDir(reportFolder).absoluteFilePath(written));
    const QString shown = QDir::toNativeSeparators(path);
    // SQLite would create a missing file; a report only ever reads.
    const QFileInfo info(path);
    if (!info.exists()) {
        message = Tr("The database %1 does not exist").arg(shown);
        return nullptr;
    }
    if (!info.isFile()) {
        message = Tr("The database %1 is not a file").arg(shown);
        return nullptr;
    }
    if (DriverMissing(QStringLiteral("QSQLITE"), QStringLiteral("libqt6sql6-sqlite"), message))
        return nullptr;

    const QString name = CSqlSession::NewConnectionName();
    auto session = std::make_shared<CSqlSession>(
            CSqlSession::Route::SQLite, QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name),
            name);
    // A database in WAL mode gets side files even from a connection that only reads; those that
    // were not there are removed again after the last connection.
    session->SetSideFiles(std::make_unique<CSqliteSideFiles>(path));
    QSqlDatabase &db = session->Database();
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open()) {
        message = Tr("Cannot open the database %1: %2")
                          .arg(shown, DatabaseErrorText(db.lastError()));
        return nullptr;
    }
    // SQLite reads the file only when asked; a file that is no database is found out here,
    // not by the first band.
    {
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
            message = Tr("Cannot open the database %1: %2")
                              .arg(shown, DatabaseErrorText(probe.lastError()));
            return nullptr;
        }
    }
    if (!session->Opened(message)) {
        message = Tr("Cannot open the database %1: %2").arg(shown, message);
        return nullptr;
    }
    return std::make_unique<CSqlConnection>(std::move(session));
}

// ODBC: a client library talks to a server, so the open is bounded in time.
std::unique_ptr<CDataConnection> OpenServer(CSqlSession::Route route, const QString &driver,
                                            const QString &shown, const QString &secret,
                                            const std::function<void(QSqlDatabase &)> &configure,
                                            int timeoutMs, QString &message)
{
    CBoundedOpen open;
    open.driver = driver;
    open.connectionName = CSqlSession::NewConnectionName();
    open.configure = configure;
    open.timeoutMs = timeoutMs;
    QSqlDatabase db;
    QString error;
    bool timedOut = false;
    const bool ok = open.Run(db, error, timedOut);
    if (timedOut) {
        message = Tr("Cannot open the database %1: no answer within %2 seconds")
                          .arg(shown)
                          .arg((timeoutMs + 999) / 1000);
        return nullptr;
    }
    // The session must hold the only copy, or its removal reports the connection in use.
    auto session = std::make_shared<CSqlSession>(route, std::exchange(db, QSqlDatabase()),
                                                 open.connectionName);
    session->SetSecret(secret);
    if (!ok) {
        message = HideSecret(Tr("Cannot open the database %1: %2").arg(shown, error), secret);
        return nullptr;
    }
    if (!session->Opened(error)) {
        message = HideSecret(Tr("Cannot open the database %1: %2").arg(shown, error), secret);
        return nullptr;
    }
    return std::make_unique<CSqlConnection>(std::move(session));
}

std::unique_ptr<CDataConnection> OpenFireBird(const QString &connectString, int timeoutMs,
                                              QString &message)
{
    if (connectString.trimmed().isEmpty()) {
        message = Tr("The report names no FireBird database");
        return nullptr;
    }
    const CFireBirdConnect parts = CFireBirdConnect::Parse(connectString);
    if (parts.database.isEmpty()) {
        message = Tr("The FireBird connection string \"%1\" is malformed: it must be "
                     "login:password@database")
                          .arg(CFireBirdConnect::Shown(connectString));
        return nullptr;
    }
    if (!FireBird::Client()) {
        message = Tr("The database driver %1 is not installed (package %2)")
                          .arg(QStringLiteral("FireBird"), QStringLiteral("libfbclient2"));
        return nullptr;
    }
    QString error;
    bool timedOut = false;
    auto connection = OpenFireBirdConnection(parts, timeoutMs, error, timedOut);
    if (timedOut)
        message = Tr("Cannot open the database %1: no answer within %2 seconds")
                          .arg(parts.database)
                          .arg((timeoutMs + 999) / 1000);
    else if (!connection)
        message = Tr("Cannot open the database %1: %2").arg(parts.database, error);
    return connection;
}

// Qt's ODBC driver writes warnings of its own about failures that reach the caller anyway as
// the query's message; a run prints one line, so they are dropped. Other messages pass on to the
// handler that was in place. Installed again with each ODBC connection, in case another handler
// has replaced it since.
std::atomic<QtMessageHandler> g_nextHandler = nullptr;

void DropOdbcWarnings(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtWarningMsg && text.startsWith(u"QODBC"))
        return;
    if (const QtMessageHandler next = g_nextHandler.load())
        next(type, context, text);
}

void SilenceOdbcWarnings()
{
    static std::mutex mutex;
    const std::lock_guard lock(mutex);
    const QtMessageHandler previous = qInstallMessageHandler(DropOdbcWarnings);
    if (previous != DropOdbcWarnings)
        g_nextHandler = previous;
}

// SQLite's ODBC driver creates a database file that does not exist unless told not to; the
// first NoCreat of the string is the one it takes.
bool NamesSqliteDriver(const QString &connectString)
{
    QString driver = OdbcAttribute(connectString, QStringLiteral("DRIVER"));
    if (driver.isEmpty())
        driver = ReadOnlyFence::OdbcSourceDriver(
                OdbcAttribute(connectString, QStringLiteral("DSN")));
    return driver.contains(u"sqlite", Qt::CaseInsensitive);
}

std::unique_ptr<CDataConnection> OpenOdbc(const QString &connectString, int timeoutMs,
                                          QString &message)
{
    if (connectString.trimmed().isEmpty()) {
        message = Tr("The report names no ODBC data source");
        return nullptr;
    }
    if (DriverMissing(QStringLiteral("QODBC"), QStringLiteral("libqt6sql6-odbc"), message))
        return nullptr;
    SilenceOdbcWarnings();
    const QString shown = HideOdbcPassword(connectString);
    const QString refused = RefusedOdbcSetting(connectString);
    if (!refused.isEmpty()) {
        message = Tr("Cannot open the database %1: the setting %2 is refused, as it could load "
                     "code, run SQL or write files")
                          .arg(shown, refused);
        return nullptr;
    }
    const QString effective
            = NamesSqliteDriver(connectString) ? u"NoCreat=1;"_s + connectString : connectString;
    const int seconds = std::max(1, (timeoutMs + 999) / 1000);
    return OpenServer(
            CSqlSession::Route::Odbc, QStringLiteral("QODBC"), shown, OdbcPassword(connectString),
            [effective, seconds](QSqlDatabase &db) {
                db.setDatabaseName(effective);
                db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1;"
                                                    "SQL_ATTR_ACCESS_MODE=SQL_MODE_READ_ONLY")
                                             .arg(seconds));
            },
            timeoutMs, message);
}

} // namespace

std::unique_ptr<CDataConnection> OpenDataConnection(int databaseType, const QString &connectString,
                                                    const QString &reportFolder, QString &message,
                                                    int timeoutMs)
{
    message.clear();
    switch (databaseType) {
    case 0:
        return OpenSqlite(connectString, reportFolder, message);
    case 1:
        return OpenFireBird(connectString, timeoutMs, message);
    case 2:
        return OpenOdbc(connectString, timeoutMs, message);
    default:
        message = Tr("The report has no database");
        return nullptr;
    }
}
