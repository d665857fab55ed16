#pragma once

#include <QString>
#include <QStringList>

// The ways databases read quotes and comments. A report's SQL is checked under every reading its
// database may use, so that no reading finds a second statement or a write that another one
// takes for a string or a comment.
namespace SqlReading {
// '...' strings, "...", [...] and `...` names, -- and /* */ comments (SQLite, FireBird).
constexpr unsigned Standard = 1;
// Adds E'...' strings with backslash escapes, $tag$...$tag$ strings and nested comments.
constexpr unsigned PostgreSQL = 2;
// Backslash escapes in '...' and "..." strings, # comments, "-- " only before a space;
// /*! ... */ is run as SQL there and therefore refused.
constexpr unsigned MySql = 4;
constexpr unsigned Any = Standard | PostgreSQL | MySql;
} // namespace SqlReading

// A report's query as it goes to the driver.
struct CReportStatement
{
    // The trimmed text without the closing ";" and what follows it, each bound query entry
    // replaced by a "?".
    QString text;
    // The names of the entries bound to the "?" marks, in text order.
    QStringList entries;
};

// Decides whether a report's SQL may run, and makes it ready for the driver. It may when, under
// every reading given, it is exactly one statement (a closing ";" and comments may follow) that
// starts, after comments and opening parentheses, with SELECT, WITH or VALUES (a WITH leading to
// a SELECT or VALUES), holds no word that only writes, locks, calls or controls a transaction
// (INSERT, UPDATE, DELETE, MERGE, UPSERT, TRUNCATE, DROP, CREATE, ALTER, GRANT, REVOKE, COMMIT,
// ROLLBACK, SAVEPOINT, INTO, EXECUTE, EXEC, CALL, COPY, VACUUM, ATTACH, DETACH, PRAGMA, REINDEX,
// LOAD_EXTENSION, NEXTVAL, SETVAL; a name qualified with "." or written in quotes is no such
// word), advances no sequence (NEXT VALUE FOR, GEN_ID with a step other than 0) and holds no
// brace outside quotes and comments but its query entries. Query entries are found with the
// report's own scan (queryentries.h); those inside comments stay as they are and are not bound.
// False with a message that says why, in words that follow "The query ... failed: ".
bool CheckReportStatement(const QString &sql, unsigned readings, CReportStatement &statement,
                          QString &message);

// The readings a database type's SQL is checked under: 0 SQLite and 1 FireBird the standard
// one, 2 ODBC every reading (the server is not known before the connection is made).
unsigned SqlReadingsOf(int databaseType);

// The verdict alone, for a report's database type (the Data pane, checks of a report file).
bool CheckReportStatement(const QString &sql, int databaseType, QString &message);
