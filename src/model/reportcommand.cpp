#include "reportcommand.h"

#include "editrecord.h"
#include "vorndocument.h"

CReportCommand::CReportCommand(CVornDocument &document, std::unique_ptr<CEditRecord> record,
                               bool alreadyDone)
    : m_document(document)
    , m_record(std::move(record))
    , m_skipRedo(alreadyDone)
{
    setText(m_record->GetText());
}

CReportCommand::~CReportCommand() = default;

void CReportCommand::undo()
{
    if (m_record)
        m_document.ReplayHistory(*m_record, true);
}

void CReportCommand::redo()
{
    if (m_skipRedo) {
        m_skipRedo = false;
        return;
    }
    if (m_record)
        m_document.ReplayHistory(*m_record, false);
}

int CReportCommand::id() const
{
    return m_record && !m_record->GetMergeTag().isEmpty() ? MergeId : -1;
}

bool CReportCommand::mergeWith(const QUndoCommand *other)
{
    // The stack deletes the other command once it is merged, so its steps may be taken over.
    auto *next = const_cast<CReportCommand *>(dynamic_cast<const CReportCommand *>(other));
    if (!m_record || !next || !next->m_record || !m_record->MergeWith(*next->m_record))
        return false;
    // Back where it started (dragged away and back): the stack drops it.
    setObsolete(m_record->IsNoOp());
    return true;
}

std::unique_ptr<CEditRecord> CReportCommand::TakeRecord()
{
    return std::move(m_record);
}
