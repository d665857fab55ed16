#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>

// One row of a query's result: the query's column names (shared by every row of the query)
// and the values in the same order. Field names are looked up without regard to letter case.
class CDataRow
{
public:
    CDataRow() = default;
    CDataRow(std::shared_ptr<const QStringList> columns, QVariantList values);

    bool IsEmpty() const { return m_values.isEmpty(); }
    const QStringList &GetColumns() const;
    const QVariantList &GetValues() const { return m_values; }

    // Index of the column (letter case ignored), -1 when the query returns no such column.
    int IndexOf(const QString &name) const;
    // The value of the column, an invalid QVariant when there is no such column.
    QVariant Value(const QString &name) const;

private:
    std::shared_ptr<const QStringList> m_columns;
    QVariantList m_values;
};

// The result of one query, read forward only. It always holds one row of lookahead, so that
// the last row is known as such without a row count (SQLite, ODBC and FireBird give none).
class CDataCursor
{
public:
    virtual ~CDataCursor() = default;

    virtual const QStringList &GetColumns() const = 0;
    // The type of each column as the driver reports it, in column order; empty when the
    // driver reports none.
    virtual QList<QMetaType> GetColumnTypes() const { return {}; }
    // True while a row is left to fetch.
    virtual bool HasNext() const = 0;
    // The row the next Fetch() moves to, read already, without moving; empty at the end.
    virtual CDataRow Peek() const { return {}; }
    // Moves to the next row and copies it into row. False at the end (message empty) or on a
    // failure while reading (message set, naming what failed).
    virtual bool Fetch(CDataRow &row, QString &message) = 0;
};

// The value of a query entry {NAME}, asked for each entry of the SQL text; a null QString
// binds the empty text.
using EntryValueFunction = std::function<QString(const QString &name)>;

struct CReportStatement;
struct CCatalogue;

// A connection to a report's database. Qt SQL allows a connection only on the thread that made
// it: open, query and close it on one thread. Cancel() alone may be called from any thread.
class CDataConnection
{
public:
    virtual ~CDataConnection() = default;

    // Runs a report's query. Only a statement that CheckReportStatement (reportstatement.h)
    // accepts reaches the database; any other fails with its message. The query entries {NAME}
    // (found with the same scan as the report's validation, outside quotes; those in comments
    // are left alone) are bound as query parameters, never pasted into the text. Null with the
    // message on failure.
    std::unique_ptr<CDataCursor> Execute(const QString &sql, const EntryValueFunction &entry,
                                         QString &message);

    // Asks a running query to stop as soon as the driver allows; the query then fails.
    virtual void Cancel() { }

    // Reads the database's tables and views with their columns and keys through the
    // database's own catalogue (catalogue.h), at most tableLimit tables. False with the
    // driver's message; Cancel() stops it as it stops a query.
    virtual bool ReadCatalogue(CCatalogue &catalogue, int tableLimit, QString &message);

protected:
    // How this database reads quotes and comments (SqlReading in reportstatement.h).
    virtual unsigned Readings() const = 0;
    // Runs a statement that the check has accepted, its entries' values in order.
    virtual std::unique_ptr<CDataCursor> Run(const CReportStatement &statement,
                                             const QStringList &values, QString &message)
            = 0;
};

// Opens the report's database, its session made read-only as far as the database allows (see
// CSqlSession::Opened and firebirdconnection.h): type 0 SQLite (the connection string is the
// file's path, relative to reportFolder; opened read-only and never created), 1 FireBird
// ("login:password@database", see connectstring.h; a string without "@" is refused), 2 ODBC
// (the string goes to the driver manager as it is, unless it holds a setting that
// RefusedOdbcSetting names). FireBird and ODBC sessions run in a transaction that is rolled
// back at their end. Null with a message that names the database (never its password) on
// failure, and for any other type. A server that does not answer within timeoutMs fails the
// open.
std::unique_ptr<CDataConnection> OpenDataConnection(int databaseType, const QString &connectString,
                                                    const QString &reportFolder, QString &message,
                                                    int timeoutMs = 10000);

// True while an open that timed out is still running on its helper thread: the client library
// may not survive the process's normal exit then, and a program that ends should leave with
// _exit() after flushing its output.
bool DataOpensInFlight();
