// The main window's Edit menu: undo and redo, and the clipboard commands.
#include "mainframe.h"

#include "commandtable.h"
#include "propertieswnd.h"
#include "quarndoc.h"
#include "quarnview.h"
#include "reportclipboard.h"
#include "reportedit.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QUndoStack>

using namespace CommandTable;

void CMainFrame::CreateEditMenu()
{
    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("EditMenu"));
    QUndoStack *history = m_document->GetUndoStack();
    connect(AddTo(edit, EditUndo), &QAction::triggered, history, &QUndoStack::undo);
    connect(AddTo(edit, EditRedo), &QAction::triggered, history, &QUndoStack::redo);
    edit->addSeparator();
    connect(AddTo(edit, EditCut), &QAction::triggered, this, &CMainFrame::DoCut);
    connect(AddTo(edit, EditCopy), &QAction::triggered, this, &CMainFrame::DoCopy);
    connect(AddTo(edit, EditPaste), &QAction::triggered, this, &CMainFrame::DoPaste);
    connect(AddTo(edit, EditDuplicate), &QAction::triggered, this, &CMainFrame::DoDuplicate);
    connect(AddTo(edit, EditClear), &QAction::triggered, this,
            [this] { m_view->DeleteSelection(QString(), true); });
    edit->addSeparator();
    connect(AddTo(edit, EditSelectAll), &QAction::triggered, m_view, &CQuarnView::SelectAll);
    // The keys work wherever the focus is in the window, unless a text field takes them.
    for (const int id :
         {EditUndo, EditRedo, EditCut, EditCopy, EditPaste, EditDuplicate, EditSelectAll})
        addAction(FindCommand(id));

    for (const auto signal : {&QUndoStack::canUndoChanged, &QUndoStack::canRedoChanged})
        connect(history, signal, this, &CMainFrame::UpdateUndoCommands);
    for (const auto signal : {&QUndoStack::undoTextChanged, &QUndoStack::redoTextChanged})
        connect(history, signal, this, &CMainFrame::UpdateUndoCommands);
    UpdateUndoCommands();

    // The selection changes in the view, with an undo or redo, or with a new report.
    connect(m_view, &CQuarnView::showPropertiesRequested, this, &CMainFrame::UpdateEditCommands);
    connect(m_document, &CVornDocument::changed, this, &CMainFrame::UpdateEditCommands);
    connect(m_document, &CVornDocument::reportReset, this, &CMainFrame::UpdateEditCommands);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &CMainFrame::UpdateEditCommands);
    UpdateEditCommands();
}

void CMainFrame::UpdateUndoCommands()
{
    // "Undo Move" in the menu, the status bar and the tooltip while there is a step to undo;
    // the plain command, disabled, when there is none.
    const QUndoStack *history = m_document->GetUndoStack();
    const struct
    {
        int id;
        bool can;
        QString step;
        QString name;
    } commands[] = {{EditUndo, history->canUndo(), history->undoText(), tr("Undo")},
                    {EditRedo, history->canRedo(), history->redoText(), tr("Redo")}};
    for (const auto &command : commands) {
        QAction *action = FindCommand(command.id);
        action->setEnabled(command.can);
        const QString menuText = MenuText(command.id);
        if (command.can && !command.step.isEmpty()) {
            const QString named = command.name + u' ' + command.step;
            action->setText(menuText.section(u'\t', 0, 0) + u' ' + command.step + u'\t'
                            + menuText.section(u'\t', 1));
            action->setStatusTip(named);
            action->setToolTip(named);
        } else {
            action->setText(menuText);
            action->setStatusTip(StatusTip(command.id));
            action->setToolTip(ToolTip(command.id));
        }
    }
}

void CMainFrame::UpdateEditCommands()
{
    const bool selected = m_document->GetReport().FindFirstSelected() != nullptr;
    for (const int id : {EditCut, EditCopy, EditDuplicate, EditClear})
        FindCommand(id)->setEnabled(selected);
    // Anything on the clipboard may be tried; what is not ours is refused in the status bar.
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    FindCommand(EditPaste)->setEnabled(data && !data->formats().isEmpty());
}

bool CMainFrame::DoCopy()
{
    const QByteArray fragment = ReportClipboard::WriteSelection(m_document->GetReport());
    if (fragment.isEmpty())
        return false;
    auto *data = new QMimeData;
    data->setData(ReportClipboard::MimeType(), fragment);
    data->setText(ReportClipboard::FragmentText(fragment));
    QGuiApplication::clipboard()->setMimeData(data);
    return true;
}

bool CMainFrame::DoCut()
{
    // The copy changes no report; the deletion is the one undo step, named after the cut.
    return DoCopy() && m_view->DeleteSelection(tr("Cut"), false);
}

bool CMainFrame::DoPaste()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(ReportClipboard::MimeType())) {
        statusBar()->showMessage(tr("The clipboard holds no Vantel band or item"), 10000);
        return false;
    }
    return PasteFragment(data->data(ReportClipboard::MimeType()), tr("Paste"));
}

bool CMainFrame::DoDuplicate()
{
    const QByteArray fragment = ReportClipboard::WriteSelection(m_document->GetReport());
    return !fragment.isEmpty() && PasteFragment(fragment, tr("Duplicate"));
}

bool CMainFrame::PasteFragment(const QByteArray &bytes, const QString &stepName)
{
    ReportClipboard::CFragment fragment;
    QString message;
    if (!ReportClipboard::ReadFragment(bytes, fragment, message)) {
        statusBar()->showMessage(tr("Nothing was pasted: %1").arg(message), 10000);
        return false;
    }
    // An item lands ten screen pixels right of and below where it was.
    const CPageGeometry geometry = m_view->MakeGeometry();
    double zoom = 1.0;
    geometry.GetPageRect(&zoom);
    CVornElement *pasted = nullptr;
    {
        CReportEdit edit(*m_document, stepName);
        pasted = ReportClipboard::Paste(edit, fragment, m_document->GetReport().FindFirstSelected(),
                                        geometry.PixelsToModelX(10, zoom),
                                        geometry.PixelsToModelY(10, zoom), message);
    }
    if (!pasted) {
        statusBar()->showMessage(tr("Nothing was pasted: %1").arg(message), 10000);
        return false;
    }
    m_properties->ShowProperties(pasted);
    return true;
}
