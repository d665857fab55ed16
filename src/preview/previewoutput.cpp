// The preview's ways out: the Export menu and Print..., each done on a worker thread while the
// window stays usable, with the progress row and Cancel.

#include "previewwnd.h"

#include "backgroundtask.h"
#include "exporter.h"
#include "pagemodel.h"
#include "previewrun.h"
#include "reportprinter.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

struct ExportEntry
{
    CPreviewWnd::Command id;
    ExportFormat format;
    const char *name;
    const char *text;
};

// Export PDF first: the format most asked for.
const ExportEntry exportEntries[] = {
        {CPreviewWnd::ExportPdfCommand, ExportFormat::Pdf, "ExportPdf",
         QT_TRANSLATE_NOOP("CPreviewWnd", "&Export PDF...")},
        {CPreviewWnd::ExportPngCommand, ExportFormat::Png, "ExportPng",
         QT_TRANSLATE_NOOP("CPreviewWnd", "Export P&NG Images...")},
        {CPreviewWnd::ExportSvgCommand, ExportFormat::Svg, "ExportSvg",
         QT_TRANSLATE_NOOP("CPreviewWnd", "Export &SVG Drawings...")},
        {CPreviewWnd::ExportHtmlCommand, ExportFormat::Html, "ExportHtml",
         QT_TRANSLATE_NOOP("CPreviewWnd", "Export &HTML Page...")},
        {CPreviewWnd::ExportCsvCommand, ExportFormat::Csv, "ExportCsv",
         QT_TRANSLATE_NOOP("CPreviewWnd", "Export &CSV Data...")},
        {CPreviewWnd::ExportXlsxCommand, ExportFormat::Xlsx, "ExportXlsx",
         QT_TRANSLATE_NOOP("CPreviewWnd", "Export E&xcel Workbook...")},
};

} // namespace

void CPreviewWnd::CreateExportMenu(QToolBar &bar)
{
    auto *menu = new QMenu(this);
    menu->setObjectName(u"ExportMenu"_s);
    for (const ExportEntry &entry : exportEntries) {
        QAction *action
                = AddAction(QString::fromLatin1(entry.name), tr(entry.text), QKeySequence());
        action->setData(int(entry.id));
        const ExportFormat format = entry.format;
        connect(action, &QAction::triggered, this, [this, format] { ExportAs(format); });
        menu->addAction(action);
        m_exports.append(action);
    }
    m_export = m_exports.constFirst();
    // The button runs Export PDF; its arrow opens the menu of every format.
    auto *button = new QToolButton(&bar);
    button->setObjectName(u"ExportButton"_s);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setPopupMode(QToolButton::MenuButtonPopup);
    button->setMenu(menu);
    button->setDefaultAction(m_export);
    bar.addWidget(button);
}

bool CPreviewWnd::ExportPdf(const QString &path, QString &message)
{
    if (!IsLayoutComplete()) {
        message = tr("The report is not laid out completely");
        return false;
    }
    CExportOptions options;
    options.path = path;
    options.title = m_title;
    options.report = &m_report;
    return ExportModel(GetModel(), options, message);
}

void CPreviewWnd::Export()
{
    ExportAs(ExportFormat::Pdf);
}

void CPreviewWnd::ExportAs(ExportFormat format)
{
    if (!IsLayoutComplete() || IsJobRunning())
        return;
    CExportOptions options;
    options.format = format;
    options.path = AskExportFileName(format, options.pdfa);
    if (options.path.isEmpty())
        return;
    // A PNG or SVG name without a page number gets the page on screen.
    options.firstPage = ExportFiles::HasPagePattern(options.path) ? 1 : GetCurrentPage() + 1;
    StartExport(std::move(options));
}

bool CPreviewWnd::StartExport(CExportOptions options)
{
    if (!IsLayoutComplete())
        return false;
    options.title = m_title;
    options.report = &m_report;
    const std::shared_ptr<CPageModel> model = m_run->GetModel();
    return StartJob(tr("Exporting..."), [model, options](CBackgroundTask &task, QString &message) {
        CExportOptions run = options;
        run.cancel = &task.GetCancelFlag();
        run.progress = [&task](int done, int total) {
            task.ReportProgress(done, total);
        };
        return ExportModel(*model, run, message);
    });
}

