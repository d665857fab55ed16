#include "schemareader.h"

#include "backgroundtask.h"
#include "fileutil.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

CSchemaReader::CSchemaReader(QObject *parent)
    : QObject(parent)
    , m_task(new CBackgroundTask(this))
    , m_startTimer(new QTimer(this))
{
    m_startTimer->setSingleShot(true);
    m_startTimer->setInterval(0);
    connect(m_startTimer, &QTimer::timeout, this, &CSchemaReader::Start);
}

CSchemaReader::~CSchemaReader() = default;

void CSchemaReader::SetDocument(CVornDocument *document)
{
    if (m_document == document)
        return;
    if (m_document)
        disconnect(m_document, nullptr, this, nullptr);
    m_document = document;
    m_started.clear();
    if (document) {
        connect(document, &CVornDocument::changed, this, &CSchemaReader::OnEdited);
        connect(document, &CVornDocument::reportReset, this, &CSchemaReader::OnEdited);
        connect(document, &CVornDocument::pathNameChanged, this, &CSchemaReader::OnEdited);
    }
    OnEdited();
}

void CSchemaReader::SetHeld(bool held)
{
    m_held = held;
    if (!held && m_startDue) {
        m_startDue = false;
        m_startTimer->start();
    }
}

bool CSchemaReader::IsRunning() const
{
    return m_task->IsRunning() || m_startTimer->isActive() || m_startDue;
}

bool CSchemaReader::HasDatabase() const
{
    const int type = m_document ? m_document->GetReport().GetDatabaseType() : -1;
    return type >= 0 && type <= 2;
}

QString CSchemaReader::ReportFolder() const
{
    const QString path = m_document ? m_document->GetPathName() : QString();
    return path.isEmpty() ? QDir::currentPath() : FolderOfPath(QFileInfo(path).absoluteFilePath());
}

QString CSchemaReader::Signature() const
{
    if (!m_document)
        return {};
    const CVornReport &report = m_document->GetReport();
    return QString::number(report.GetDatabaseType()) + QChar(0x1F) + report.GetConnectString()
            + QChar(0x1F) + ReportFolder();
}

void CSchemaReader::OnEdited()
{
    const QString signature = Signature();
    if (signature == m_started)
        return;
    m_started = signature;
    m_task->Cancel();
    m_catalogue = CCatalogue();
    m_error.clear();
    if (!HasDatabase()) {
        m_startTimer->stop();
        m_startDue = false;
    } else if (m_held) {
        m_startDue = true;
    } else {
        m_startTimer->start();
    }
    emit catalogueChanged();
}

void CSchemaReader::Refresh()
{
    if (m_document && HasDatabase())
        Start();
}

void CSchemaReader::Start()
{
    m_startTimer->stop();
    m_startDue = false;
    if (!m_document || !HasDatabase())
        return;
    m_started = Signature();
    const CVornReport &report = m_document->GetReport();
    const int type = report.GetDatabaseType();
    const QString connect = report.GetConnectString();
    CCatalogueOptions options;
    options.reportFolder = ReportFolder();
    options.timeoutMs = m_timeoutMs;
    options.tableLimit = m_tableLimit;
    m_task->StartDetached([this, type, connect, options](const std::atomic_bool &cancel) {
        CCatalogueOptions own = options;
        own.cancel = &cancel;
        CCatalogue catalogue;
        QString message;
        if (!ReadCatalogue(type, connect, own, catalogue, message))
            catalogue = CCatalogue();
        return [this, catalogue = std::move(catalogue), message] {
            m_catalogue = catalogue;
            m_error = message;
            emit catalogueChanged();
        };
    });
    emit catalogueChanged();
}
