#pragma once

// How an ODBC driver hands over the rows of a query, set through the driver manager that the Qt
// SQL driver plugin has already loaded (the program links none of it itself).
namespace OdbcFetch {

// PostgreSQL's ODBC driver reads the whole result of a query into memory before the first row
// unless told otherwise. This asks it to read through a cursor on the server, `rows` rows at a
// time as they are fetched, for every later statement of the connection (SQLHDBC). The
// connection must be in a transaction, as the cursor lives in one. True when the driver took it.
bool PostgresRowsAsFetched(void *connection, int rows);

} // namespace OdbcFetch
