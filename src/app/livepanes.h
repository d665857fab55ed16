#pragma once

#include <QList>
#include <QObject>

class CLivePreviewWnd;
class CQuarnView;
class CVornDocument;
class QDockWidget;
class QMainWindow;

// The panes that follow the report while it is edited, made and wired for the main window:
// "Live Preview", docked right of the design view. A click in the live preview selects
// through the design view, as a click there would; the view's selection comes back to the
// pane with every request for properties, undo and redo.
class CLivePanes : public QObject
{
    Q_OBJECT

public:
    // rightPanes: the panes tabbed together on the right, the one in front first.
    CLivePanes(QMainWindow &frame, CVornDocument &document, CQuarnView &view,
               const QList<QDockWidget *> &rightPanes);

    // The panes in the order of F6 and of the View menu.
    QList<QDockWidget *> Panes() const;
    CLivePreviewWnd *GetLivePreview() const { return m_livePreview; }

private:
    CLivePreviewWnd *m_livePreview;
};
