#include "columndiscovery.h"

#include "bandcontext.h"
#include "dataconnection.h"
#include "queryentries.h"
#include "querywatchdog.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QCoreApplication>

#include <unordered_map>

namespace {

class CDiscovery
{
public:
    CDiscovery(const CVornReport &report, const CDiscoveryOptions &options)
        : m_report(report)
        , m_options(options)
    { }

    CReportColumns Run();
    QHash<QString, QString> ContextValues(const CVornBand &band, const QStringList &names);

private:
    bool Cancelled() const { return m_options.cancel && m_options.cancel->load(); }
    bool Connect();
    void Disconnect();
    // The band's own query, run once; its first row serves the entries of its context's users.
    const CDataRow *FirstRow(const CVornBand &band);
    CQueryOutcome Query(const CVornBand &band, const QString &sql,
                        const std::vector<const CVornBand *> &context, CDataRow *firstRow);
    QString EntryValue(const CVornBand &band, const QString &name,
                       const std::vector<const CVornBand *> &context);

    const CVornReport &m_report;
    const CDiscoveryOptions &m_options;
    CReportColumns m_result;
    std::unique_ptr<CDataConnection> m_connection;
    std::unique_ptr<CQueryWatchdog> m_watchdog;
    std::unordered_map<const CVornBand *, CDataRow> m_firstRows;
    std::unordered_map<const CVornBand *, bool> m_done;
};

CReportColumns CDiscovery::Run()
{
    const int type = m_report.GetDatabaseType();
    m_result.SetHasDatabase(type >= 0 && type <= 2);
    if (!m_result.HasDatabase())
        return m_result;
    if (!Connect())
        return m_result;
    for (const CVornBand *band : m_report.GetBands()) {
        if (HasQuery(band->GetDatabaseQuery()))
            FirstRow(*band);
    }
    for (const CVornBand *band : m_report.GetBands()) {
        for (const CVornItem *item : band->GetItems()) {
            const auto *dbText = dynamic_cast<const CVornDbText *>(item);
            if (!dbText || !HasQuery(dbText->GetQuery()))
                continue;
            // An item's query sees its band's row first, then the band's context.
            std::vector<const CVornBand *> context {band};
            const std::vector<const CVornBand *> outer = EntryContext(m_report, *band);
            context.insert(context.end(), outer.begin(), outer.end());
            if (HasQuery(band->GetDatabaseQuery()))
                FirstRow(*band);
            m_result.Add(band->GetName(), item->GetName(),
                         Query(*band, dbText->GetQuery(), context, nullptr));
        }
    }
    m_result.SetCancelled(Cancelled());
    Disconnect();
    return m_result;
}

QHash<QString, QString> CDiscovery::ContextValues(const CVornBand &band, const QStringList &names)
{
    QHash<QString, QString> values;
    const std::vector<const CVornBand *> context = EntryContext(m_report, band);
    if (context.empty() || names.isEmpty() || !Connect())
        return values;
    for (const QString &name : names) {
        for (const CVornBand *outer : context) {
            const CDataRow *row = FirstRow(*outer);
            const int index = row ? row->IndexOf(name) : -1;
            if (index >= 0) {
                values.insert(name.toLower(), row->GetValues().at(index).toString());
                break;
            }
        }
    }
    Disconnect();
    return values;
}

bool CDiscovery::Connect()
{
    QString message;
    m_connection = OpenDataConnection(m_report.GetDatabaseType(), m_report.GetConnectString(),
                                      m_options.reportFolder, message, m_options.timeoutMs);
    if (!m_connection) {
        m_result.SetConnectionError(message);
        return false;
    }
    m_watchdog = std::make_unique<CQueryWatchdog>(*m_connection, m_options.cancel);
    return true;
}

void CDiscovery::Disconnect()
{
    m_watchdog.reset();
    m_connection.reset();
}

const CDataRow *CDiscovery::FirstRow(const CVornBand &band)
{
    if (!HasQuery(band.GetDatabaseQuery()))
        return nullptr;
    // A band met again while its own context is being run leads round in a loop: no row.
    if (const auto it = m_done.find(&band); it != m_done.end())
        return it->second ? &m_firstRows[&band] : nullptr;
    m_done[&band] = false;
    const std::vector<const CVornBand *> context = EntryContext(m_report, band);
    CDataRow row;
    const CQueryOutcome outcome = Query(band, band.GetDatabaseQuery(), context, &row);
    m_result.Add(band.GetName(), QString(), outcome);
    if (outcome.state != CQueryOutcome::State::Ok)
        return nullptr;
    m_firstRows[&band] = row;
    m_done[&band] = true;
    return &m_firstRows[&band];
}

QString CDiscovery::EntryValue(const CVornBand &band, const QString &name,
                               const std::vector<const CVornBand *> &context)
{
    for (const CVornBand *outer : context) {
        if (const CDataRow *row = FirstRow(*outer)) {
            const int index = row->IndexOf(name);
            if (index >= 0)
                return row->GetValues().at(index).toString();
        }
    }
    if (m_options.parameter) {
        const QString value = m_options.parameter(band.GetName(), name);
        if (!value.isNull())
            return value;
    }
    const CVornParameter *stored = m_report.GetParameters().Find(band.GetName(), name);
    return stored ? stored->GetValue() : QString();
}

CQueryOutcome CDiscovery::Query(const CVornBand &band, const QString &sql,
                                const std::vector<const CVornBand *> &context, CDataRow *firstRow)
{
    CQueryOutcome outcome;
    outcome.sql = sql;
    // The rows of the context come first: they run queries of their own.
    QHash<QString, QString> values;
    const EntryValueFunction entry = [&](const QString &name) {
        const QString key = name.toLower();
        if (!values.contains(key))
            values.insert(key, EntryValue(band, name, context));
        return values.value(key);
    };
    if (Cancelled() || !m_connection) {
        outcome.state
                = Cancelled() ? CQueryOutcome::State::Cancelled : CQueryOutcome::State::Failed;
        outcome.message = m_result.GetConnectionError();
        return outcome;
    }
    // Entries are worked out before the watchdog is armed, as they may run queries too.
    QList<CQueryEntrySpan> spans;
    QString scanProblem;
    if (ScanQueryEntrySpans(sql, spans, scanProblem)) {
        for (const CQueryEntrySpan &span : std::as_const(spans))
            entry(span.name);
    }
    if (Cancelled() || !m_connection) {
        outcome.state = CQueryOutcome::State::Cancelled;
        return outcome;
    }
    QString message;
    m_watchdog->Arm(m_options.timeoutMs);
    std::unique_ptr<CDataCursor> cursor = m_connection->Execute(sql, entry, message);
    m_watchdog->Disarm();
    if (m_watchdog->Fired()) {
        cursor.reset();
        outcome.state = m_watchdog->TimedOut() ? CQueryOutcome::State::TimedOut
                                               : CQueryOutcome::State::Cancelled;
        // A cancelled connection serves no further query: the next one gets a fresh one.
        Disconnect();
        if (outcome.state == CQueryOutcome::State::TimedOut && !Cancelled())
            Connect();
        return outcome;
    }
    if (!cursor) {
        outcome.state = CQueryOutcome::State::Failed;
        outcome.message = message;
        return outcome;
    }
    const QStringList &names = cursor->GetColumns();
    const QList<QMetaType> types = cursor->GetColumnTypes();
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QMetaType type = i < types.size() ? types.at(i) : QMetaType();
        outcome.columns.append({names.at(i), ColumnTypeName(type), IsBinaryColumn(type)});
    }
    const CDataRow first = cursor->Peek();
    outcome.firstRow = first.GetValues();
    if (firstRow)
        *firstRow = first;
    return outcome;
}

} // namespace

CReportColumns DiscoverColumns(const CVornReport &report, const CDiscoveryOptions &options)
{
    return CDiscovery(report, options).Run();
}

QHash<QString, QString> ContextEntryValues(const CVornReport &report, const CVornBand &band,
                                           const QStringList &names,
                                           const CDiscoveryOptions &options)
{
    return CDiscovery(report, options).ContextValues(band, names);
}
