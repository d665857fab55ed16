#pragma once

#include "sqlqueryrunner.h"
#include "vornparameter.h"

#include <QString>

#include <memory>

class CBackgroundTask;
class CVornReport;

// The SQL editor's "Run Query" against the report's database: the query runs on a worker
// thread through the engine's data layer (so with its read-only rules), and its entries are
// bound as the Data pane binds them: from the first row of the bands whose rows the band's
// query follows in a run (its parent data source, its group header), then from the values
// stored for the band. A band that follows no other asks the user for the entries without a
// stored value (kept for the next runs of the same editor). At most RowLimit rows are fetched;
// the rest are counted for a few seconds.
class CQueryRunner : public CSqlQueryRunner
{
    Q_OBJECT

public:
    // The report is copied now; band is the band whose entries the query's are (the band of a
    // DB Text).
    CQueryRunner(const CVornReport &report, const QString &reportFolder, const QString &band,
                 QObject *parent = nullptr);

    bool Start(const QString &sql, QWidget *parent) override;
    void Cancel() override;
    bool IsRunning() const override;

    // The values asked for so far; tests answer for the user with them.
    CVornParameters &Answers() { return m_answers; }
    // Asks for the entries without a value; false when the user cancelled. Replaceable for
    // tests.
    std::function<bool(CVornParameters &missing, QWidget *parent)> askValues;

private:
    std::shared_ptr<const CVornReport> m_report; // a copy: the worker reads it
    QString m_reportFolder;
    QString m_band;
    CVornParameters m_stored;
    CVornParameters m_answers;
    CBackgroundTask *m_task;
};
