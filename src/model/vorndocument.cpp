#include "vorndocument.h"

#include "editrecord.h"
#include "reportcommand.h"

#include <QFileInfo>
#include <QSignalBlocker>

#include <utility>
#include <vector>

CVornDocument::CVornDocument(QObject *parent)
    : QObject(parent)
{
    m_history.setUndoLimit(HistoryStepLimit);
    connect(&m_history, &QUndoStack::cleanChanged, this, &CVornDocument::UpdateModified);
}

void CVornDocument::SetModifiedFlag(bool modified)
{
    m_forcedModified = modified;
    if (!modified)
        m_history.setClean();
    UpdateModified();
}

void CVornDocument::UpdateModified()
{
    const bool modified = m_forcedModified || !m_history.isClean();
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

void CVornDocument::ClearHistory()
{
    m_history.clear();
    m_forcedModified = false;
    UpdateModified();
}

qsizetype CVornDocument::GetHistoryBytes() const
{
    qsizetype bytes = 0;
    for (int i = 0; i < m_history.count(); ++i) {
        const auto *command = static_cast<const CReportCommand *>(m_history.command(i));
        if (command->GetRecord())
            bytes += command->GetRecord()->Bytes();
    }
    return bytes;
}

void CVornDocument::PushEdit(std::unique_ptr<CEditRecord> record)
{
    // Taken before the push: a record merged into the step before it gives up its steps.
    const CReportChange change {record->Changes()};
    m_history.push(new CReportCommand(*this, std::move(record)));
    TrimHistory();
    TellChange(change);
}

void CVornDocument::TrimHistory()
{
    if (GetHistoryBytes() <= m_historyByteLimit)
        return;
    // The stack cannot drop its oldest commands by itself: their records are
    // taken out, the oldest dropped while the rest keep too many bytes (the
    // newest always stays), and the others pushed again as done. A push always
    // leaves the stack at its top, so the report is already where they end.
    const int count = m_history.count();
    const int clean = m_history.cleanIndex();
    std::vector<std::unique_ptr<CEditRecord>> records;
    qsizetype bytes = 0;
    for (int i = 0; i < count; ++i) {
        auto *command = const_cast<CReportCommand *>(
                static_cast<const CReportCommand *>(m_history.command(i)));
        records.push_back(command->TakeRecord());
        bytes += records.back()->Bytes();
    }
    size_t first = 0;
    while (first + 1 < records.size() && bytes > m_historyByteLimit)
        bytes -= records[first++]->Bytes();

    // Nothing a user sees changes: Undo still names the newest step, Redo
    // stays disabled, and the report was not at its saved state after a push.
    const QSignalBlocker blocker(&m_history);
    m_history.clear();
    for (size_t i = first; i < records.size(); ++i) {
        m_history.push(new CReportCommand(*this, std::move(records[i])));
        if (int(i) + 1 == clean)
            m_history.setClean();
    }
    // The cleared stack counts its empty start as clean, which is right when
    // the saved state is where the kept steps begin.
    if (clean < int(first))
        m_history.resetClean();
}

void CVornDocument::ReplayHistory(CEditRecord &record, bool undo)
{
    if (undo)
        record.Undo(m_report);
    else
        record.Redo(m_report);
    m_report.SetSelection(undo ? record.GetSelectedBefore() : record.GetSelectedAfter());
    TellChange({record.Changes() | CReportChange::Replay, m_report.FindFirstSelected()});
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

void CVornDocument::NotifyChanged(CReportChange::Parts parts)
{
    TellChange({parts});
}

void CVornDocument::TellChange(const CReportChange &change)
{
    if (m_holds == 0) {
        emit changed(change);
        return;
    }
    m_heldChange.parts |= change.parts;
    if (change.Has(CReportChange::Replay))
        m_heldChange.selected = change.selected;
    m_changeHeld = true;
}

CChangeHold::CChangeHold(CVornDocument &document)
    : m_document(&document)
{
    ++m_document->m_holds;
}

void CChangeHold::Release()
{
    CVornDocument *document = std::exchange(m_document, nullptr);
    if (!document || --document->m_holds > 0 || !document->m_changeHeld)
        return;
    const CReportChange change = std::exchange(document->m_heldChange, CReportChange());
    document->m_changeHeld = false;
    emit document->changed(change);
}

void CVornDocument::NotifyReportReset()
{
    emit reportReset();
}
