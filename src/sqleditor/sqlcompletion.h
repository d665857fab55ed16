#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A table of the database as the SQL editor's completion offers it.
struct CSqlSchemaTable
{
    QString schema; // empty where the database has none
    QString name; // as the database names it
    QString written; // as a query writes it (quoted where needed, schema first)
    QStringList columns; // as a query writes them

    friend bool operator==(const CSqlSchemaTable &, const CSqlSchemaTable &) = default;
};
using CSqlSchema = QList<CSqlSchemaTable>;

// What completion offers at a place of a query: the candidates for the word that ends there,
// which starts at start.
struct CSqlCompletion
{
    int start = 0;
    QStringList candidates;
};

// The candidates at position of text: after FROM or JOIN (and between the tables after FROM)
// the table names; after "alias." or "table." the columns of that table; elsewhere the
// keywords and the columns of the tables the query reads. Those that start like the word
// before position (letter case ignored), sorted, each once.
CSqlCompletion SqlCompletion(const QString &text, int position, const CSqlSchema &schema);
