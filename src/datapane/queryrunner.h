#pragma once

#include "sqlqueryrunner.h"
#include "vornparameter.h"

#include <QString>

class CBackgroundTask;
class CVornReport;

// The SQL editor's "Run Query" against the report's database: the query runs on a worker
// thread through the engine's data layer (so with its read-only rules), its entries bound from
// the values stored for the band and, for those without one, from values the user is asked
// for (kept for the next runs of the same editor). At most RowLimit rows are fetched.
class CQueryRunner : public CSqlQueryRunner
{
    Q_OBJECT

public:
    // The report's database settings and stored values are taken now; band is the band whose
    // entries the query's are (the band of a DB Text).
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
    int m_databaseType;
    QString m_connectString;
    QString m_reportFolder;
    QString m_band;
    CVornParameters m_stored;
    CVornParameters m_answers;
    CBackgroundTask *m_task;
};
