#include "dataconnection.h"

#include "sqlconnection.h"
#include "sqlcursor.h"
#include "sqlsession.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

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
    QSqlDatabase &db = session->Database();
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open()) {
        message = Tr("Cannot open the database %1: %2").arg(shown, DatabaseErrorText(db.lastError()));
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
    session->Opened();
    return std::make_unique<CSqlConnection>(std::move(session));
}

} // namespace

std::unique_ptr<CDataConnection> OpenDataConnection(int databaseType, const QString &connectString,
                                                    const QString &reportFolder, QString &message)
{
    message.clear();
    switch (databaseType) {
    case 0:
        return OpenSqlite(connectString, reportFolder, message);
    case 1:
    case 2:
        message = Tr("This program cannot read FireBird or ODBC databases yet");
        return nullptr;
    default:
        message = Tr("The report has no database");
        return nullptr;
    }
}
