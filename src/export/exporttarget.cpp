#include "exporttarget.h"

#include <QCoreApplication>
#include <QDir>

bool CExportTarget::Open(const QString &path)
{
    m_path = path;
    m_file = std::make_unique<QSaveFile>(path);
    if (m_file->open(QIODevice::WriteOnly))
        return true;
    m_error = m_file->errorString();
    m_file.reset();
    return false;
}

bool CExportTarget::Commit()
{
    if (!m_file)
        return false;
    const bool committed = m_file->commit();
    if (!committed)
        m_error = m_file->errorString();
    m_file.reset();
    return committed;
}

void CExportTarget::Cancel()
{
    if (m_file)
        m_file->cancelWriting();
    m_file.reset();
}

QString CExportTarget::GetMessage() const
{
    QString reason = m_error;
    if (reason.isEmpty() && m_file)
        reason = m_file->errorString();
    return QCoreApplication::translate("CExportTarget", "Cannot write \"%1\": %2")
            .arg(QDir::toNativeSeparators(m_path), reason);
}
