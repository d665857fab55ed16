#pragma once

#include <QList>
#include <QObject>

#include <functional>

class CQuarnView;
class CVornDocument;
class QAction;
class QMenu;
class QToolBar;
class QWidget;

// The Format menu's commands (align, make the same size, space evenly, size to fit, bring to
// front, send to back) on the design view's selection: each is one undo step, enabled while it
// would change something, also on the "Layout" toolbar and, when enabled, in the view's
// right-click menu. The main window makes the actions (so that it finds them by id) and places
// the menu and the toolbar.
class CFormatCommands : public QObject
{
    Q_OBJECT

public:
    // makeAction gives the window's action for a command id.
    CFormatCommands(CVornDocument *document, CQuarnView *view,
                    const std::function<QAction *(int id)> &makeAction, QObject *parent = nullptr);

    // The commands in menu order; 0 stands for a separator.
    static QList<int> MenuLayout();
    // The toolbar's buttons in order; 0 stands for a separator.
    static QList<int> ToolbarLayout();

    // Fills the "F&ormat" menu.
    void FillMenu(QMenu *menu) const;
    // The actions, for the view's right-click menu.
    QList<QAction *> Actions() const { return m_actions; }

    // Runs a command (by id) on the selection; false when it changed nothing.
    bool Run(int id);
    // Enables each command that would change something now.
    void UpdateEnabled();

private:
    CVornDocument *m_document;
    CQuarnView *m_view;
    QList<QAction *> m_actions;
};