void CPreviewWnd::Print()
{
    if (!IsLayoutComplete() || IsJobRunning())
        return;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(m_title);
    if (ReportPrinter::AskPrinter(GetModel(), *printer, this))
        StartPrint(std::move(printer));
}

bool CPreviewWnd::StartPrint(std::unique_ptr<QPrinter> printer)
{
    if (!IsLayoutComplete())
        return false;
    const std::shared_ptr<CPageModel> model = m_run->GetModel();
    std::shared_ptr<QPrinter> shared(std::move(printer));
    return StartJob(tr("Printing..."), [model, shared](CBackgroundTask &task, QString &message) {
        return ReportPrinter::PrintPages(
                *model, *shared, message, &task.GetCancelFlag(),
                [&task](int done, int total) { task.ReportProgress(done, total); });
    });
}

bool CPreviewWnd::StartJob(const QString &label,
                           std::function<bool(CBackgroundTask &, QString &)> work)
{
    if (IsJobRunning())
        return false;
    m_job = std::make_unique<CBackgroundTask>();
    m_jobLabel = label;
    connect(m_job.get(), &CBackgroundTask::progress, this, [this](int done, int total) {
        m_progressBar->setRange(0, total);
        m_progressBar->setValue(done);
        m_progressLabel->setText(tr("%1 page %2 of %3").arg(m_jobLabel).arg(done).arg(total));
    });
    connect(m_job.get(), &CBackgroundTask::finished, this, &CPreviewWnd::OnJobFinished);
    m_progressLabel->setText(label);
    m_progressBar->setRange(0, 0);
    m_progressBar->setVisible(true);
    m_cancelButton->setEnabled(true);
    m_cancelButton->setVisible(true);
    m_progressRow->setVisible(true);
    m_job->Start(std::move(work));
    UpdateControls();
    return true;
}

void CPreviewWnd::OnJobFinished(bool succeeded, bool cancelled, const QString &message)
{
    m_progressRow->setVisible(false);
    UpdateControls();
    emit jobFinished(succeeded, cancelled);
    if (!succeeded && !cancelled && !message.isEmpty())
        ShowMessage(message);
}

bool CPreviewWnd::IsJobRunning() const
{
    return m_job && m_job->IsRunning();
}

void CPreviewWnd::CancelJob()
{
    if (!IsJobRunning())
        return;
    m_job->Cancel();
    m_progressLabel->setText(tr("Cancelling..."));
    m_cancelButton->setEnabled(false);
}

QString CPreviewWnd::AskExportFileName(ExportFormat format, bool &pdfa)
{
    QString name = m_title.isEmpty() ? tr("Report") : m_title;
    name.replace(u'/', u'_');
    // A file per page: the page number goes where "%d" stands.
    if (ExportFiles::IsPerPage(format) && GetPageCount() > 1)
        name += u"-%d"_s;
    const QString suffix = ExportFiles::SuffixOf(format);
    QFileDialog dialog(this, tr("Export"), QDir(m_folder).filePath(name + u'.' + suffix),
                       ExportFiles::FilterOf(format));
    dialog.setObjectName(u"ExportDialog"_s);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    // Qt's own dialog, which takes the PDF/A check box.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QCheckBox *archive = nullptr;
    if (format == ExportFormat::Pdf) {
        archive = new QCheckBox(tr("PDF/A-1b for archiving"), &dialog);
        archive->setObjectName(u"PdfA"_s);
        if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout()))
            grid->addWidget(archive, grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    pdfa = archive && archive->isChecked();
    return dialog.selectedFiles().constFirst();
}

void CPreviewWnd::ShowMessage(const QString &text)
{
    QMessageBox::warning(this, u"Vantel"_s, text);
}
