// The main window's file commands: New, Open, Save, the recent files, Run, Preview and
// Print, restoring a recovered report, closing and files dropped on the window.
#include "mainframe.h"

#include "commandtable.h"
#include "labelsheetdlg.h"
#include "propertieswnd.h"
#include "quarndoc.h"
#include "reportfile.h"
#include "reportpreviewer.h"
#include "reportrunner.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>

using namespace CommandTable;

namespace {

QString FileFilter()
{
    return QCoreApplication::translate("Vantel", "Vantel Reports (*.vnt)");
}

// The first local file among dropped URLs that is a report.
QString DroppedReport(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return QString();
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile()
            && url.toLocalFile().endsWith(QStringLiteral(".vnt"), Qt::CaseInsensitive))
            return url.toLocalFile();
    }
    return QString();
}

} // namespace

void CMainFrame::UpdateRecentMenu()
{
    for (QAction *action : std::as_const(m_recentActions))
        delete action;
    m_recentActions.clear();
    if (m_recentFiles.GetCount() == 0) {
        // An empty list shows its place, disabled.
        auto *placeholder = new QAction(tr("Recent File"), this);
        placeholder->setObjectName(ObjectName(RecentFileFirst));
        placeholder->setData(int(RecentFileFirst));
        placeholder->setEnabled(false);
        m_recentActions.append(placeholder);
    }
    for (int i = 0; i < m_recentFiles.GetCount(); ++i) {
        auto *action = new QAction(CRecentFileList::MenuText(i, m_recentFiles.GetAt(i)), this);
        action->setObjectName(ObjectName(RecentFileFirst + i));
        action->setData(RecentFileFirst + i);
        action->setStatusTip(StatusTip(RecentFileFirst + i));
        connect(action, &QAction::triggered, this, [this, i] { OpenRecentFile(i); });
        m_recentActions.append(action);
    }
    m_fileMenu->insertActions(m_recentEnd, m_recentActions);
}

void CMainFrame::AddRecentFile(const QString &path)
{
    // Reopening the newest entry changes nothing, and costs no settings write.
    if (!m_recentFiles.Add(path))
        return;
    m_recentFiles.Save();
    UpdateRecentMenu();
}

void CMainFrame::UpdateCaption()
{
    // "[*]" is where the window shows its modified mark.
    setWindowTitle(m_document->GetTitle() + QStringLiteral("[*] - ") + tr("Vantel"));
    setWindowModified(m_document->IsModified());
}

void CMainFrame::ShowMessage(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, tr("Vantel"), text, QMessageBox::Ok, this);
    box.exec();
}

bool CMainFrame::SaveModified()
{
    if (!m_document->IsModified())
        return true;
    const auto answer = QMessageBox::question(
            this, tr("Vantel"), tr("Save changes to %1?").arg(m_document->GetTitle()),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::No)
        return true;
    return DoFileSave();
}

bool CMainFrame::DoFileNew()
{
    if (!SaveModified())
        return false;
    // The reset makes the view start over and ask for the report's page.
    m_document->OnNewDocument();
    return true;
}

bool CMainFrame::DoFileNewLabels()
{
    if (!SaveModified())
        return false;
    CLabelSheetDlg dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    m_document->OnNewLabelDocument(dialog.GetSheet());
    return true;
}

bool CMainFrame::DoFileOpen()
{
    if (!SaveModified())
        return false;
    const QString path = AskOpenFileName();
    return !path.isEmpty() && ReadFile(path);
}

CMainFrame::OpenResult CMainFrame::OpenFile(const QString &path)
{
    if (!SaveModified())
        return OpenResult::Cancelled;
    return ReadFile(path) ? OpenResult::Opened : OpenResult::Failed;
}

bool CMainFrame::ReadFile(const QString &path)
{
    QString message;
    if (!m_document->OnOpenDocument(path, message)) {
        ShowMessage(message);
        return false;
    }
    OnReportOpened();
    // A report that fails validation opens all the same, after its message, so that its
    // faults can be mended in the designer rather than in the file.
    if (!message.isEmpty())
        ShowMessage(message);
    return true;
}

