#pragma once

#include "customizedlg.h"
#include "recentfilelist.h"

#include <QHash>
#include <QMainWindow>

class CDataPane;
class CElementsView;
class CFormatCommands;
class CKeyIndicators;
class CLivePanes;
class COutlineWnd;
class CPropertiesWnd;
class CVornElement;
class CQuarnDoc;
class CQuarnView;
class QAction;
class QActionGroup;
class QDockWidget;
class QLabel;
class QMenu;
class QToolBar;
class QWidgetAction;

// The main window: the design view in the middle, the Elements pane on the
// left and the Properties and Outline panes on the right, the menu bar, the
// "Standard" toolbar and the status bar (with the zoom and the position and
// size of an object being moved). It carries out the file commands (prompting to
// save a modified report and showing every failure in a message box titled
// "Vantel"), the Edit menu (undo, redo and the clipboard), Run, About, the application looks, the
// recent-file list, files dropped on it, F6 between the panes, and keeps its layout in the
// "Workspace" settings.
//
// Every command's action is named "ID_<id>" and carries its id as data (see
// CommandTable); FindCommand looks one up.
//
// The code is split by concern: mainframe.cpp builds the window and wires its
// parts, mainframefile.cpp holds the file commands, mainframeedit.cpp the Edit
// menu and the clipboard, mainframelayout.cpp the toolbar, the looks and the
// workspace settings. New parts keep their own wiring in files of their own.
class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    explicit CMainFrame(CQuarnDoc *document, QWidget *parent = nullptr);
    ~CMainFrame() override;

    CQuarnDoc *GetDocument() const { return m_document; }
    CQuarnView *GetView() const { return m_view; }
    CElementsView *GetElementsView() const { return m_elements; }
    CPropertiesWnd *GetPropertiesWnd() const { return m_properties; }
    COutlineWnd *GetOutlineWnd() const { return m_outline; }
    // The panes that follow the report while it is edited (live preview).
    CLivePanes *GetLivePanes() const { return m_livePanes; }
    CDataPane *GetDataPane() const { return m_data; }
    QToolBar *GetStandardToolBar() const { return m_toolBar; }
    QToolBar *GetLayoutToolBar() const { return m_layoutBar; }
    CFormatCommands *GetFormatCommands() const { return m_format; }
    const CRecentFileList &GetRecentFiles() const { return m_recentFiles; }
    // The message pane of the status bar, which shows "Ready" while no prompt shows.
    QLabel *GetReadyPane() const { return m_readyPane; }
    CKeyIndicators *GetKeyIndicators() const { return m_keyIndicators; }
    // The zoom of the view, and the position and size of the object being dragged or
    // nudged (empty otherwise).
    QLabel *GetZoomPane() const { return m_zoomPane; }
    QLabel *GetPositionPane() const { return m_positionPane; }
    // The images of UserImages.bmp, read when the frame was made; empty without it.
    const QList<QPixmap> &GetUserImages() const { return m_userImages; }

    // The action of a command id; null when the frame has none.
    QAction *FindCommand(int id) const;
    QAction *GetAlignToGridAction() const { return FindCommand(32778); }

    // File New: asks to save a modified report first; false when the user
    // cancelled.
    bool DoFileNew();
    // File > New Label Report...: a sheet asked for, then a new report of its labels.
    bool DoFileNewLabels();
    // File Open with its file dialog.
    bool DoFileOpen();
    // Opens a file without asking for it (command line, dropped files, recent
    // files): asks to save a modified report first, shows the reader's message
    // on failure.
    bool OpenDocumentFile(const QString &path);
    // Opens entry index of the recent-file list. An entry that cannot be
    // opened (its message shown) leaves the list; one the user did not open
    // because they cancelled the save prompt stays.
    bool OpenRecentFile(int index);
    // File Save: the current path, or Save As for a report never saved.
    bool DoFileSave();
    // File Save As with its file dialog.
    bool DoFileSaveAs();
    // Saves to the given path, showing the writer's message on failure. A report that fails
    // validation is saved only when the user says so (ConfirmSaveWithErrors).
    bool SaveDocumentTo(const QString &path);

    // Puts an automatically saved copy in place of the current report. The
    // report keeps the path it was edited under and is marked modified, so
    // that Save writes where the user expects. False, after a message, when
    // the copy cannot be read.
    bool RestoreRecoveredReport(const QString &recoveryPath, const QString &originalPath);

    // Asks whether to save a modified report: true to go on (saved or not),
    // false when the user cancelled or the save failed.
    bool SaveModified();

    // Edit > Copy, Cut, Paste and Duplicate for the selected band or item (a band with its
    // items). Cut and Duplicate are one undo step each; Duplicate leaves the clipboard alone.
    // Paste takes only our own clipboard format and says in the status bar why it pasted
    // nothing. False when nothing was done.
    bool DoCopy();
    bool DoCut();
    bool DoPaste();
    bool DoDuplicate();

    // Shows a message box titled "Vantel" with an OK button.
    void ShowMessage(const QString &text);

    // View > Application Look: applies the look at once, marks it in the menu
    // and keeps it in the settings.
    void ChooseLook(int id);

    // F6 and Shift+F6: the focus goes to the next or previous of the design
    // view, the Elements pane, the Data pane, the Properties pane and the
    // Outline pane that are shown.
    void SwitchPane(bool forward);

    // The buttons of the "Standard" and "Layout" toolbars with what the user
    // chose for them, and applying (and keeping) new choices.
    QList<CCustomizeDlg::Button> GetToolbarButtons() const;
    void ApplyToolbarButtons(const QList<CCustomizeDlg::Button> &buttons);
    // Opens the Customize dialog.
    void Customize();

    // Writes the window's geometry, the toolbar and pane layout and the status
    // bar's visibility to the "Workspace" settings; done when the window closes.
    void SaveWorkspace();

    QMenu *createPopupMenu() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

    // Asks whether to save a report that fails validation with this message.
    virtual bool ConfirmSaveWithErrors(const QString &message);

    // The file dialogs; an empty result means the user cancelled.
    virtual QString AskOpenFileName();
    virtual QString AskSaveFileName();

