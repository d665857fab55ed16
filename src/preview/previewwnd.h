#pragma once

#include "reportrun.h"

#include <QDialog>

#include <memory>

class CPageModel;
class CPreviewRun;
class CPreviewView;
class CVornReport;
class QAction;
class QLabel;
class QProgressBar;
class QPushButton;

// The print preview: a modal window that lays the report out on a worker thread and shows
// each page as soon as it is laid out, scrolled continuously, with page navigation, zoom,
// Print... and Export PDF.... While the layout runs a progress row offers Cancel (Esc does the
// same); a cancelled layout keeps the pages shown so far on screen but prints and exports
// nothing, since a report cut short is no report. The window's size and zoom are kept in the
// settings (group "Preview").
//
//     CPreviewWnd window(report, options, title, parent);
//     if (!window.Run(message)) ... // the layout failed: message says why
class CPreviewWnd : public QDialog
{
    Q_OBJECT

public:
    enum class ZoomMode { Custom, FitWidth, FitPage };

    // The report must stay unchanged while the window exists.
    CPreviewWnd(const CVornReport &report, const CRunOptions &options, const QString &title,
                QWidget *parent = nullptr);
    ~CPreviewWnd() override;

    // Starts the layout and shows the window modally until the user closes it. True then;
    // false with the run's message when the layout failed (the window closes by itself).
    bool Run(QString &message);
    // Starts the layout without waiting (Run does this first).
    void StartLayout();

    const CPageModel &GetModel() const;
    CPreviewView *GetView() const { return m_view; }
    bool IsLayoutRunning() const;
    bool IsLayoutComplete() const;
    int GetPageCount() const;
    int GetCurrentPage() const;
    double GetZoom() const;
    ZoomMode GetZoomMode() const { return m_zoomMode; }

    void ShowPage(int index);
    void FirstPage();
    void PreviousPage();
    void NextPage();
    void LastPage();
    void ZoomIn();
    void ZoomOut();
    void SetZoom(double zoom);
    void FitWidth();
    void FitPage();
    void ActualSize();
    void CancelLayout();

    // Writes every page to a PDF file (atomically); false with a message.
    bool ExportPdf(const QString &path, QString &message);
    void Print();
    void Export();

    // The environment variable that makes the window close itself as soon as the layout
    // has finished, for tests that drive the engine library from outside.
    static const char *AutoCloseVariable() { return "VANTEL_PREVIEW_AUTOCLOSE"; }

signals:
    // The layout ended (see CPreviewRun::finished).
    void layoutFinished(bool succeeded, bool cancelled);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

    // The save dialog of Export PDF...; empty when the user cancelled.
    virtual QString AskPdfFileName();
    // Shows a message box titled "Vantel".
    virtual void ShowMessage(const QString &text);

private:
    QAction *AddAction(const QString &name, const QString &text, const QKeySequence &key);
    void CreateToolBar();
    void OnPagesAdded(int count);
    void OnLayoutFinished(bool succeeded, bool cancelled, const QString &message);
    void ApplyZoomMode();
    void UpdateControls();
    void LoadSettings();
    void SaveSettings();

    QString m_title;
    std::unique_ptr<CPreviewRun> m_run;
    CPreviewView *m_view = nullptr;
    QLabel *m_pageLabel = nullptr;
    QLabel *m_zoomLabel = nullptr;
    QWidget *m_progressRow = nullptr;
    QLabel *m_progressLabel = nullptr;
    QProgressBar *m_progressBar = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QAction *m_print = nullptr;
    QAction *m_export = nullptr;
    QAction *m_first = nullptr;
    QAction *m_previous = nullptr;
    QAction *m_next = nullptr;
    QAction *m_last = nullptr;
    ZoomMode m_zoomMode = ZoomMode::FitWidth;
    bool m_failed = false;
    QString m_failure;
    bool m_autoClose = false;
};
