#include "elementsview.h"

#include "elementsctrl.h"

#include <QFrame>
#include <QVBoxLayout>

CElementsView::CElementsView(QWidget *parent)
    : QDockWidget(tr("Elements"), parent)
    , m_ctrl(new CElementsCtrl)
{
    setObjectName(QStringLiteral("Elements"));
    // The list fills the pane less one pixel on each side, where the frame is drawn in the
    // button-shadow colour.
    auto *frame = new QFrame;
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(1);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Dark));
    frame->setPalette(palette);
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_ctrl);
    setWidget(frame);
    // The focus given to the pane goes to the list; the pane has no menu of its own.
    setFocusProxy(m_ctrl);
    frame->setFocusProxy(m_ctrl);
    setContextMenuPolicy(Qt::PreventContextMenu);
    connect(m_ctrl, &CElementsCtrl::insertKindChosen, this, &CElementsView::insertKindChosen);
    connect(m_ctrl, &CElementsCtrl::insertKindLocked, this, &CElementsView::insertKindLocked);
}

void CElementsView::SelectKind(int kind)
{
    m_ctrl->SelectKind(kind);
}
