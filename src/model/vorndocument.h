#pragma once

#include "reportchange.h"
#include "vornreport.h"

#include <QObject>
#include <QUndoStack>

#include <memory>

class CEditRecord;

// The one door into the report: every change made by the design view, the
// property grid or the Run command goes through the document, which keeps the
// modified flag and tells the views, once per change, what it changed. It owns
// the report for its whole life; New and Open reset and refill it, so pointers
// into the report stay valid only until reportReset is emitted.
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

    // Takes a finished edit into the history as the newest step (CReportEdit)
    // and tells the views what it changed.
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

    // Tells the views of a change made outside the history: a report restored
    // after a crash, a database path rewritten on save. An edit never needs
    // this: taking it into the history tells them.
    void NotifyChanged(CReportChange::Parts parts = CReportChange::Everything);

signals:
    void modifiedChanged(bool modified);
    void gridChanged(bool on);
    void pathNameChanged(const QString &path);
    // The report changed: once for every step taken into the history, once
    // for every undo and redo (with the selection it brought back, which the
    // panes show) and once for every NotifyChanged. A view refreshes once.
    void changed(const CReportChange &change);
    // The report was reset or replaced: every pointer into it is invalid.
    void reportReset();

protected:
    // Lets the application's document refill the report and tell the views.
    void NotifyReportReset();

private:
    friend class CChangeHold;

    void UpdateModified();
    void TrimHistory();
    // Emits the change now, or adds it to the one notice held back (CChangeHold).
    void TellChange(const CReportChange &change);

    CVornReport m_report;
    QUndoStack m_history;
    qsizetype m_historyByteLimit = DefaultHistoryByteLimit;
    QString m_pathName;
    bool m_modified = false;
    // Modified whatever the history says, until the next save, New or Open.
    bool m_forcedModified = false;
    bool m_grid = true;
    // While a CChangeHold lives: the holds, and what the changes meanwhile touched.
    int m_holds = 0;
    bool m_changeHeld = false;
    CReportChange m_heldChange;
};

// Holds the document's change notices back while it lives, then tells the views once of all
// that changed meanwhile. A pane that is still using widgets of its own after an edit (rows a
// view's refresh may rebuild) holds them until it is done with them.
class CChangeHold
{
public:
    explicit CChangeHold(CVornDocument &document);
    CChangeHold(const CChangeHold &) = delete;
    CChangeHold &operator=(const CChangeHold &) = delete;
    ~CChangeHold() { Release(); }

    // Ends the hold before the end of the scope.
    void Release();

private:
    CVornDocument *m_document;
};
