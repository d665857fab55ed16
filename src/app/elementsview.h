#pragma once

#include <QDockWidget>

class CElementsCtrl;

// The "Elements" pane, docked on the left of the main frame: the list of what can be inserted
// into the report, inside a one-pixel frame. Choosing a row tells the design view which kind
// its next click inserts; the view sends it back to "Pointer" after every release.
class CElementsView : public QDockWidget
{
    Q_OBJECT

public:
    explicit CElementsView(QWidget *parent = nullptr);

    CElementsCtrl *GetCtrl() const { return m_ctrl; }

    // Selects and focuses the row of the kind; 0 shows "Pointer".
    void SelectKind(int kind);

signals:
    // The user chose a row; kind 0 is the pointer.
    void insertKindChosen(int kind);
    // The user double-clicked a row: the kind stays chosen after each insertion.
    void insertKindLocked(int kind);

private:
    CElementsCtrl *m_ctrl;
};
