#pragma once

#include <QUndoCommand>

#include <memory>

class CEditRecord;
class CVornDocument;

// The undo stack's entry for one edit of the document's report. The edit has
// already been made when the command is pushed, so its first redo does
// nothing; later undos and redos replay the record through the document, which
// then restores the selection and tells the views.
class CReportCommand final : public QUndoCommand
{
public:
    // Mergeable commands share this id; CEditRecord decides whether two merge.
    static constexpr int MergeId = 1;

    CReportCommand(CVornDocument &document, std::unique_ptr<CEditRecord> record,
                   bool alreadyDone = true);
    ~CReportCommand() override;

    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

    CEditRecord *GetRecord() const { return m_record.get(); }
    // Hands the record over, leaving an empty command (the history uses this
    // to drop its oldest entries).
    std::unique_ptr<CEditRecord> TakeRecord();

private:
    CVornDocument &m_document;
    std::unique_ptr<CEditRecord> m_record;
    bool m_skipRedo;
};
