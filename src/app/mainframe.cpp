#include "mainframe.h"

#include "elementsview.h"
#include "quarndoc.h"
#include "quarnview.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>

namespace {

QString FileFilter()
{
    return QCoreApplication::translate("Vantel", "Vantel Reports (*.vnt)");
}

} // namespace

CMainFrame::CMainFrame(CQuarnDoc *document, QWidget *parent)
    : QMainWindow(parent)
    , m_document(document)
    , m_view(new CQuarnView(document, this))
{
    setCentralWidget(m_view);
    CreateMenus();
    CreatePanes();
    connect(m_document, &CVornDocument::modifiedChanged, this, &CMainFrame::UpdateCaption);
    connect(m_document, &CVornDocument::pathNameChanged, this, &CMainFrame::UpdateCaption);
    UpdateCaption();
    resize(1000, 760);
}

void CMainFrame::CreateMenus()
{
    QMenu *file = menuBar()->addMenu(tr("&File"));
    QAction *newAction = file->addAction(tr("&New"), this, &CMainFrame::DoFileNew);
    newAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    QAction *openAction = file->addAction(tr("&Open..."), this, &CMainFrame::DoFileOpen);
    openAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    QAction *saveAction = file->addAction(tr("&Save"), this, &CMainFrame::DoFileSave);
    saveAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    file->addAction(tr("Save &As..."), this, &CMainFrame::DoFileSaveAs);
    file->addSeparator();
    file->addAction(tr("E&xit"), this, &QWidget::close);

    QMenu *view = menuBar()->addMenu(tr("&View"));
    m_alignToGrid = view->addAction(tr("Align To Grid"));
    m_alignToGrid->setCheckable(true);
    m_alignToGrid->setChecked(m_document->IsGridOn());
    connect(m_alignToGrid, &QAction::triggered, m_document, &CVornDocument::ToggleGrid);
    connect(m_document, &CVornDocument::gridChanged, m_alignToGrid, &QAction::setChecked);
}

void CMainFrame::CreatePanes()
{
    // The toolbox and the view keep one choice between them: a row chosen in the toolbox
    // sets the view's insertion mode, and every release in the view goes back to "Pointer".
    m_elements = new CElementsView(this);
    addDockWidget(Qt::LeftDockWidgetArea, m_elements);
    connect(m_elements, &CElementsView::insertKindChosen, m_view, &CQuarnView::SetInsertKind);
    connect(m_view, &CQuarnView::returnedToPointer, m_elements,
            [this] { m_elements->SelectKind(0); });
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
    m_document->OnNewDocument();
    m_view->OnInitialUpdate();
    return true;
}

bool CMainFrame::DoFileOpen()
{
    if (!SaveModified())
        return false;
    const QString path = AskOpenFileName();
    if (path.isEmpty())
        return false;
    QString message;
    if (!m_document->OnOpenDocument(path, message)) {
        ShowMessage(message);
        return false;
    }
    OnReportOpened(path);
    return true;
}

bool CMainFrame::OpenDocumentFile(const QString &path)
{
    if (!SaveModified())
        return false;
    QString message;
    if (!m_document->OnOpenDocument(path, message)) {
        ShowMessage(message);
        return false;
    }
    OnReportOpened(path);
    return true;
}

void CMainFrame::OnReportOpened(const QString &)
{
    m_view->OnInitialUpdate();
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
    if (!m_document->OnSaveDocument(path, message)) {
        ShowMessage(message);
        return false;
    }
    return true;
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
    if (SaveModified())
        event->accept();
    else
        event->ignore();
}
