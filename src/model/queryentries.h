#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The query entries of SQL texts: names written between curly braces outside
// quotes. They are the report parameters.
class CQueryEntries
{
public:
    const QStringList &GetNames() const { return m_names; }
    int GetCount() const { return int(m_names.size()); }
    bool IsEmpty() const { return m_names.isEmpty(); }

    // Adds the name unless an equal one (letter case ignored) is already there,
    // so every entry keeps the letter case of its first occurrence.
    void Add(const QString &name);
    bool Contains(const QString &name) const;

private:
    QStringList m_names;
};

// Whether SQL text is a query to run: anything but blanks. A band or item without one takes its
// rows from elsewhere (its data source band, the calling program).
bool HasQuery(const QString &sql);

// Adds the entries of one query to the list. The text is trimmed first;
// positions in the messages count from 0 in the trimmed text. Braces inside
// double or single quotes are ignored; the two quote flags toggle independently.
// False with "Two open brackets in positions %d and %d" or "A close bracket
// without an open one in position %d"; an open brace left at the end is ignored.
bool ScanQueryEntries(const QString &query, CQueryEntries &entries, QString &message);

// One entry of a query: its name and where "{NAME}" stands, braces included.
struct CQueryEntrySpan
{
    QString name;
    qsizetype start = 0;
    qsizetype length = 0;
};

// The scan behind ScanQueryEntries, keeping every occurrence in text order with
// its position in the trimmed text (query.trimmed()), for code that replaces
// the entries in place. Same messages and rules as ScanQueryEntries.
bool ScanQueryEntrySpans(const QString &query, QList<CQueryEntrySpan> &spans, QString &message);
