#pragma once

#include "vornreport.h"

#include <QObject>
#include <QUndoStack>

#include <memory>

class CEditRecord;

// The one door into the report: every change made by the design view, the
// property grid or the Run command goes through the document, which keeps the
// modified flag and tells the views. It owns the report for its whole life;
// New and Open reset and refill it, so pointers into the report stay valid only
// until reportReset is emitted.
//
// Every edit becomes one step on the document's undo stack (CReportEdit makes
// them). The modified flag follows the stack: undoing back to the state last
// saved clears it, redoing sets it again. New and Open clear the history. The
// history keeps at most HistoryStepLimit steps, and drops its oldest steps
// while the picture bytes it keeps alive exceed the byte limit.
//
// The file commands, the settings and the messages shown to the user belong to
// the application's document, which derives from this class.
class CVornDocument : public QObject
{
    Q_OBJECT

public:
    explicit CVornDocument(QObject *parent = nullptr);

    CVornReport &GetReport() { return m_report; }
    const CVornReport &GetReport() const { return m_report; }

    bool IsModified() const { return m_modified; }
    // True marks the report modified whatever the history says (a report
    // restored after a crash); false marks the present state as the saved one.
    void SetModifiedFlag(bool modified = true);

    static constexpr int HistoryStepLimit = 1000;
    static constexpr qsizetype DefaultHistoryByteLimit = qsizetype(64) * 1024 * 1024;

    // The undo stack; its commands replay edits through the document.
    QUndoStack *GetUndoStack() { return &m_history; }
    // Forgets every step (New, Open).
    void ClearHistory();
    // The picture bytes the history may keep alive.
    void SetHistoryByteLimit(qsizetype bytes) { m_historyByteLimit = bytes; }
    qsizetype GetHistoryBytes() const;

    // Takes a finished edit into the history as the newest step (CReportEdit).
    void PushEdit(std::unique_ptr<CEditRecord> record);
    // Takes an edit back or makes it again, restores the selection it had and
    // tells the views (the stack's commands call this).
    void ReplayHistory(CEditRecord &record, bool undo);

    // The alignment grid: drawn as dots and used to snap positions.
    bool IsGridOn() const { return m_grid; }
    void SetGridOn(bool on);
    void ToggleGrid() { SetGridOn(!m_grid); }

    // Full path of the file last opened or saved; empty for an unsaved report.
    const QString &GetPathName() const { return m_pathName; }
    void SetPathName(const QString &path);

    // The file name shown in the caption, "Untitled" for an unsaved report.
    QString GetTitle() const;

    // The model changed: every view redraws everything.
    void ReportChanged();

    // The page size or orientation changed: views recompute their extent.
    void PageSizeChanged();

signals:
    void modifiedChanged(bool modified);
    void gridChanged(bool on);
    void pathNameChanged(const QString &path);
    // The model was edited: bands or items added, removed, renamed, moved or
    // resized. Emitted for every step taken into the history and with every
    // reportChanged, undo and redo included.
    void edited();
    // Every view redraws the whole report.
    void reportChanged();
    // The page size or orientation changed.
    void pageSizeChanged();
    // The report was reset or replaced: every pointer into it is invalid.
    void reportReset();
    // An undo or redo changed the report and brought back a selection whose
    // primary object this is (null: none is selected); panes show it.
    void historyReplayed(CVornElement *selected);

protected:
    // Lets the application's document refill the report and tell the views.
    void NotifyReportReset();

private:
    void UpdateModified();
    void TrimHistory();

    CVornReport m_report;
    QUndoStack m_history;
    qsizetype m_historyByteLimit = DefaultHistoryByteLimit;
    QString m_pathName;
    bool m_modified = false;
    // Modified whatever the history says, until the next save, New or Open.
    bool m_forcedModified = false;
    bool m_grid = true;
};
