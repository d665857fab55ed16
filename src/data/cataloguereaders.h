#pragma once

#include "catalogue.h"

class CDataConnection;
class CSqlSession;

// The catalogue of each route, read on the connection's own thread (catalogue.h). Each reads
// at most tableLimit tables, setting the catalogue's truncated flag when there were more, and
// fails with the driver's message.
namespace CatalogueReaders {

// sqlite_master, then PRAGMA table_info and foreign_key_list per table.
bool Sqlite(CSqlSession &session, CCatalogue &catalogue, int tableLimit, QString &message);
// SQLTables, SQLColumns, SQLPrimaryKeys and SQLForeignKeys on the session's connection handle.
bool Odbc(CSqlSession &session, CCatalogue &catalogue, int tableLimit, QString &message);
// Queries of the RDB$ system tables, run as a report's queries are.
bool FireBird(CDataConnection &connection, CCatalogue &catalogue, int tableLimit, QString &message);

} // namespace CatalogueReaders
