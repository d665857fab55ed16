#include "quarnview.h"

#include "vorndocument.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>

// The right-click menu: the commands handed over by the main window, Insert Page Break and the
// layout commands that apply, on what was clicked.

void CQuarnView::CreateContextMenu()
{
    // The main window hands over its clipboard commands; a view on its own shows them
    // disabled.
    m_contextMenu = new QMenu(tr("Edit"), this);
    for (const QString &text : {tr("Cu&t\tCtrl+X"), tr("&Copy\tCtrl+C"), tr("&Paste\tCtrl+V")}) {
        auto *placeholder = new QAction(text, this);
        placeholder->setEnabled(false);
        m_menuActions.append(placeholder);
    }
    m_pageBreakAction = new QAction(tr("Insert Page &Break"), this);
    m_pageBreakAction->setObjectName(QStringLiteral("InsertPageBreak"));
    m_pageBreakAction->setEnabled(m_document != nullptr);
    connect(m_pageBreakAction, &QAction::triggered, this, &CQuarnView::InsertPageBreak);
    RebuildContextMenu();
}

void CQuarnView::SetContextMenuActions(const QList<QAction *> &actions)
{
    m_menuActions = actions;
    RebuildContextMenu();
}

void CQuarnView::SetLayoutActions(const QList<QAction *> &actions)
{
    m_layoutActions = actions;
    RebuildContextMenu();
}

void CQuarnView::RebuildContextMenu()
{
    m_contextMenu->clear();
    m_contextMenu->addActions(m_menuActions);
    // The view's own command after the clipboard's, then the layout commands that apply.
    m_contextMenu->addSeparator();
    m_contextMenu->addAction(m_pageBreakAction);
    bool separated = false;
    for (QAction *action : std::as_const(m_layoutActions)) {
        if (!action->isEnabled())
            continue;
        if (!separated)
            m_contextMenu->addSeparator();
        separated = true;
        m_contextMenu->addAction(action);
    }
}

void CQuarnView::ShowContextMenu(QPoint globalPos)
{
    RebuildContextMenu();
    m_contextMenu->popup(globalPos);
}

void CQuarnView::SelectForContextMenu(QPoint client)
{
    if (!m_document)
        return;
    // The menu acts on what was clicked: the object under the pointer, unless it is part of
    // the selection already.
    const CPageGeometry geometry = MakeGeometry();
    CViewInteraction interaction(*m_document, geometry, m_state);
    CVornElement *hit = interaction.HitTest(geometry.ClientToView(client), false);
    if (hit && hit->IsSelected())
        return;
    CViewInteraction::Result result = interaction.SelectItem(hit);
    Apply(result);
}

void CQuarnView::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
    // A right click shows the menu when the button is released (mouseReleaseEvent); this
    // event only serves the keyboard.
    if (event->reason() != QContextMenuEvent::Mouse)
        ShowContextMenu(event->globalPos());
}
