#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <atomic>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

class CSqliteSideFiles;

// One Qt SQL connection under a name of its own, shared by a data connection and the cursors
// it hands out: the connection is closed and removed when the last of them is gone, so no query
// outlives its database. Used on the thread that opened it, except Cancel().
class CSqlSession
{
public:
    enum class Route { SQLite, Odbc };

    CSqlSession(Route route, QSqlDatabase database, QString connectionName);
    ~CSqlSession();
    CSqlSession(const CSqlSession &) = delete;
    CSqlSession &operator=(const CSqlSession &) = delete;

    // Called once the database is open: takes the driver's handles that Cancel() needs and
    // makes the session read-only as far as the database allows (SQLite: an authorizer that
    // denies all but reading, no attached databases; PostgreSQL over ODBC: read-only session
    // and transactions; SQLite over ODBC: query_only). ODBC sessions then run in a transaction
    // that is only ever rolled back, so whatever slips through is never kept. False
    // with a message when the fence cannot be set.
    bool Opened(QString &message);
    // After a failed statement: some servers refuse every further statement of a transaction
    // that saw an error, so the transaction starts afresh (read-only again).
    void RestartTransaction();

    // True once the session could not be made read-only again; it runs no further query.
    bool FenceLost() const { return m_fenceLost; }

    // How the database reads quotes and comments (SqlReading), known once it is open.
    unsigned GetReadings() const { return m_readings; }

    // A connection name no other connection of the process uses.
    static QString NewConnectionName();

    QSqlDatabase &Database() { return m_database; }
    // For a SQLite file: its side files, held until the connection is closed (before open()).
    void SetSideFiles(std::unique_ptr<CSqliteSideFiles> sideFiles);
    // A text that no message may show (the password), empty when there is none.
    void SetSecret(const QString &secret) { m_secret = secret; }
    const QString &GetSecret() const { return m_secret; }
    Route GetRoute() const { return m_route; }

    // A query of this text prepared by an earlier run and finished since, taken out of the
    // session's keeping; null when there is none. A batch runs the same few statements for
    // every row: the database parses and plans each once.
    std::unique_ptr<QSqlQuery> TakePrepared(const QString &text);
    // Keeps a finished query for the next run of its text; the oldest of more than a few goes.
    void KeepPrepared(std::unique_ptr<QSqlQuery> query);

    // Statements of this session that a Cancel() must reach (ODBC cancels per statement).
    void AddStatement(void *statement);
    void RemoveStatement(void *statement);

    // Stops what runs on the connection as far as the driver allows; every later query and
    // fetch then fails. Callable from any thread.
    void Cancel();
    bool IsCancelled() const { return m_cancelled.load(); }

private:
    // Declared first, so that it goes last: after the connection is closed and removed.
    std::unique_ptr<CSqliteSideFiles> m_sideFiles;
    Route m_route;
    QSqlDatabase m_database;
    QString m_connectionName;
    QString m_secret;
    // The driver's own handle of the connection, taken once on the owning thread.
    void *m_sqliteHandle = nullptr;
    std::mutex m_mutex;
    std::set<void *> m_statements;
    std::atomic_bool m_cancelled = false;
    bool m_inTransaction = false;
    bool m_postgres = false;
    bool m_fenceLost = false;
    unsigned m_readings;

    // Finished queries, the most recently kept last.
    std::vector<std::unique_ptr<QSqlQuery>> m_prepared;

    bool BeginTransaction();
    bool Run(const QString &sql);
    bool Answers(const QString &sql, const QString &expected);
};
