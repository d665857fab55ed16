#include "livepanes.h"

#include "columnlookup.h"
#include "designchecks.h"
#include "livelayout.h"
#include "livepreviewwnd.h"
#include "problemswnd.h"
#include "propertieswnd.h"
#include "propertyid.h"
#include "quarnview.h"
#include "reportchecks.h"
#include "reportplaces.h"
#include "vorndocument.h"
#include "windowplacement.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

CLivePanes::CLivePanes(QMainWindow &frame, CVornDocument &document, CQuarnView &view,
                       CPropertiesWnd &properties, const QList<QDockWidget *> &rightPanes,
                       CColumnLookup *lookup)
    : QObject(&frame)
    , m_document(document)
    , m_lookup(lookup)
    , m_livePreview(new CLivePreviewWnd(&frame))
    , m_problems(new CProblemsWnd(&frame))
    , m_count(new QToolButton)
{
    // On a first start the window takes four fifths of the screen and the panes on either side
    // 200 pixels. The design view keeps room for a new report's page (A4 portrait, 210 mm, with
    // the view's margins, ruler and scroll bar) at full size: the preview goes beside it, at
    // most 300 pixels wide, when at least 200 pixels are left over, and under the panes on the
    // right otherwise. A stored layout replaces either.
    const QScreen *screen = frame.screen();
    const int window
            = screen ? WindowPlacement::FirstWindowRect(screen->availableGeometry()).width() : 1280;
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    const int room = window - 400 - (int(210 / 25.4 * dpi) + 100);
    const bool beside = rightPanes.isEmpty() || room >= 200;
    frame.addDockWidget(Qt::RightDockWidgetArea, m_livePreview);
    frame.addDockWidget(Qt::RightDockWidgetArea, m_problems);
    if (!rightPanes.isEmpty()) {
        // The panes already on the right stay tabbed, Problems behind them. Added to the right,
        // the preview is under them; split from them, it is beside.
        if (beside)
            frame.splitDockWidget(m_livePreview, rightPanes.first(), Qt::Horizontal);
        for (qsizetype i = 1; i < rightPanes.size(); ++i)
            frame.tabifyDockWidget(rightPanes.first(), rightPanes.at(i));
        frame.tabifyDockWidget(rightPanes.last(), m_problems);
        rightPanes.first()->raise();
    }
    // The frame sizes the other panes after this.
    if (beside)
        frame.resizeDocks({m_livePreview}, {std::clamp(room, 80, 300)}, Qt::Horizontal);
    m_livePreview->SetDocument(&document);

    connect(m_livePreview, &CLivePreviewWnd::elementChosen, &view, &CQuarnView::SelectElement);
    connect(&view, &CQuarnView::dragHeld, m_livePreview, &CLivePreviewWnd::HoldLayouts);
    connect(&view, &CQuarnView::showPropertiesRequested, m_livePreview,
            &CLivePreviewWnd::SyncSelection);

    m_count->setObjectName(QStringLiteral("ProblemCount"));
    m_count->setAutoRaise(true);
    m_count->setToolTip(tr("Problems of the report: click to see them"));
    frame.statusBar()->addPermanentWidget(m_count);
    connect(m_count, &QToolButton::clicked, m_problems, [this] {
        m_problems->show();
        m_problems->raise();
        m_problems->setFocus(Qt::OtherFocusReason);
    });
    connect(m_problems, &CProblemsWnd::problemChosen, this,
            [this, &view, &properties](const CReportProblem &problem) {
                const CVornReport &report = m_document.GetReport();
                CVornElement *element = nullptr;
                if (problem.band >= 0 && problem.band < report.GetBands().GetCount()) {
                    CVornBand *band = report.GetBands()[problem.band];
                    element = band;
                    if (problem.item >= 0 && problem.item < band->GetItems().GetCount())
                        element = band->GetItems()[problem.item];
                }
                view.SelectElement(element);
                properties.show();
                properties.raise();
                properties.FocusProperty(problem.row);
            });
    if (m_lookup) {
        // The look-up checks the report after every change of it and again when it knows more
        // columns; the design is checked with it, once each time.
        connect(m_lookup, &CColumnLookup::updated, this, &CLivePanes::RefreshProblems);
    } else {
        connect(&document, &CVornDocument::changed, this, &CLivePanes::RefreshProblems);
        connect(&document, &CVornDocument::reportReset, this, &CLivePanes::RefreshProblems);
    }
    connect(m_livePreview, &CLivePreviewWnd::cutTextsChanged, this, &CLivePanes::RefreshProblems);
    // The first count once the window is up: no checks while it is being built.
    QTimer::singleShot(0, this, &CLivePanes::RefreshProblems);
}

QList<QDockWidget *> CLivePanes::Panes() const
{
    return {m_livePreview, m_problems};
}

void CLivePanes::RefreshProblems()
{
    const CVornReport &report = m_document.GetReport();
    CReportProblems problems
            = CombineProblems(CheckReportDesign(report),
                              m_lookup ? m_lookup->GetProblems() : CheckReportStatic(report));
    // From the live preview's last layout: the texts it had to cut at their box.
    if (const std::shared_ptr<const CVornReport> &laidOut
        = m_livePreview->GetLayout()->GetReport()) {
        for (const CLivePreviewWnd::CutText &cut : m_livePreview->GetCutTexts()) {
            const CPageSource place = ReportPlaces::PlaceOf(
                    report, ReportPlaces::Find(report, *laidOut, cut.source));
            if (place.band < 0 || place.item < 0)
                continue;
            problems.append({CReportProblem::Severity::Warning, place.band, place.item,
                             RowId::Bottom,
                             tr("The text is cut at its box on page %1: part of it does not show")
                                     .arg(cut.page + 1)});
        }
        SortProblems(problems);
    }
    m_problems->SetProblems(report, problems);
    m_count->setText(CProblemsWnd::CountText(problems));
    emit problemsChecked();
}
