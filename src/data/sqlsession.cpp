#include "sqlsession.h"

#include "drivercancel.h"

#include <QSqlDriver>

CSqlSession::CSqlSession(Route route, QSqlDatabase database, QString connectionName)
    : m_route(route), m_database(std::move(database)), m_connectionName(std::move(connectionName))
{
}

void CSqlSession::Opened()
{
    const QVariant handle = m_database.driver() ? m_database.driver()->handle() : QVariant();
    std::lock_guard lock(m_mutex);
    if (m_route == Route::SQLite)
        m_sqliteHandle = DriverCancel::PointerHandle(handle, "sqlite3*");
    else if (m_route == Route::FireBird)
        m_fireBirdHandle = DriverCancel::NumberHandle(handle, "uint");
    if (m_route != Route::SQLite && m_database.driver()
        && m_database.driver()->hasFeature(QSqlDriver::Transactions))
        m_inTransaction = m_database.transaction();
}

CSqlSession::~CSqlSession()
{
    {
        std::lock_guard lock(m_mutex);
        m_sqliteHandle = nullptr;
        m_fireBirdHandle = 0;
    }
    if (m_inTransaction)
        m_database.rollback();
    m_database.close();
    // Our copy must be gone before the name is removed, or Qt reports the connection as
    // still in use.
    m_database = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

void CSqlSession::RestartTransaction()
{
    if (m_inTransaction) {
        m_database.rollback();
        m_inTransaction = m_database.transaction();
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
    case Route::FireBird:
        DriverCancel::CancelFireBird(m_fireBirdHandle);
        break;
    case Route::Odbc:
        for (void *statement : m_statements)
            DriverCancel::CancelOdbcStatement(statement);
        break;
    }
}
