#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// Database servers of the test's own, in a temporary folder on loopback ports: a PostgreSQL
// server (as an unprivileged user when the test runs as root) and a FireBird server, both
// stopped by their process ids, plus odbcinst.ini files for the PostgreSQL and SQLite ODBC
// drivers. The EMPLOYEE sample database is built into FireBird and copied into PostgreSQL and
// into a SQLite file. Start() sets FIREBIRD, FIREBIRD_LOCK and ODBCSYSINI for the process, so
// it runs before anything loads a FireBird or ODBC client.
class TestServers
{
public:
    ~TestServers();

    // False with the reason: skip (a package is not installed) or a failure to start.
    bool Start(QString &problem, bool &missingPackage);
    void Stop();

    // Connection strings of the routes, all to the same EMPLOYEE data.
    QString FireBirdServer(const QString &password) const;
    QString FireBirdEmbedded() const;
    QString PostgresOdbc(const QString &password,
                         const QString &database = QStringLiteral("employee")) const;
    QString SqliteOdbc() const;
    QString SqliteFile() const;
    // The FireBird database file, for the embedded engine.
    QString FireBirdFile() const { return Path(QStringLiteral("employee.fdb")); }

    QString Password() const { return QStringLiteral("Pa:ss@word"); }
    int FireBirdPort() const { return m_fireBirdPort; }
    int PostgresPort() const { return m_postgresPort; }
    // Kills a server as a crash would (SIGKILL); the other keeps running.
    void KillFireBird();
    void KillPostgres();

private:
    bool StartFireBird(QString &problem);
    bool StartPostgres(QString &problem);
    bool CopyEmployee(QString &problem);
    QString Path(const QString &name) const { return m_folder.filePath(name); }

    QTemporaryDir m_folder;
    std::unique_ptr<QProcess> m_fireBird;
    std::unique_ptr<QProcess> m_postgres;
    int m_fireBirdPort = 0;
    int m_postgresPort = 0;
};

// A loopback port that nothing listens on at the moment of the call.
int FreeLoopbackPort();

// Listens on a loopback port and never answers: a server that does not respond.
class SilentServer
{
public:
    SilentServer();
    ~SilentServer();
    int Port() const { return m_port; }

private:
    int m_socket = -1;
    int m_port = 0;
};
