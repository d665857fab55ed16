#pragma once

#include <QString>

class TestServers;

// A small music shop of seven tables and a view with seven foreign keys, two of them from
// Invoice to Client: Artist <- Album <- Track -> Genre, Client <- Invoice <- InvoiceLine ->
// Track. Written into the servers' database on FireBird and PostgreSQL (whose names are quoted,
// so they keep their letter case there) and into a SQLite file, with a few rows in each.
namespace MusicDatabase {

bool CreateSqlite(const QString &path, QString &problem);
bool CreateOnServers(const TestServers &servers, QString &problem);

// What is wrong with the catalogue that the database (as a report names it) gives of the
// music tables: their names and kinds, columns, types, nullability, primary and foreign keys,
// and a query that names a table and a column the way the catalogue quotes them. Empty when
// all is right.
QString CatalogueProblem(int type, const QString &connect);

} // namespace MusicDatabase
