#include "queryrunner.h"

#include "backgroundtask.h"
#include "bandcontext.h"
#include "columndiscovery.h"
#include "dataconnection.h"
#include "errorposition.h"
#include "queryentries.h"
#include "querywatchdog.h"
#include "reportcopy.h"
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
    , m_report(CopyReport(report))
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
    CQueryEntries entries;
    QString ignored;
    ScanQueryEntries(sql, entries, ignored);
    // A band that follows another takes its entries from that band's first row, else from the
    // stored values, else empty, as a run does. Any other band's entries without a stored value
    // are asked for, offering what was answered before.
    const CVornBand *band = FindRunBand(*m_report, m_band);
    const bool followsAnother = band && !EntryContext(*m_report, *band).empty();
    CVornParameters missing;
    for (const QString &name : entries.GetNames()) {
        if (followsAnother)
            break;
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

    const QString folder = m_reportFolder;
    const QStringList names = followsAnother ? entries.GetNames() : QStringList();
    m_task->StartDetached([this, sql, values, names, folder, band,
                           report = m_report](const std::atomic_bool &cancel) mutable {
        CSqlQueryResult result;
        QElapsedTimer timer;
        timer.start();
        if (band && !names.isEmpty()) {
            CDiscoveryOptions options;
            options.reportFolder = folder;
            options.cancel = &cancel;
            const QHash<QString, QString> rows = ContextEntryValues(*report, *band, names, options);
            for (auto row = rows.cbegin(); row != rows.cend(); ++row)
                values.insert(row.key(), row.value());
        }
        QString message;
        std::unique_ptr<CDataConnection> connection = OpenDataConnection(
                report->GetDatabaseType(), report->GetConnectString(), folder, message);
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
                // The rows beyond those shown are counted while it takes no longer than this.
                qint64 total = result.rows.size();
                while (result.more && !cancel && timer.elapsed() < CountMilliseconds
                       && cursor->Fetch(row, message))
                    ++total;
                if (message.isEmpty() && !cursor->HasNext())
                    result.total = total;
                message.clear();
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
