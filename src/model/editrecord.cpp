#include "editrecord.h"

#include <algorithm>

CEditRecord::CEditRecord(const QString &text, CVornElement *selectedBefore)
    : m_text(text)
    , m_selectedBefore(selectedBefore)
{}

void CEditRecord::Finish()
{
    for (const auto &step : m_steps)
        step->CaptureAfter();
    std::erase_if(m_steps, [](const auto &step) { return step->IsNoOp(); });
    CountBytes();
}

bool CEditRecord::IsNoOp() const
{
    return std::all_of(m_steps.cbegin(), m_steps.cend(),
                       [](const auto &step) { return step->IsNoOp(); });
}

void CEditRecord::CountBytes()
{
    m_bytes = 0;
    for (const auto &step : m_steps)
        m_bytes += step->Bytes();
}

void CEditRecord::Undo(CVornReport &report)
{
    for (auto it = m_steps.rbegin(); it != m_steps.rend(); ++it)
        (*it)->Undo(report);
}

void CEditRecord::Redo(CVornReport &report)
{
    for (const auto &step : m_steps)
        step->Redo(report);
}

bool CEditRecord::MergeWith(const CEditRecord &next)
{
    if (m_mergeTag.isEmpty() || m_mergeTag != next.m_mergeTag || m_steps.size() != 1
        || next.m_steps.size() != 1 || !m_steps.front()->Target()
        || !m_steps.front()->TakeAfter(*next.m_steps.front()))
        return false;
    m_selectedAfter = next.m_selectedAfter;
    CountBytes();
    return true;
}
