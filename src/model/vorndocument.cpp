#include "vorndocument.h"

#include <QFileInfo>

CVornDocument::CVornDocument(QObject *parent)
    : QObject(parent)
{}

void CVornDocument::SetModifiedFlag(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

void CVornDocument::SetGridOn(bool on)
{
    if (m_grid == on)
        return;
    m_grid = on;
    emit gridChanged(on);
}

void CVornDocument::SetPathName(const QString &path)
{
    if (m_pathName == path)
        return;
    m_pathName = path;
    emit pathNameChanged(path);
}

QString CVornDocument::GetTitle() const
{
    if (m_pathName.isEmpty())
        return tr("Untitled");
    return QFileInfo(m_pathName).fileName();
}

void CVornDocument::MarkEdited()
{
    SetModifiedFlag(true);
    emit edited();
}

void CVornDocument::ReportChanged()
{
    MarkEdited();
    emit reportChanged();
}

void CVornDocument::PageSizeChanged()
{
    emit pageSizeChanged();
}

void CVornDocument::NotifyReportReset()
{
    emit reportReset();
}
