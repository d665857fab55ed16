#include "sqlsession.h"

#include "drivercancel.h"
#include "odbcfetch.h"
#include "readonlyfence.h"
#include "reportstatement.h"
#include "sqlitesidefiles.h"

#include <QCoreApplication>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

CSqlSession::CSqlSession(Route route, QSqlDatabase database, QString connectionName)
    : m_route(route)
    , m_database(std::move(database))
    , m_connectionName(std::move(connectionName))
    , m_readings(route == Route::Odbc ? SqlReading::Any : SqlReading::Standard)
{ }

void CSqlSession::SetSideFiles(std::unique_ptr<CSqliteSideFiles> sideFiles)
{
    m_sideFiles = std::move(sideFiles);
}

namespace {

// Rows of a PostgreSQL query read from the server at a time: few enough that rows of large
// pictures stay within memory, enough that a long list does not wait for the network on every
// row.
constexpr int PostgresFetchRows = 100;

} // namespace

bool CSqlSession::Opened(QString &message)
{
    const QVariant handle = m_database.driver() ? m_database.driver()->handle() : QVariant();
    {
        std::lock_guard lock(m_mutex);
        if (m_route == Route::SQLite)
            m_sqliteHandle = DriverCancel::PointerHandle(handle, "sqlite3*");
    }
    const auto refuse = [&message] {
        message = QCoreApplication::translate("Vantel", "the session could not be made read-only");
        return false;
    };
    bool sqliteOverOdbc = false;
    if (m_route == Route::SQLite && !ReadOnlyFence::LockSqlite(m_sqliteHandle))
        return refuse();
    if (m_route == Route::Odbc) {
        const QString server
                = ReadOnlyFence::OdbcServerName(DriverCancel::PointerHandle(handle, "void*"));
        m_postgres = server.contains(u"PostgreSQL", Qt::CaseInsensitive);
        sqliteOverOdbc = server.contains(u"SQLite", Qt::CaseInsensitive);
        if (m_postgres)
            m_readings = SqlReading::PostgreSQL;
        else if (sqliteOverOdbc)
            m_readings = SqlReading::Standard;
        else if (server.contains(u"MySQL", Qt::CaseInsensitive)
                 || server.contains(u"MariaDB", Qt::CaseInsensitive))
            m_readings = SqlReading::Standard | SqlReading::MySql;
        // Every transaction of the session is read-only unless it says otherwise, and each
        // one we begin says so again: a report may change the session's default.
        if (m_postgres
            && !Run(QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY")))
            return refuse();
        // SQLite's ODBC driver has no read-only mode; query_only refuses every write.
        if (sqliteOverOdbc
            && !(Run(QStringLiteral("PRAGMA query_only = 1"))
                 && Answers(QStringLiteral("PRAGMA query_only"), QStringLiteral("1"))))
            return refuse();
    }
    if (m_route != Route::SQLite && m_database.driver()
        && m_database.driver()->hasFeature(QSqlDriver::Transactions)) {
        m_inTransaction = BeginTransaction();
        if (m_postgres
            && !(m_inTransaction
                 && Answers(QStringLiteral("SHOW transaction_read_only"), QStringLiteral("on"))))
            return refuse();
    }
    // Rows come as they are fetched, so memory does not grow with them (queries run in the
    // transaction just begun). A driver that cannot do so keeps reading whole results.
    if (m_postgres)
        OdbcFetch::PostgresRowsAsFetched(DriverCancel::PointerHandle(handle, "void*"),
                                         PostgresFetchRows);
    return true;
}

bool CSqlSession::Run(const QString &sql)
{
    QSqlQuery query(m_database);
    return query.exec(sql);
}

bool CSqlSession::Answers(const QString &sql, const QString &expected)
{
    QSqlQuery query(m_database);
    return query.exec(sql) && query.next() && query.value(0).toString() == expected;
}

bool CSqlSession::BeginTransaction()
{
    if (!m_database.transaction())
        return false;
    // The first statement of the transaction, before any query can change its mode.
    return !m_postgres || Run(QStringLiteral("SET TRANSACTION READ ONLY"));
}

CSqlSession::~CSqlSession()
{
    m_prepared.clear();
    {
        std::lock_guard lock(m_mutex);
        m_sqliteHandle = nullptr;
    }
    if (m_inTransaction)
        m_database.rollback();
    m_database.close();
    // Our copy must be gone before the name is removed, or Qt reports the connection as
    // still in use.
    m_database = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

std::unique_ptr<QSqlQuery> CSqlSession::TakePrepared(const QString &text)
{
    for (auto it = m_prepared.rbegin(); it != m_prepared.rend(); ++it) {
        if ((*it)->lastQuery() == text) {
            std::unique_ptr<QSqlQuery> query = std::move(*it);
            m_prepared.erase(std::next(it).base());
            return query;
        }
    }
    return nullptr;
}

void CSqlSession::KeepPrepared(std::unique_ptr<QSqlQuery> query)
{
    constexpr size_t MostKept = 8;
    if (!query || query->lastError().isValid() || m_cancelled.load() || m_fenceLost)
        return;
    query->finish();
    if (m_prepared.size() >= MostKept)
        m_prepared.erase(m_prepared.begin());
    m_prepared.push_back(std::move(query));
}

void CSqlSession::RestartTransaction()
{
    // Some drivers lose their prepared statements with the transaction.
    m_prepared.clear();
    if (m_inTransaction) {
        m_database.rollback();
        m_inTransaction = BeginTransaction();
        // Without its transaction a PostgreSQL session would take whatever default a report
        // set; it serves no further query.
        m_fenceLost = m_postgres && !m_inTransaction;
    }
}

QString CSqlSession::NewConnectionName()
{
    static std::atomic_int counter = 0;
    return QStringLiteral("vantel-data-%1").arg(++counter);
}

void CSqlSession::AddStatement(void *statement)
{
    if (!statement)
        return;
    std::lock_guard lock(m_mutex);
    m_statements.insert(statement);
}

void CSqlSession::RemoveStatement(void *statement)
{
    std::lock_guard lock(m_mutex);
    m_statements.erase(statement);
}

void CSqlSession::Cancel()
{
    m_cancelled = true;
    std::lock_guard lock(m_mutex);
    switch (m_route) {
    case Route::SQLite:
        DriverCancel::InterruptSqlite(m_sqliteHandle);
        break;
    case Route::Odbc:
        for (void *statement : m_statements)
            DriverCancel::CancelOdbcStatement(statement);
        break;
    }
}
