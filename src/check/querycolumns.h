#pragma once

#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

// One column of a query's result as the driver describes it.
struct CQueryColumn
{
    QString name;
    QString type; // a word for the user: "integer", "real", "text", "binary", "date", ...
    bool binary = false; // bytes: a picture for a DB Image

    friend bool operator==(const CQueryColumn &, const CQueryColumn &) = default;
};

// The word shown for a column of this type, and whether it holds bytes.
QString ColumnTypeName(QMetaType type);
bool IsBinaryColumn(QMetaType type);

// What one query gave when a report's columns were looked up.
struct CQueryOutcome
{
    enum class State { Ok, Failed, TimedOut, Cancelled };

    State state = State::Ok;
    QList<CQueryColumn> columns; // in query order, when Ok
    QString message; // when Failed: the driver's message (never a password)
    QString sql; // the query as it was run
    QVariantList firstRow; // the values of its first row in column order, when it has one

    // Whether this is the outcome of that query: after an edit of the query it is not, until
    // the columns have been looked up again.
    bool IsFor(const QString &query) const { return sql == query; }

    QStringList ColumnNames() const;
    // The column of that name (letter case ignored, as a run matches fields), or null.
    const CQueryColumn *Find(const QString &name) const;
};

// The columns of a report's queries, looked up against its database: each band's own query and
// each DB Text's query of its own, known by the band's (and item's) name as a run finds them,
// letter case ignored, the first of a name counting.
class CReportColumns
{
public:
    struct Entry
    {
        QString band;
        QString item; // empty for the band's own query
        CQueryOutcome outcome;
    };

    // False when the report has no database (its data comes from the calling program); nothing
    // is looked up then.
    bool HasDatabase() const { return m_hasDatabase; }
    void SetHasDatabase(bool has) { m_hasDatabase = has; }
    // Why the database could not be opened; empty when it was.
    const QString &GetConnectionError() const { return m_connectionError; }
    void SetConnectionError(const QString &message) { m_connectionError = message; }
    // The user stopped the look-up before every query had answered.
    bool IsCancelled() const { return m_cancelled; }
    void SetCancelled(bool cancelled) { m_cancelled = cancelled; }

    void Add(const QString &band, const QString &item, const CQueryOutcome &outcome);
    // The outcome of a band's own query, or of an item's own query; null when it was not run.
    const CQueryOutcome *Band(const QString &band) const;
    const CQueryOutcome *Item(const QString &band, const QString &item) const;
    // Every outcome in the order the queries ran.
    const std::vector<Entry> &GetEntries() const { return m_entries; }

private:
    std::vector<Entry> m_entries;
    QString m_connectionError;
    bool m_hasDatabase = false;
    bool m_cancelled = false;
};
