#pragma once

#include <QString>

// The database's own read-only fences, set through the client library that the Qt SQL driver
// plugin has already loaded (the program links none of them itself).
namespace ReadOnlyFence {

// A SQLite connection (sqlite3*) that may only read: every statement that would write, attach
// a database, run a PRAGMA (but the two that read a table's columns and foreign keys) or a
// transaction, or call load_extension is denied by an authorizer; no database may be attached
// (VACUUM INTO attaches its target); extensions stay off and the schema is not trusted to call
// functions with side effects. False when the library does not offer these calls.
bool LockSqlite(void *connection);

// The server's name as the ODBC driver reports it (SQLGetInfo SQL_DBMS_NAME) for a connection
// handle (SQLHDBC), empty when it cannot be asked.
QString OdbcServerName(void *connection);

// The driver that an ODBC data source (a DSN of odbc.ini) uses, as the driver manager lists it;
// empty when there is no such source or no driver manager.
QString OdbcSourceDriver(const QString &dataSource);

} // namespace ReadOnlyFence
