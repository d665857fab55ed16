#pragma once

#include <QList>
#include <QString>

// A query's text read as tokens, for the SQL editor's completion and for the drags that build
// and extend queries: words, quoted names, strings, numbers, query entries {NAME} and symbols,
// with their places; comments and spaces are left out.
struct CSqlToken
{
    enum class Kind { Word, QuotedName, String, Number, Entry, Symbol };

    Kind kind = Kind::Symbol;
    int start = 0; // in the text, in UTF-16 units
    int length = 0;
    QString text; // as written
    int depth = 0; // parentheses around the token

    int End() const { return start + length; }
    // A word or a quoted name, without its quotes (inner quotes undoubled).
    QString Name() const;
    bool IsName() const { return kind == Kind::Word || kind == Kind::QuotedName; }
    // A word equal to the keyword, letter case ignored.
    bool Is(const char *keyword) const;
    bool IsSymbol(char symbol) const;
};

// Tokens of the text; an unfinished string, quoted name or comment runs to the end.
QList<CSqlToken> SqlTokens(const QString &sql);

// A table that a query reads: after FROM (and its commas) or JOIN, at any depth.
struct CQueryTable
{
    QString schema; // empty when the query names none
    QString name;
    QString alias; // empty when the query gives none
    int token = 0; // index of its name's first token

    // The name that the query's columns use for the table: its alias, else its name.
    QString Qualifier() const { return alias.isEmpty() ? name : alias; }

    friend bool operator==(const CQueryTable &, const CQueryTable &) = default;
};

QList<CQueryTable> QueryTables(const QList<CSqlToken> &tokens);
inline QList<CQueryTable> QueryTables(const QString &sql)
{
    return QueryTables(SqlTokens(sql));
}
