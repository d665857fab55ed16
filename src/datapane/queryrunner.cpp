#include "queryrunner.h"

#include "backgroundtask.h"
#include "dataconnection.h"
#include "errorposition.h"
#include "queryentries.h"
#include "querywatchdog.h"
#include "reportparametersdlg.h"
#include "vornreport.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {

QString CellText(const QVariant &value)
{
    if (value.metaType().id() == QMetaType::QByteArray)
        return QCoreApplication::translate("Vantel", "(%n byte(s))", nullptr,
                                           int(value.toByteArray().size()));
    return value.toString();
}

} // namespace

CQueryRunner::CQueryRunner(const CVornReport &report, const QString &reportFolder,
                           const QString &band, QObject *parent)
    : CSqlQueryRunner(parent)
    , m_databaseType(report.GetDatabaseType())
    , m_connectString(report.GetConnectString())
    , m_reportFolder(reportFolder)
    , m_band(band)
    , m_stored(report.GetParameters())
    , m_task(new CBackgroundTask(this))
{
    askValues = [](CVornParameters &missing, QWidget *parent) {
        CReportParametersDlg dialog(parent);
        dialog.SetParameters(missing);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        missing = dialog.GetParameters();
        return true;
    };
}

bool CQueryRunner::IsRunning() const
{
    return m_task->IsRunning();
}

void CQueryRunner::Cancel()
{
    m_task->Cancel();
}

bool CQueryRunner::Start(const QString &sql, QWidget *parent)
{
    // Entries without a stored value are asked for, offering what was answered before.
    CQueryEntries entries;
    QString ignored;
    ScanQueryEntries(sql, entries, ignored);
    CVornParameters missing;
    for (const QString &name : entries.GetNames()) {
        const CVornParameter *stored = m_stored.Find(m_band, name);
        if (stored && !stored->GetValue().isEmpty())
            continue;
        const CVornParameter *answered = m_answers.Find(m_band, name);
        missing.SetParameter(m_band, name, answered ? answered->GetValue() : QString());
    }
    if (!missing.IsEmpty()) {
        if (!askValues || !askValues(missing, parent))
            return false;
        for (const CVornParameter *answer : missing)
            m_answers.SetParameter(answer->GetBand(), answer->GetName(), answer->GetValue());
    }
    QHash<QString, QString> values;
    for (const QString &name : entries.GetNames()) {
        const CVornParameter *value = m_answers.Find(m_band, name);
        if (!value || value->GetValue().isEmpty())
            value = m_stored.Find(m_band, name);
        values.insert(name.toLower(), value ? value->GetValue() : QString());
    }

    const int type = m_databaseType;
    const QString connect = m_connectString;
    const QString folder = m_reportFolder;
    m_task->StartDetached([this, sql, values, type, connect,
                           folder](const std::atomic_bool &cancel) {
        CSqlQueryResult result;
        QElapsedTimer timer;
        timer.start();
        QString message;
        std::unique_ptr<CDataConnection> connection
                = OpenDataConnection(type, connect, folder, message);
        if (connection) {
            CQueryWatchdog watchdog(*connection, &cancel);
            std::unique_ptr<CDataCursor> cursor = connection->Execute(
                    sql, [&values](const QString &name) { return values.value(name.toLower()); },
                    message);
            if (cursor) {
                result.columns = cursor->GetColumns();
                CDataRow row;
                while (result.rows.size() < RowLimit && cursor->Fetch(row, message)) {
                    QStringList cells;
                    for (const QVariant &value : row.GetValues())
                        cells.append(CellText(value));
                    result.rows.append(cells);
                }
                result.more = message.isEmpty() && cursor->HasNext();
                result.succeeded = message.isEmpty();
            } else {
                result.errorPosition = ErrorPosition(sql, message);
            }
        }
        result.milliseconds = timer.elapsed();
        result.message = message;
        result.cancelled = cancel;
        return [this, result] {
            emit finished(result);
        };
    });
    return true;
}
