#pragma once

#include "querycolumns.h"
#include "reportproblem.h"
#include "vorndocument.h"

#include <QHash>
#include <QObject>
#include <QPointer>

class CBackgroundTask;
class QTimer;

class CVornElement;
class CVornItem;

// Keeps what the designer knows of the report's data up to date: the columns of every query,
// looked up against the report's database off the GUI thread (the designer never waits for a
// database), and the report's problems checked against them. It follows the document: an edit
// of a query, of the connection, of a parameter or of the bands' names and links (or a new
// folder for a relative database path) looks the columns up again, the previous look-up being
// cancelled; any other edit only checks again. A query that has not answered within the
// timeout is cancelled and reported as such.
class CColumnLookup : public QObject
{
    Q_OBJECT

public:
    explicit CColumnLookup(QObject *parent = nullptr);
    ~CColumnLookup() override;

    void SetDocument(CVornDocument *document);
    CVornDocument *GetDocument() const { return m_document; }

    // How long one query may take (10 seconds unless set).
    void SetTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    int GetTimeout() const { return m_timeoutMs; }

    // Looks every column up again, whatever changed (the Data pane's Refresh).
    void Refresh();
    bool IsRunning() const;

    // While held, a look-up that falls due waits (it counts as running) and starts when the
    // hold ends: the designer holds it until its window is painted.
    void SetHeld(bool held);

    // The columns of the last look-up that finished; empty before the first.
    const CReportColumns &GetColumns() const { return m_columns; }
    // Whether they were looked up for the report as it is now (no look-up is running or due).
    bool IsCurrent() const { return !IsRunning() && m_lookedUp == Signature(); }
    // The report's problems as it is now, checked against those columns.
    const CReportProblems &GetProblems() const { return m_problems; }

    // The columns a DB item may show: those of its data source band's query (its own band when
    // it names none), or of its own query for a DB Text that has one; empty while unknown.
    QStringList ColumnsFor(const CVornElement *item) const;
    // The problems of items, as text per item, for the design view's marks.
    QHash<const CVornItem *, QString> ItemMarks() const;

signals:
    // A look-up started or finished: the columns may have changed.
    void columnsChanged();
    // The problems were checked again.
    void problemsChanged();
    // Once after every change of the report and every look-up that starts or ends, when the
    // columns, their state and the problems are all up to date: a pane that shows them
    // refreshes once for it, whichever of them changed.
    void updated();

private:
    void OnEdited();
    void Start();
    void Check();
    // What the look-up depends on, as one text: another text means another look-up.
    QString Signature() const;
    QString ReportFolder() const;

    QPointer<CVornDocument> m_document;
    CBackgroundTask *m_task;
    // Starts a look-up once the events of the moment are done: a burst of edits (and the
    // window's start-up) costs one.
    QTimer *m_startTimer;
    bool m_held = false;
    bool m_startDue = false; // a look-up fell due while held
    CReportColumns m_columns;
    CReportProblems m_problems;
    QString m_lookedUp; // the signature of the report the columns are of
    QString m_started; // the signature of the due, running or last look-up
    int m_timeoutMs = 10000;
};
