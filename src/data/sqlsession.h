#pragma once

#include <QSqlDatabase>
#include <QString>

#include <atomic>
#include <mutex>
#include <set>

// One Qt SQL connection under a name of its own, shared by a data connection and the cursors
// it hands out: the connection is closed and removed when the last of them is gone, so no query
// outlives its database. Used on the thread that opened it, except Cancel().
class CSqlSession
{
public:
    enum class Route { SQLite, FireBird, Odbc };

    CSqlSession(Route route, QSqlDatabase database, QString connectionName);
    ~CSqlSession();
    CSqlSession(const CSqlSession &) = delete;
    CSqlSession &operator=(const CSqlSession &) = delete;

    // Takes the driver's handles that Cancel() needs; called once the database is open. For
    // FireBird and ODBC, whose drivers do not all refuse writes, it also starts a transaction
    // that is only ever rolled back: whatever a report's SQL changes is never kept.
    void Opened();
    // After a failed statement: some servers refuse every further statement of a transaction
    // that saw an error, so the transaction starts afresh.
    void RestartTransaction();

    // A connection name no other connection of the process uses.
    static QString NewConnectionName();

    QSqlDatabase &Database() { return m_database; }
    // A text that no message may show (the password), empty when there is none.
    void SetSecret(const QString &secret) { m_secret = secret; }
    const QString &GetSecret() const { return m_secret; }
    Route GetRoute() const { return m_route; }

    // Statements of this session that a Cancel() must reach (ODBC cancels per statement).
    void AddStatement(void *statement);
    void RemoveStatement(void *statement);

    // Stops what runs on the connection as far as the driver allows; every later query and
    // fetch then fails. Callable from any thread.
    void Cancel();
    bool IsCancelled() const { return m_cancelled.load(); }

private:
    Route m_route;
    QSqlDatabase m_database;
    QString m_connectionName;
    QString m_secret;
    // The driver's own handle of the connection, taken once on the owning thread.
    void *m_sqliteHandle = nullptr;
    unsigned int m_fireBirdHandle = 0;
    std::mutex m_mutex;
    std::set<void *> m_statements;
    std::atomic_bool m_cancelled = false;
    bool m_inTransaction = false;
};