bool CMainFrame::OpenDocumentFile(const QString &path)
{
    return OpenFile(path) == OpenResult::Opened;
}

bool CMainFrame::OpenRecentFile(int index)
{
    if (index < 0 || index >= m_recentFiles.GetCount())
        return false;
    const QString path = m_recentFiles.GetAt(index);
    const OpenResult result = OpenFile(path);
    if (result == OpenResult::Failed) {
        const int now = int(m_recentFiles.GetFiles().indexOf(path));
        m_recentFiles.Remove(now);
        m_recentFiles.Save();
        UpdateRecentMenu();
    }
    return result == OpenResult::Opened;
}

void CMainFrame::OnReportOpened()
{
    const QString path = m_document->GetPathName();
    AddRecentFile(path);
    m_properties->ShowReportProperties(path);
}

bool CMainFrame::DoFileSave()
{
    if (m_document->GetPathName().isEmpty())
        return DoFileSaveAs();
    return SaveDocumentTo(m_document->GetPathName());
}

bool CMainFrame::DoFileSaveAs()
{
    const QString path = AskSaveFileName();
    if (path.isEmpty())
        return false;
    return SaveDocumentTo(path);
}

bool CMainFrame::SaveDocumentTo(const QString &path)
{
    QString message;
    if (!m_document->GetReport().Validate(message) && !ConfirmSaveWithErrors(message))
        return false;
    if (!m_document->OnSaveDocument(path, message)) {
        ShowMessage(message);
        return false;
    }
    AddRecentFile(m_document->GetPathName());
    return true;
}

bool CMainFrame::ConfirmSaveWithErrors(const QString &message)
{
    QMessageBox box(QMessageBox::Warning, tr("Vantel"),
                    tr("This report has errors. File Open will show this message and open it "
                       "to be mended, but Run and Preview will refuse it until it is:\n\n%1\n\n"
                       "Save it anyway?")
                            .arg(message),
                    QMessageBox::Save | QMessageBox::Cancel, this);
    box.button(QMessageBox::Save)->setText(tr("Save Anyway"));
    box.button(QMessageBox::Cancel)->setText(tr("Go Back"));
    box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Save;
}

bool CMainFrame::RestoreRecoveredReport(const QString &recoveryPath, const QString &originalPath)
{
    CVornReport restored;
    QString message;
    if (!VornTemplate::Load(restored, recoveryPath, message)) {
        // A report can be saved while it does not pass the checks (the user was still at
        // work on it). Its copy is then read in full and only the final check fails, with
        // the same message the report gives now: that work is kept.
        QString check;
        if (restored.Validate(check) || check != message) {
            ShowMessage(tr("The automatically saved report could not be restored: ") + message);
            return false;
        }
    }
    m_document->OnNewDocument();
    m_document->GetReport().Swap(restored);
    m_document->SetPathName(originalPath);
    // Restored work has not been saved under its path: modified until it is.
    m_document->SetModifiedFlag(true);
    m_document->NotifyChanged();
    m_properties->ShowReportProperties(originalPath);
    return true;
}

void CMainFrame::RunReportCommand()
{
    RunReport(*m_document, this);
}

void CMainFrame::PreviewReportCommand()
{
    PreviewDocument(*m_document, this);
}

void CMainFrame::PrintReportCommand()
{
    PrintDocument(*m_document, this);
}

QString CMainFrame::AskOpenFileName()
{
    return QFileDialog::getOpenFileName(this, tr("Open"), QString(), FileFilter());
}

QString CMainFrame::AskSaveFileName()
{
    QString start = m_document->GetPathName();
    if (start.isEmpty())
        start = m_document->GetTitle() + QStringLiteral(".vnt");
    QFileDialog dialog(this, tr("Save As"), start, FileFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("vnt"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    if (!SaveModified()) {
        event->ignore();
        return;
    }
    SaveWorkspace();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent *event)
{
    if (!DroppedReport(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent *event)
{
    const QString path = DroppedReport(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // The drop ends before the file is opened: a save prompt or a message box must not run
    // inside the drag-and-drop exchange.
    activateWindow();
    QTimer::singleShot(0, this, [this, path] { OpenDocumentFile(path); });
}