private:
    enum class OpenResult { Opened, Cancelled, Failed };

    QAction *AddCommand(int id);
    // A new command's action, added to the menu.
    QAction *AddTo(QMenu *menu, int id);
    void CreateMenus();
    void CreateLookMenu(QMenu *view);
    void CreateEditMenu();
    // Undo and Redo name the step they take back or make again.
    void UpdateUndoCommands();
    // The clipboard commands follow the selection and the clipboard.
    void UpdateEditCommands();
    bool PasteFragment(const QByteArray &bytes, const QString &stepName);
    void CreateToolBar();
    void CreateStatusBar();
    void CreatePanes();
    void CreateZoomCommands(QMenu *view);
    // The docking panes in the order of F6 and of the View menu.
    QList<QDockWidget *> Panes() const;
    void OnZoomChanged();
    void ShowPosition(CVornElement *element);
    void FollowPosition();
    void OnPropertiesRequested(CVornElement *element);
    void LoadWorkspace();
    void RebuildToolBar();
    // The buttons of one of the toolbars in order; 0 stands for a separator.
    QList<int> ToolbarLayout(const QToolBar *toolBar) const;
    void RefreshIcons();
    void UpdateLookMarks();
    void UpdateRecentMenu();
    void AddRecentFile(const QString &path);
    void UpdateCaption();
    OpenResult OpenFile(const QString &path);
    // Reads the file into the document; shows the reader's message on failure.
    bool ReadFile(const QString &path);
    void OnReportOpened();
    void RunReportCommand();
    void PreviewReportCommand();
    void PrintReportCommand();
    void ShowAbout();

    CQuarnDoc *m_document;
    CQuarnView *m_view;
    CElementsView *m_elements = nullptr;
    CPropertiesWnd *m_properties = nullptr;
    COutlineWnd *m_outline = nullptr;
    CLivePanes *m_livePanes = nullptr;
    CDataPane *m_data = nullptr;
    QToolBar *m_toolBar = nullptr;
    QToolBar *m_layoutBar = nullptr;
    CFormatCommands *m_format = nullptr;
    QWidgetAction *m_customizeButton = nullptr;
    QMenu *m_fileMenu = nullptr;
    QAction *m_recentEnd = nullptr;
    QList<QAction *> m_recentActions;
    QActionGroup *m_looks = nullptr;
    QLabel *m_readyPane = nullptr;
    CKeyIndicators *m_keyIndicators = nullptr;
    QLabel *m_zoomPane = nullptr;
    QLabel *m_positionPane = nullptr;
    // The object whose position the pane shows; compared, never followed.
    const CVornElement *m_positionElement = nullptr;
    // The zoom choice in the settings, written only when the user changes it.
    double m_storedZoom = 0.0;
    QHash<int, QAction *> m_commands;

    CRecentFileList m_recentFiles;
    QList<QPixmap> m_userImages;
    // Toolbar buttons the user took off, and user images chosen for buttons.
    QList<int> m_hiddenButtons;
    QHash<int, int> m_buttonImages;
};
