#include "columnlookup.h"

#include "backgroundtask.h"
#include "bandcontext.h"
#include "columndiscovery.h"
#include "fileutil.h"
#include "reportchecks.h"
#include "reportcopy.h"
#include "vorndocument.h"
#include "vornitems.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

using namespace Qt::StringLiterals;

CColumnLookup::CColumnLookup(QObject *parent)
    : QObject(parent)
    , m_task(new CBackgroundTask(this))
    , m_startTimer(new QTimer(this))
{
    m_startTimer->setSingleShot(true);
    m_startTimer->setInterval(0);
    connect(m_startTimer, &QTimer::timeout, this, &CColumnLookup::Start);
}

CColumnLookup::~CColumnLookup() = default;

void CColumnLookup::SetDocument(CVornDocument *document)
{
    if (m_document == document)
        return;
    if (m_document)
        disconnect(m_document, nullptr, this, nullptr);
    m_task->Cancel();
    m_startTimer->stop();
    m_startDue = false;
    m_document = document;
    m_columns = CReportColumns();
    m_lookedUp.clear();
    m_started.clear();
    if (document) {
        connect(document, &CVornDocument::changed, this, &CColumnLookup::OnEdited);
        connect(document, &CVornDocument::reportReset, this, &CColumnLookup::OnEdited);
        connect(document, &CVornDocument::pathNameChanged, this, &CColumnLookup::OnEdited);
    }
    OnEdited();
}

bool CColumnLookup::IsRunning() const
{
    return m_task->IsRunning() || m_startTimer->isActive() || m_startDue;
}

void CColumnLookup::SetHeld(bool held)
{
    m_held = held;
    if (!held && m_startDue) {
        m_startDue = false;
        m_startTimer->start();
    }
}

QString CColumnLookup::ReportFolder() const
{
    // A report never saved takes a relative database path from the current folder, as the
    // designer's preview does.
    const QString path = m_document ? m_document->GetPathName() : QString();
    return path.isEmpty() ? QDir::currentPath() : FolderOfPath(QFileInfo(path).absoluteFilePath());
}

QString CColumnLookup::Signature() const
{
    if (!m_document)
        return {};
    const CVornReport &report = m_document->GetReport();
    QStringList parts {QString::number(report.GetDatabaseType()), report.GetConnectString(),
                       ReportFolder()};
    for (const CVornBand *band : report.GetBands()) {
        parts << band->GetName() << QString::number(band->GetKind()) << band->GetDatabaseQuery()
              << band->GetParentDataSource() << band->GetHeader() << band->GetFooter();
        for (const CVornItem *item : band->GetItems()) {
            if (const auto *text = dynamic_cast<const CVornDbText *>(item);
                text && !text->GetQuery().trimmed().isEmpty())
                parts << u"item"_s << text->GetName() << text->GetQuery();
        }
    }
    for (const CVornParameter *parameter : report.GetParameters())
        parts << parameter->GetBand() << parameter->GetName() << parameter->GetValue();
    // A separator no text of the report holds.
    return parts.join(QChar(0x1F));
}

void CColumnLookup::OnEdited()
{
    if (!m_document) {
        m_task->Cancel();
        m_startTimer->stop();
        m_startDue = false;
        m_columns = CReportColumns();
        Check();
        emit columnsChanged();
        emit updated();
        return;
    }
    if (const QString signature = Signature(); signature != m_started) {
        m_started = signature;
        m_task->Cancel();
        if (m_held)
            m_startDue = true;
        else
            m_startTimer->start();
        emit columnsChanged();
    }
    Check();
    emit updated();
}

void CColumnLookup::Refresh()
{
    if (m_document)
        Start();
}

void CColumnLookup::Start()
{
    m_startTimer->stop();
    m_startDue = false;
    if (!m_document)
        return;
    m_started = Signature();
    CDiscoveryOptions options;
    options.reportFolder = ReportFolder();
    options.timeoutMs = m_timeoutMs;
    // The worker reads a copy: the user goes on editing the report meanwhile.
    std::shared_ptr<const CVornReport> report = CopyReport(m_document->GetReport());
    const QString signature = m_started;
    m_task->StartDetached([this, report, options, signature](const std::atomic_bool &cancel) {
        CDiscoveryOptions own = options;
        own.cancel = &cancel;
        CReportColumns columns = DiscoverColumns(*report, own);
        return [this, columns = std::move(columns), signature] {
            m_columns = columns;
            m_lookedUp = signature;
            Check();
            emit columnsChanged();
            emit updated();
        };
    });
    emit columnsChanged();
    emit updated();
}

void CColumnLookup::Check()
{
    CReportProblems problems;
    if (m_document)
        problems = CheckReport(m_document->GetReport(), m_columns);
    if (problems == m_problems)
        return;
    m_problems = problems;
    emit problemsChanged();
}

QStringList CColumnLookup::ColumnsFor(const CVornElement *item) const
{
    if (!m_document || !item)
        return {};
    const CVornReport &report = m_document->GetReport();
    const int index = report.IndexOfBand(item);
    if (index < 0 || IsBand(item->GetKind()))
        return {};
    const CVornBand *band = report.GetBands()[index];
    QString source;
    if (const auto *text = dynamic_cast<const CVornDbText *>(item)) {
        if (!text->GetQuery().trimmed().isEmpty()) {
            const CQueryOutcome *own = m_columns.Item(band->GetName(), text->GetName());
            return own && own->IsFor(text->GetQuery()) && own->state == CQueryOutcome::State::Ok
                    ? own->ColumnNames()
                    : QStringList();
        }
        source = text->GetDataSource();
    } else if (const auto *image = dynamic_cast<const CVornDbImage *>(item)) {
        source = image->GetDataSource();
    } else if (const auto *barcode = dynamic_cast<const CVornDbBarcode *>(item)) {
        source = barcode->GetDataSource();
    } else if (const auto *chart = dynamic_cast<const CVornChart *>(item)) {
        // A chart with a query of its own names columns no band's query tells.
        if (!chart->GetQuery().trimmed().isEmpty())
            return {};
        source = chart->GetDataSource();
    } else {
        return {};
    }
    const CVornBand *sourceBand = source.isEmpty() ? band : FindRunBand(report, source);
    const CQueryOutcome *outcome = sourceBand ? m_columns.Band(sourceBand->GetName()) : nullptr;
    return outcome && outcome->IsFor(sourceBand->GetDatabaseQuery())
                    && outcome->state == CQueryOutcome::State::Ok
            ? outcome->ColumnNames()
            : QStringList();
}

QHash<const CVornItem *, QString> CColumnLookup::ItemMarks() const
{
    QHash<const CVornItem *, QString> marks;
    if (!m_document)
        return marks;
    const auto &bands = m_document->GetReport().GetBands();
    for (const CReportProblem &problem : m_problems) {
        if (problem.band < 0 || problem.band >= bands.GetCount() || problem.item < 0
            || problem.item >= bands[problem.band]->GetItems().GetCount())
            continue;
        QString &text = marks[bands[problem.band]->GetItems()[problem.item]];
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += problem.message;
    }
    return marks;
}
