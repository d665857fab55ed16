#pragma once

#include <QMainWindow>

class CElementsView;
class CQuarnDoc;
class CQuarnView;
class QAction;

// The main window: the design view in the middle and the File and View menus
// that drive the document. File commands prompt to save a modified report and
// show every failure in a message box titled "Vantel".
class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    explicit CMainFrame(CQuarnDoc *document, QWidget *parent = nullptr);

    CQuarnDoc *GetDocument() const { return m_document; }
    CQuarnView *GetView() const { return m_view; }
    CElementsView *GetElementsView() const { return m_elements; }

    // File New: asks to save a modified report first; false when the user
    // cancelled.
    bool DoFileNew();
    // File Open with its file dialog.
    bool DoFileOpen();
    // Opens a file without asking for it (command line, dropped files, recent
    // files): asks to save a modified report first, shows the reader's message
    // on failure.
    bool OpenDocumentFile(const QString &path);
    // File Save: the current path, or Save As for a report never saved.
    bool DoFileSave();
    // File Save As with its file dialog.
    bool DoFileSaveAs();
    // Saves to the given path, showing the writer's message on failure.
    bool SaveDocumentTo(const QString &path);

    // Asks whether to save a modified report: true to go on (saved or not),
    // false when the user cancelled or the save failed.
    bool SaveModified();

    // Shows a message box titled "Vantel" with an OK button.
    void ShowMessage(const QString &text);

    QAction *GetAlignToGridAction() const { return m_alignToGrid; }

protected:
    void closeEvent(QCloseEvent *event) override;

    // The file dialogs; an empty result means the user cancelled.
    virtual QString AskOpenFileName();
    virtual QString AskSaveFileName();

private:
    void CreateMenus();
    void CreatePanes();
    void UpdateCaption();
    void OnReportOpened(const QString &path);

    CQuarnDoc *m_document;
    CQuarnView *m_view;
    CElementsView *m_elements = nullptr;
    QAction *m_alignToGrid = nullptr;
};
