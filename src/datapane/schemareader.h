#pragma once

#include "catalogue.h"
#include "vorndocument.h"

#include <QObject>
#include <QPointer>

class CBackgroundTask;
class QTimer;

// Keeps the catalogue of the report's database (its tables, columns and keys) for the Data
// pane's schema tree, the drags that build bands and the SQL editor's completion. It reads it
// off the GUI thread, through the same read-only session as the column look-up and within the
// same time, when the report's connection changes (a new database type, connection string or
// report folder) and on Refresh; a read still running is abandoned for the newer one.
class CSchemaReader : public QObject
{
    Q_OBJECT

public:
    explicit CSchemaReader(QObject *parent = nullptr);
    ~CSchemaReader() override;

    void SetDocument(CVornDocument *document);
    CVornDocument *GetDocument() const { return m_document; }
    void SetTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    // Tables beyond the limit are left out (5000 unless set).
    void SetTableLimit(int tables) { m_tableLimit = tables; }
    // While held, a read that falls due waits until the hold ends (the window's first paint).
    void SetHeld(bool held);

    void Refresh();
    bool IsRunning() const;

    // The catalogue of the last read that finished (empty before the first, or after a
    // failure, whose message Error() gives). Valid until the next catalogueChanged().
    const CCatalogue &GetCatalogue() const { return m_catalogue; }
    const QString &GetError() const { return m_error; }
    // Whether the report has a database to read at all.
    bool HasDatabase() const;

signals:
    // A read started or finished.
    void catalogueChanged();

private:
    void OnEdited();
    void Start();
    QString Signature() const;
    QString ReportFolder() const;

    QPointer<CVornDocument> m_document;
    CBackgroundTask *m_task;
    QTimer *m_startTimer;
    bool m_held = false;
    bool m_startDue = false;
    CCatalogue m_catalogue;
    QString m_error;
    QString m_started;
    int m_timeoutMs = 10000;
    int m_tableLimit = 5000;
};
