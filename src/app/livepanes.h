#pragma once

#include <QList>
#include <QObject>

class CColumnLookup;
class CLivePreviewWnd;
class CProblemsWnd;
class CPropertiesWnd;
class CQuarnView;
class CVornDocument;
class QDockWidget;
class QMainWindow;
class QToolButton;

// The panes that follow the report while it is edited, made and wired for the main window:
// "Live Preview", docked right of the design view, and "Problems", tabbed with the panes on the
// right, with its count in the status bar. A click in the live preview selects through the
// design view, as a click there would; the view's selection comes back to the pane with every
// request for properties, undo and redo. The problems are checked again once after every
// change, before it is drawn, and again when the column look-up (when there is one) knows more.
class CLivePanes : public QObject
{
    Q_OBJECT

public:
    // rightPanes: the panes tabbed together on the right, the one in front first.
    CLivePanes(QMainWindow &frame, CVornDocument &document, CQuarnView &view,
               CPropertiesWnd &properties, const QList<QDockWidget *> &rightPanes,
               CColumnLookup *lookup);

    // The panes in the order of F6 and of the View menu.
    QList<QDockWidget *> Panes() const;
    CLivePreviewWnd *GetLivePreview() const { return m_livePreview; }
    CProblemsWnd *GetProblems() const { return m_problems; }
    // The status bar's count of problems, which opens the pane.
    QToolButton *GetProblemCount() const { return m_count; }

    // Checks the report again and shows what was found.
    void RefreshProblems();

signals:
    // The report was checked again and its problems shown: once for every change of the
    // report, and again when the column look-up knows more.
    void problemsChecked();

private:
    CVornDocument &m_document;
    CColumnLookup *m_lookup;
    CLivePreviewWnd *m_livePreview;
    CProblemsWnd *m_problems;
    QToolButton *m_count;
};
