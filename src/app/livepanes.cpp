#include "livepanes.h"

#include "livepreviewwnd.h"
#include "quarnview.h"
#include "vorndocument.h"

#include <QMainWindow>

CLivePanes::CLivePanes(QMainWindow &frame, CVornDocument &document, CQuarnView &view,
                       const QList<QDockWidget *> &rightPanes)
    : QObject(&frame)
    , m_livePreview(new CLivePreviewWnd(&frame))
{
    // Between the design view and the panes already on the right, which stay tabbed.
    frame.addDockWidget(Qt::RightDockWidgetArea, m_livePreview);
    if (!rightPanes.isEmpty()) {
        frame.splitDockWidget(m_livePreview, rightPanes.first(), Qt::Horizontal);
        for (qsizetype i = 1; i < rightPanes.size(); ++i)
            frame.tabifyDockWidget(rightPanes.first(), rightPanes.at(i));
        rightPanes.first()->raise();
    }
    QList<QDockWidget *> sized {m_livePreview};
    QList<int> widths {300};
    if (!rightPanes.isEmpty()) {
        sized << rightPanes.first();
        widths << rightPanes.first()->width();
    }
    frame.resizeDocks(sized, widths, Qt::Horizontal);
    m_livePreview->SetDocument(&document);

    connect(m_livePreview, &CLivePreviewWnd::elementChosen, &view, &CQuarnView::SelectElement);
    connect(&view, &CQuarnView::showPropertiesRequested, m_livePreview,
            &CLivePreviewWnd::SyncSelection);
    connect(&document, &CVornDocument::historyReplayed, m_livePreview,
            &CLivePreviewWnd::SyncSelection);
}

QList<QDockWidget *> CLivePanes::Panes() const
{
    return {m_livePreview};
}
