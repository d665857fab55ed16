#include "recoverymanager.h"

#include "reportfile.h"
#include "vorndocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

const QString ReportSuffix = QStringLiteral(".vnt");
const QString NoteSuffix = QStringLiteral(".note");
const QString LockSuffix = QStringLiteral(".lock");

// A lock counts as abandoned only when its process is gone, never by its age:
// a designer may run for days.
std::unique_ptr<QLockFile> MakeLock(const QString &base)
{
    auto lock = std::make_unique<QLockFile>(base + LockSuffix);
    lock->setStaleLockTime(0);
    return lock;
}

QString ReadNote(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll()).section(u'\n', 0, 0);
}

bool WriteNote(const QString &path, const QString &originalPath)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(originalPath.toUtf8() + '\n');
    return file.commit();
}

} // namespace

CRecoveryManager::CRecoveryManager(CVornDocument *document, QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_sessionName(QStringLiteral("session-%1-%2")
                            .arg(QDateTime::currentMSecsSinceEpoch())
                            .arg(QCoreApplication::applicationPid()))
{
    m_timer.setInterval(DefaultInterval);
    connect(&m_timer, &QTimer::timeout, this, &CRecoveryManager::Autosave);
    // A report that is no longer modified (saved, opened, new) needs no copy.
    connect(m_document, &CVornDocument::modifiedChanged, this, [this](bool modified) {
        if (!modified)
            Discard();
    });
}

CRecoveryManager::~CRecoveryManager()
{
    if (!m_abandoned)
        Discard();
}

QString CRecoveryManager::RecoveryFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
            + QStringLiteral("/recovery");
}

QString CRecoveryManager::BasePath() const
{
    return RecoveryFolder() + u'/' + m_sessionName;
}

QString CRecoveryManager::GetRecoveryFile() const
{
    return BasePath() + ReportSuffix;
}

QString CRecoveryManager::GetNoteFile() const
{
    return BasePath() + NoteSuffix;
}

void CRecoveryManager::Start(int interval)
{
    m_abandoned = false;
    m_timer.start(interval);
}

bool CRecoveryManager::Autosave()
{
    if (m_abandoned || !m_document->IsModified())
        return false;
    if (!m_lock) {
        // The lock is taken before any file is written, so a file without a live lock is
        // always an orphan.
        if (!QDir().mkpath(RecoveryFolder()))
            return false;
        m_lock = MakeLock(BasePath());
        if (!m_lock->tryLock(0)) {
            m_lock.reset();
            return false;
        }
    }
    // The note first: a report copy without its note would come back as untitled. A
    // failure is tried again at the next tick; a timer has nobody to tell.
    QString message;
    return WriteNote(GetNoteFile(), m_document->GetPathName())
            && VornTemplate::Save(m_document->GetReport(), GetRecoveryFile(), message);
}

void CRecoveryManager::Discard()
{
    if (!m_lock)
        return;
    QFile::remove(GetRecoveryFile());
    QFile::remove(GetNoteFile());
    m_lock->unlock();
    m_lock.reset();
}

void CRecoveryManager::Abandon()
{
    m_timer.stop();
    m_abandoned = true;
    // Without its lock the files look like those of a session that died.
    if (m_lock)
        m_lock->unlock();
    m_lock.reset();
}

std::optional<CRecoveryManager::Orphan> CRecoveryManager::TakeOrphan()
{
    const QDir folder(RecoveryFolder());
    const QFileInfoList reports
            = folder.entryInfoList({u'*' + ReportSuffix}, QDir::Files, QDir::Time);
    for (const QFileInfo &report : reports) {
        const QString base = report.absolutePath() + u'/' + report.completeBaseName();
        std::unique_ptr<QLockFile> lock = MakeLock(base);
        if (!lock->tryLock(0))
            continue; // a running session's
        // Its owner may have ended cleanly between the listing and the lock.
        if (!QFileInfo::exists(report.absoluteFilePath())) {
            lock->unlock();
            continue;
        }
        Orphan orphan;
        orphan.reportPath = report.absoluteFilePath();
        orphan.originalPath = ReadNote(base + NoteSuffix);
        orphan.savedAt = report.lastModified();
        orphan.lock = std::move(lock);
        return orphan;
    }
    return std::nullopt;
}

void CRecoveryManager::DiscardOrphan(Orphan &orphan)
{
    if (orphan.reportPath.isEmpty())
        return;
    const QString base = QFileInfo(orphan.reportPath).absolutePath() + u'/'
            + QFileInfo(orphan.reportPath).completeBaseName();
    QFile::remove(orphan.reportPath);
    QFile::remove(base + NoteSuffix);
    if (orphan.lock)
        orphan.lock->unlock();
    orphan.lock.reset();
    orphan.reportPath.clear();
}
