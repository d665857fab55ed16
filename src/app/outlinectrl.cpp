#include "outlinectrl.h"

#include <QHeaderView>
#include <QKeyEvent>

COutlineCtrl::COutlineCtrl(QWidget *parent)
    : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFrameShape(QFrame::NoFrame);
}

void COutlineCtrl::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() & ~Qt::KeypadModifier)
            break;
        event->accept();
        emit viewKeyPressed(event->key(), event->modifiers());
        return;
    default:
        break;
    }
    QTreeWidget::keyPressEvent(event);
}
