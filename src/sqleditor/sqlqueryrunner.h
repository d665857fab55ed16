#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

class QWidget;

// What running a query in the SQL editor gave: the first rows with their column names, or the
// database's message and, when it names one, the place in the text it points at.
struct CSqlQueryResult
{
    bool succeeded = false;
    bool cancelled = false;
    QStringList columns;
    QList<QStringList> rows; // the rows fetched, each value as text
    bool more = false; // the query has rows beyond those fetched
    qint64 total = -1; // the rows of the whole result, -1 when they were not all counted
    qint64 milliseconds = 0;
    QString message;
    int errorPosition = -1; // a position in the text that was run, or -1
};

// Runs the query being edited against the report's database for the SQL editor's "Run Query",
// off the GUI thread. The editor knows nothing of databases: the program hands it a runner
// that does. finished() arrives on the runner's thread once for every Start() that returned
// true and was not cancelled.
class CSqlQueryRunner : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // The most rows a run fetches, and how long it goes on counting the others.
    static constexpr int RowLimit = 100;
    static constexpr int CountMilliseconds = 5000;

    // Starts the query. The runner may ask the user for what it needs first (parent for its
    // dialogs); false when the user declined, or nothing could be started.
    virtual bool Start(const QString &sql, QWidget *parent) = 0;
    // Stops the running query; no finished() follows.
    virtual void Cancel() = 0;
    virtual bool IsRunning() const = 0;

signals:
    void finished(const CSqlQueryResult &result);
};
