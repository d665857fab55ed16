#include "editrecord.h"

#include <algorithm>

CEditRecord::CEditRecord(const QString &text, Selection selectedBefore)
    : m_text(text)
    , m_selectedBefore(std::move(selectedBefore))
{ }

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

CReportChange::Parts CEditRecord::Changes() const
{
    CReportChange::Parts parts;
    for (const auto &step : m_steps)
        parts |= step->Changes();
    if (m_selectedBefore != m_selectedAfter)
        parts |= CReportChange::Selection;
    return parts;
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

bool CEditRecord::MergeWith(CEditRecord &next)
{
    // Another selection makes another step, even for the same keys: each arrow key press on
    // other objects is undone on its own.
    if (m_mergeTag.isEmpty() || m_mergeTag != next.m_mergeTag
        || m_selectedAfter != next.m_selectedBefore)
        return false;
    const auto fieldsOnly = [](const CEditRecord &record) {
        return std::all_of(record.m_steps.cbegin(), record.m_steps.cend(),
                           [](const auto &step) { return step->Target() != nullptr; });
    };
    if (m_steps.empty() || !fieldsOnly(*this) || !fieldsOnly(next))
        return false;
    for (auto &step : next.m_steps) {
        const auto same = std::find_if(m_steps.begin(), m_steps.end(), [&step](const auto &mine) {
            return mine->Target() == step->Target();
        });
        // A step on an object this record does not change yet is taken over as it is: field
        // steps of different objects undo in any order.
        if (same == m_steps.end() || !(*same)->TakeAfter(*step))
            m_steps.push_back(std::move(step));
    }
    next.m_steps.clear();
    m_selectedAfter = next.m_selectedAfter;
    CountBytes();
    return true;
}
