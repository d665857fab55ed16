#pragma once

#include "editstep.h"

#include <QString>

#include <memory>
#include <vector>

class CVornElement;
class CVornReport;

// One user's edit of the report as the history keeps it: its steps in the
// order they were made, the selection before and after it (the primary object
// first, as CVornReport::GetSelection gives it), the name the
// Undo and Redo commands show ("Move", "Delete") and, for edits that follow
// each other in small pieces (a drag, repeated arrow keys), a merge tag.
class CEditRecord
{
public:
    using Selection = std::vector<CVornElement *>;

    CEditRecord(const QString &text, Selection selectedBefore);
    CEditRecord(const CEditRecord &) = delete;
    CEditRecord &operator=(const CEditRecord &) = delete;

    const QString &GetText() const { return m_text; }
    const QString &GetMergeTag() const { return m_mergeTag; }
    void SetMergeTag(const QString &tag) { m_mergeTag = tag; }

    const Selection &GetSelectedBefore() const { return m_selectedBefore; }
    const Selection &GetSelectedAfter() const { return m_selectedAfter; }
    void SetSelectedAfter(Selection selection) { m_selectedAfter = std::move(selection); }

    void Add(std::unique_ptr<CEditStep> step) { m_steps.push_back(std::move(step)); }
    bool IsEmpty() const { return m_steps.empty(); }
    // Takes the after states and drops the field steps that change nothing.
    void Finish();
    // Whether every step changes nothing.
    bool IsNoOp() const;

    void Undo(CVornReport &report);
    void Redo(CVornReport &report);
    // What the record changes, done or undone alike: its steps' parts, and the selection when
    // it ends with another one than it began with.
    CReportChange::Parts Changes() const;

    // The picture bytes the record keeps alive, counted when it was finished.
    qsizetype Bytes() const { return m_bytes; }

    // Absorbs `next` when both carry the same merge tag, next begins with the
    // selection this record ends with, and both only change fields of objects:
    // this record then ends where next ends. Steps of next on objects this
    // record does not change yet are taken over from it.
    bool MergeWith(CEditRecord &next);

private:
    void CountBytes();

    QString m_text;
    QString m_mergeTag;
    Selection m_selectedBefore;
    Selection m_selectedAfter;
    std::vector<std::unique_ptr<CEditStep>> m_steps;
    qsizetype m_bytes = 0;
};
