#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "sqlcompletion.h"

struct CCatalogue;

// One row of the Data pane's schema tree, as plain data: the tree widget only shows a list of
// them.
struct CSchemaRow
{
    enum class Kind {
        Schema, // a schema of the database (PostgreSQL), above its tables
        Table,
        Column,
        Note, // a message: reading, a failure, no database, nothing matches
    };

    Kind kind = Kind::Note;
    int depth = 0;
    QString text;
    QString detail; // the second column: a column's type and keys, "view"
    // What a screen reader says of the row, the icons' meaning in words.
    QString description;
    bool problem = false;
    bool primaryKey = false;
    bool foreignKey = false;
    // Tables and columns: what a drag of the row carries.
    QString schema;
    QString table;
    QString column;

    friend bool operator==(const CSchemaRow &, const CSchemaRow &) = default;
};

// The rows of the schema tree: tables and views (under their schema when the database has
// schemas other than the default one), each with its columns in table order. A column says its
// type, whether it may be NULL, its place in the primary key and where its foreign key leads
// ("InvoiceId INTEGER, not null, -> Invoice.InvoiceId"). filter keeps the tables whose name
// holds it, with all their columns, and the columns whose name holds it, under their table
// (letter case ignored). error is the last read's failure; reading says a read is running.
QList<CSchemaRow> SchemaRows(const CCatalogue &catalogue, const QString &filter,
                             const QString &error, bool reading, bool hasDatabase);

// The catalogue as the SQL editor's completion offers it: names written as queries need them.
CSqlSchema CompletionSchema(const CCatalogue &catalogue);
