#pragma once

#include <QVariant>

// Stopping a running statement from another thread, through the client library that the Qt
// SQL driver plugin has already loaded. The program links none of these libraries itself: the
// calls are looked up in the loaded library, and do nothing when it is not loaded.
namespace DriverCancel {

// The raw pointer inside a driver's handle variant (QSqlDriver::handle(), QSqlResult::handle())
// when its type is the one named: "sqlite3*" for SQLite's connection, "void*" for an ODBC
// connection or statement.
void *PointerHandle(const QVariant &handle, const char *typeName);

void InterruptSqlite(void *connection);
void CancelOdbcStatement(void *statement);
// A FireBird attachment of the client library's own interface.
void CancelFireBird(unsigned int connection);

} // namespace DriverCancel
