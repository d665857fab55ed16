#pragma once

#include "exportoptions.h"
#include "reportrun.h"

#include <QDialog>

#include <functional>
#include <memory>

class CBackgroundTask;
class CPageModel;
class CPreviewRun;
class CPreviewView;
class CVornReport;
class QAction;
class QLabel;
class QPrinter;
class QProgressBar;
class QPushButton;
class QToolBar;

// The print preview: a modal window that lays the report out on a worker thread and shows
// each page as soon as it is laid out, scrolled continuously, with page navigation, zoom,
// Print... and the Export menu (PDF, PNG, SVG, HTML, CSV, XLSX). While the layout, an export
// or a print job runs, a progress row offers Cancel (Esc does the same); the window stays
// usable meanwhile. A cancelled layout keeps the pages shown so far on screen but prints and
// exports nothing, since a report cut short is no report; a cancelled export leaves no file.
// The window's size and zoom are kept in the settings (group "Preview").
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

    // The command ids of the Export menu, in its order.
    enum Command {
        ExportPdfCommand = 32880,
        ExportPngCommand = 32881,
        ExportSvgCommand = 32882,
        ExportHtmlCommand = 32883,
        ExportCsvCommand = 32884,
        ExportXlsxCommand = 32885,
    };

    // Writes every page to a PDF file (atomically), on the calling thread; false with a message.
    bool ExportPdf(const QString &path, QString &message);
    // Print...: the print dialog, then the job on a worker thread.
    void Print();
    // Export PDF...
    void Export();
    // The export in format: its save dialog (in the report's folder), then the export on a
    // worker thread.
    void ExportAs(ExportFormat format);
    // Starts an export of the laid-out report on a worker thread, with the progress row and
    // Cancel; false when the report is not complete or a job is running already.
    bool StartExport(CExportOptions options);
    // Starts printing the laid-out report on a prepared printer on a worker thread.
    bool StartPrint(std::unique_ptr<QPrinter> printer);
    bool IsJobRunning() const;
    void CancelJob();

    // The environment variable that makes the window close itself as soon as the layout
    // has finished, for tests that drive the engine library from outside.
    static const char *AutoCloseVariable() { return "VANTEL_PREVIEW_AUTOCLOSE"; }

signals:
    // The layout ended (see CPreviewRun::finished).
    void layoutFinished(bool succeeded, bool cancelled);
    // An export or a print job ended.
    void jobFinished(bool succeeded, bool cancelled);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

    // The save dialog of an export, starting in the report's folder; empty when the user
    // cancelled. For PDF it offers PDF/A-1b (pdfa).
    virtual QString AskExportFileName(ExportFormat format, bool &pdfa);
    // Shows a message box titled "Vantel".
    virtual void ShowMessage(const QString &text);

private:
    QAction *AddAction(const QString &name, const QString &text, const QKeySequence &key);
    void CreateToolBar();
    void CreateExportMenu(QToolBar &bar);
    bool StartJob(const QString &label, std::function<bool(CBackgroundTask &, QString &)> work);
    void OnJobFinished(bool succeeded, bool cancelled, const QString &message);
    void OnPagesAdded(int count);
    void OnLayoutFinished(bool succeeded, bool cancelled, const QString &message);
    void ApplyZoomMode();
    void UpdateControls();
    void LoadSettings();
    void SaveSettings();

    const CVornReport &m_report;
    QString m_title;
    QString m_folder; // the report's folder, where the save dialogs start
    std::unique_ptr<CPreviewRun> m_run;
    std::unique_ptr<CBackgroundTask> m_job;
    QString m_jobLabel;
    CPreviewView *m_view = nullptr;
    QLabel *m_pageLabel = nullptr;
    QLabel *m_zoomLabel = nullptr;
    QWidget *m_progressRow = nullptr;
    QLabel *m_progressLabel = nullptr;
    QProgressBar *m_progressBar = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QAction *m_print = nullptr;
    QAction *m_export = nullptr;
    QList<QAction *> m_exports;
    QAction *m_first = nullptr;
    QAction *m_previous = nullptr;
    QAction *m_next = nullptr;
    QAction *m_last = nullptr;
    ZoomMode m_zoomMode = ZoomMode::FitWidth;
    bool m_failed = false;
    QString m_failure;
    bool m_autoClose = false;
};
