#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>

// What a database says of itself: its tables and views, their columns and keys, as the Data
// pane shows them and as queries are built from them. Plain data, read once on a worker thread
// (ReadCatalogue) and handed to the GUI thread whole.

struct CCatalogueColumn
{
    QString name;
    // The type as the database names it, with its length or precision ("VARCHAR(25)").
    QString type;
    bool nullable = true;
    // Position in the table's primary key, from 1; 0 when the column is not part of it.
    int keyPosition = 0;

    bool operator==(const CCatalogueColumn &) const = default;
};

// A foreign key of a table: its columns refer, in the same order, to columns of another table.
struct CCatalogueForeignKey
{
    QString name; // empty when the database gives none
    QStringList columns;
    QString refSchema;
    QString refTable;
    QStringList refColumns;

    bool operator==(const CCatalogueForeignKey &) const = default;
};

struct CCatalogueTable
{
    QString schema; // empty where the database has none (SQLite, FireBird)
    QString name;
    bool view = false;
    QList<CCatalogueColumn> columns;
    QList<CCatalogueForeignKey> foreignKeys;

    const CCatalogueColumn *Column(const QString &name) const;
    // The primary key's columns in key order; empty when the table has none.
    QStringList PrimaryKey() const;
    // "schema.name" when the table has a schema, else the name.
    QString DisplayName() const;

    bool operator==(const CCatalogueTable &) const = default;
};

// How unquoted identifiers are read by the database: kept as written (SQLite), folded to
// lower case (PostgreSQL) or to upper case (FireBird, the standard).
enum class IdentifierFolding { None, Lower, Upper };

struct CCatalogue
{
    QList<CCatalogueTable> tables;
    IdentifierFolding folding = IdentifierFolding::None;
    // The character that quotes identifiers (a double quote, or a backquote on MySQL).
    QChar quote = QLatin1Char('"');
    // The schema that names need not carry (PostgreSQL's "public").
    QString defaultSchema;
    // True when the database held more tables than were read (see CCatalogueOptions).
    bool truncated = false;

    // The table of that name (letter case ignored; "schema.name" or a name alone, the default
    // schema first); null when there is none.
    const CCatalogueTable *Find(const QString &name) const;
    const CCatalogueTable *Find(const QString &schema, const QString &name) const;

    // The identifier as the query must write it: as it is when the database reads it back
    // unchanged, else between quotes (with inner quotes doubled).
    QString Quote(const QString &identifier) const;
    // The table as a query names it: its schema first unless it is the default one.
    QString TableReference(const CCatalogueTable &table) const;

    bool operator==(const CCatalogue &) const = default;
};

struct CCatalogueOptions
{
    QString reportFolder; // where a relative SQLite path starts
    int timeoutMs = 10000; // for the whole read, the open included
    int tableLimit = 5000; // tables beyond it are left out (truncated)
    const std::atomic_bool *cancel = nullptr;
};

// Reads the catalogue of a report's database (the same types and connection strings as
// OpenDataConnection, with the same read-only session) through the database's own catalogue:
// SQLite's sqlite_master and table pragmas, ODBC's catalogue functions, FireBird's RDB$ tables.
// False with a message that names the database (never a password) when the open or the read
// fails, is cancelled or takes longer than the timeout.
bool ReadCatalogue(int databaseType, const QString &connectString, const CCatalogueOptions &options,
                   CCatalogue &catalogue, QString &message);
