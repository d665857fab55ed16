#include "previewwnd.h"

#include "backgroundtask.h"
#include "pagemodel.h"
#include "previewrun.h"
#include "previewview.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QSettings PreviewSettings()
{
    return QSettings(u"Vantel"_s, u"Vantel"_s);
}

} // namespace

CPreviewWnd::CPreviewWnd(const CVornReport &report, const CRunOptions &options,
                         const QString &title, QWidget *parent)
    : QDialog(parent)
    , m_report(report)
    , m_title(title)
    , m_folder(options.reportFolder)
    , m_run(std::make_unique<CPreviewRun>(report, options))
    , m_autoClose(qEnvironmentVariableIsSet(AutoCloseVariable()))
{
    setObjectName(u"PreviewWnd"_s);
    setWindowTitle(title.isEmpty() ? tr("Print Preview") : tr("%1 - Print Preview").arg(title));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setModal(true);

    m_view = new CPreviewView(this);
    m_view->SetModel(m_run->GetModel());
    CreateToolBar();

    m_progressRow = new QWidget(this);
    m_progressRow->setObjectName(u"ProgressRow"_s);
    auto *progressLayout = new QHBoxLayout(m_progressRow);
    progressLayout->setContentsMargins(8, 4, 8, 4);
    m_progressLabel = new QLabel(tr("Laying out the report..."), m_progressRow);
    m_progressBar = new QProgressBar(m_progressRow);
    // The number of pages is known only at the end: the bar shows that work goes on.
    m_progressBar->setRange(0, 0);
    m_progressBar->setMaximumWidth(240);
    m_cancelButton = new QPushButton(tr("Cancel"), m_progressRow);
    m_cancelButton->setObjectName(u"CancelButton"_s);
    m_cancelButton->setAutoDefault(false);
    progressLayout->addWidget(m_progressLabel, 1);
    progressLayout->addWidget(m_progressBar);
    progressLayout->addWidget(m_cancelButton);
    connect(m_cancelButton, &QPushButton::clicked, this, [this] {
        if (IsJobRunning())
            CancelJob();
        else
            CancelLayout();
    });

    auto *layout = qobject_cast<QVBoxLayout *>(this->layout());
    layout->addWidget(m_view, 1);
    layout->addWidget(m_progressRow);

    connect(m_run.get(), &CPreviewRun::pagesAdded, this, &CPreviewWnd::OnPagesAdded);
    connect(m_run.get(), &CPreviewRun::finished, this, &CPreviewWnd::OnLayoutFinished);
    connect(m_view, &CPreviewView::currentPageChanged, this, &CPreviewWnd::UpdateControls);
    connect(m_view, &CPreviewView::zoomStepRequested, this, [this](int steps) {
        double zoom = GetZoom();
        for (int i = 0; i < std::abs(steps); ++i)
            zoom = steps > 0 ? CPreviewGeometry::ZoomIn(zoom) : CPreviewGeometry::ZoomOut(zoom);
        SetZoom(zoom);
    });
    connect(m_view, &CPreviewView::viewportResized, this, &CPreviewWnd::ApplyZoomMode);
    // First and last page stay on while the view is not at the very top or bottom.
    connect(m_view->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &CPreviewWnd::UpdateControls);

    LoadSettings();
    UpdateControls();
    m_view->setFocus();
}

CPreviewWnd::~CPreviewWnd()
{
    // The threads read the report and its pages: they end before the caller may change it.
    m_job.reset();
    m_run.reset();
}

QAction *CPreviewWnd::AddAction(const QString &name, const QString &text, const QKeySequence &key)
{
    auto *action = new QAction(text, this);
    action->setObjectName(name);
    if (!key.isEmpty()) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    addAction(action);
    return action;
}

void CPreviewWnd::CreateToolBar()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *bar = new QToolBar(this);
    bar->setObjectName(u"PreviewToolBar"_s);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    layout->addWidget(bar);

    m_print = AddAction(u"Print"_s, tr("&Print..."), QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(m_print, &QAction::triggered, this, &CPreviewWnd::Print);
    bar->addAction(m_print);
    CreateExportMenu(*bar);
    bar->addSeparator();

    m_first = AddAction(u"FirstPage"_s, tr("First Page"), QKeySequence(Qt::Key_Home));
    m_first->setIcon(style()->standardIcon(QStyle::SP_MediaSkipBackward));
    m_previous = AddAction(u"PreviousPage"_s, tr("Previous Page"), QKeySequence(Qt::Key_PageUp));
    m_previous->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    m_next = AddAction(u"NextPage"_s, tr("Next Page"), QKeySequence(Qt::Key_PageDown));
    m_next->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    m_last = AddAction(u"LastPage"_s, tr("Last Page"), QKeySequence(Qt::Key_End));
    m_last->setIcon(style()->standardIcon(QStyle::SP_MediaSkipForward));
    connect(m_first, &QAction::triggered, this, &CPreviewWnd::FirstPage);
    connect(m_previous, &QAction::triggered, this, &CPreviewWnd::PreviousPage);
    connect(m_next, &QAction::triggered, this, &CPreviewWnd::NextPage);
    connect(m_last, &QAction::triggered, this, &CPreviewWnd::LastPage);
    m_pageLabel = new QLabel(bar);
    m_pageLabel->setObjectName(u"PageLabel"_s);
    m_pageLabel->setContentsMargins(8, 0, 8, 0);
    m_pageLabel->setAlignment(Qt::AlignCenter);
    // Labels of a fixed width, so that the buttons beside them stay where they are.
    const QFontMetrics metrics = m_pageLabel->fontMetrics();
    m_pageLabel->setFixedWidth(
            16
            + std::max(metrics.horizontalAdvance(tr("No pages yet")),
                       metrics.horizontalAdvance(tr("Page %1 of %2").arg(888888).arg(888888))));
    bar->addAction(m_first);
    bar->addAction(m_previous);
    bar->addWidget(m_pageLabel);
    bar->addAction(m_next);
    bar->addAction(m_last);
    // The arrows speak for themselves; their names show as tool tips.
    for (QAction *action : {m_first, m_previous, m_next, m_last})
        bar->widgetForAction(action)->setProperty("toolButtonStyle", int(Qt::ToolButtonIconOnly));
    bar->addSeparator();

    QAction *zoomOut
            = AddAction(u"ZoomOut"_s, tr("Zoom Out"), QKeySequence(Qt::CTRL | Qt::Key_Minus));
    QAction *zoomIn = AddAction(u"ZoomIn"_s, tr("Zoom In"), QKeySequence(Qt::CTRL | Qt::Key_Plus));
    // Ctrl+= as well: the key that carries + on most keyboards, without Shift.
    zoomIn->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    QAction *actual = AddAction(u"ActualSize"_s, tr("100 %"), QKeySequence(Qt::CTRL | Qt::Key_0));
    QAction *fitWidth = AddAction(u"FitWidth"_s, tr("Fit Width"), QKeySequence());
    QAction *fitPage = AddAction(u"FitPage"_s, tr("Fit Page"), QKeySequence());
    zoomOut->setText(u"\u2212"_s);
    zoomOut->setToolTip(tr("Zoom Out"));
    zoomIn->setText(u"+"_s);
    zoomIn->setToolTip(tr("Zoom In"));
    connect(zoomOut, &QAction::triggered, this, &CPreviewWnd::ZoomOut);
    connect(zoomIn, &QAction::triggered, this, &CPreviewWnd::ZoomIn);
    connect(actual, &QAction::triggered, this, &CPreviewWnd::ActualSize);
    connect(fitWidth, &QAction::triggered, this, &CPreviewWnd::FitWidth);
    connect(fitPage, &QAction::triggered, this, &CPreviewWnd::FitPage);
    bar->addAction(zoomOut);
    m_zoomLabel = new QLabel(bar);
    m_zoomLabel->setObjectName(u"ZoomLabel"_s);
    m_zoomLabel->setContentsMargins(6, 0, 6, 0);
    m_zoomLabel->setAlignment(Qt::AlignCenter);
    m_zoomLabel->setFixedWidth(12
                               + m_zoomLabel->fontMetrics().horizontalAdvance(tr("%1 %").arg(888)));
    bar->addWidget(m_zoomLabel);
    bar->addAction(zoomIn);
    bar->addAction(actual);
    bar->addAction(fitWidth);
    bar->addAction(fitPage);
    bar->addSeparator();
    QAction *close = AddAction(u"ClosePreview"_s, tr("&Close"), QKeySequence());
    connect(close, &QAction::triggered, this, &QDialog::close);
    bar->addAction(close);
}

bool CPreviewWnd::Run(QString &message)
{
    StartLayout();
    exec();
    if (m_failed) {
        message = m_failure;
        return false;
    }
    return true;
}

void CPreviewWnd::StartLayout()
{
    m_run->Start();
    UpdateControls();
}

const CPageModel &CPreviewWnd::GetModel() const
{
    return *m_run->GetModel();
}

bool CPreviewWnd::IsLayoutRunning() const
{
    return m_run->IsRunning();
}

bool CPreviewWnd::IsLayoutComplete() const
{
    return m_run->GetModel()->IsComplete() && !m_run->IsRunning();
}

int CPreviewWnd::GetPageCount() const
{
    return m_run->GetModel()->GetPageCount();
}

int CPreviewWnd::GetCurrentPage() const
{
    return m_view->GetCurrentPage();
}

double CPreviewWnd::GetZoom() const
{
    return m_view->GetZoom();
}

void CPreviewWnd::ShowPage(int index)
{
    m_view->ShowPage(index);
    UpdateControls();
}

void CPreviewWnd::FirstPage()
{
    ShowPage(0);
}

void CPreviewWnd::PreviousPage()
{
    ShowPage(GetCurrentPage() - 1);
}

void CPreviewWnd::NextPage()
{
    ShowPage(GetCurrentPage() + 1);
}

void CPreviewWnd::LastPage()
{
    ShowPage(GetPageCount() - 1);
}

void CPreviewWnd::SetZoom(double zoom)
{
    m_zoomMode = ZoomMode::Custom;
    m_view->SetZoom(zoom);
    UpdateControls();
}

void CPreviewWnd::ZoomIn()
{
    SetZoom(CPreviewGeometry::ZoomIn(GetZoom()));
}

void CPreviewWnd::ZoomOut()
{
    SetZoom(CPreviewGeometry::ZoomOut(GetZoom()));
}

void CPreviewWnd::ActualSize()
{
    SetZoom(1.0);
}

void CPreviewWnd::FitWidth()
{
    m_zoomMode = ZoomMode::FitWidth;
    ApplyZoomMode();
}

void CPreviewWnd::FitPage()
{
    m_zoomMode = ZoomMode::FitPage;
    ApplyZoomMode();
}

void CPreviewWnd::ApplyZoomMode()
{
    const int page = GetCurrentPage();
    const QSize viewport = m_view->viewport()->size();
    const CPreviewGeometry &geometry = m_view->GetGeometry();
    if (m_zoomMode == ZoomMode::FitWidth) {
        m_view->SetZoom(m_view->FitWidthZoom());
    } else if (m_zoomMode == ZoomMode::FitPage) {
        m_view->SetZoom(geometry.FitPageZoom(viewport));
        // The whole page: from its top.
        if (GetPageCount() > 0)
            m_view->ShowPage(page);
    }
    UpdateControls();
}

void CPreviewWnd::CancelLayout()
{
    if (m_run->IsRunning()) {
        m_run->Cancel();
        m_progressLabel->setText(tr("Cancelling..."));
        m_cancelButton->setEnabled(false);
    }
}

void CPreviewWnd::OnPagesAdded(int count)
{
    const bool first = m_view->GetGeometry().GetPageCount() == 0 && count > 0;
    m_view->UpdatePages();
    if (first)
        ApplyZoomMode();
    m_progressLabel->setText(tr("Laying out the report... %n page(s)", nullptr, count));
    UpdateControls();
}

void CPreviewWnd::OnLayoutFinished(bool succeeded, bool cancelled, const QString &message)
{
    // Page numbers "of N" are final only now.
    m_view->UpdatePages();
    m_view->viewport()->update();
    m_progressRow->setVisible(cancelled);
    m_progressBar->setVisible(false);
    m_cancelButton->setVisible(false);
    if (cancelled)
        m_progressLabel->setText(
                tr("Cancelled after %n page(s); printing and export need the whole report.",
                   nullptr, GetPageCount()));
    UpdateControls();
    emit layoutFinished(succeeded, cancelled);
    if (!succeeded && !cancelled) {
        m_failed = true;
        m_failure = message;
        done(QDialog::Rejected);
        return;
    }
    if (succeeded && m_autoClose)
        QTimer::singleShot(0, this, &QDialog::accept);
}

void CPreviewWnd::UpdateControls()
{
    const int count = GetPageCount();
    const int current = count > 0 ? GetCurrentPage() : -1;
    m_pageLabel->setText(count > 0 ? tr("Page %1 of %2").arg(current + 1).arg(count)
                                   : tr("No pages yet"));
    // No zoom figure before there is a page to show at it.
    m_zoomLabel->setText(count > 0 ? tr("%1 %").arg(std::lround(GetZoom() * 100)) : QString());
    const QScrollBar *scroll = m_view->verticalScrollBar();
    m_first->setEnabled(current > 0 || (count > 0 && scroll->value() > scroll->minimum()));
    m_previous->setEnabled(current > 0);
    m_next->setEnabled(current >= 0 && current < count - 1);
    m_last->setEnabled(current >= 0
                       && (current < count - 1 || scroll->value() < scroll->maximum()));
    const bool ready = IsLayoutComplete() && !IsJobRunning();
    m_print->setEnabled(ready);
    for (QAction *action : std::as_const(m_exports))
        action->setEnabled(ready);
}

void CPreviewWnd::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && (IsLayoutRunning() || IsJobRunning())) {
        if (IsJobRunning())
            CancelJob();
        else
            CancelLayout();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CPreviewWnd::reject()
{
    // Esc stops a running export, print job or layout first; the next Esc closes.
    if (IsJobRunning()) {
        CancelJob();
        return;
    }
    if (IsLayoutRunning()) {
        CancelLayout();
        return;
    }
    SaveSettings();
    QDialog::reject();
}

void CPreviewWnd::closeEvent(QCloseEvent *event)
{
    // Closing the window ends the layout and any export too: the threads stop at the next page,
    // and a cancelled export leaves no file.
    m_run->Cancel();
    CancelJob();
    SaveSettings();
    QDialog::closeEvent(event);
}

void CPreviewWnd::LoadSettings()
{
    QSettings settings = PreviewSettings();
    const QByteArray geometry = settings.value(u"Preview/Geometry"_s).toByteArray();
    if (geometry.isEmpty() || !restoreGeometry(geometry)) {
        const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect();
        resize(screen.isValid()
                       ? QSize(std::min(900, screen.width() * 9 / 10), screen.height() * 9 / 10)
                       : QSize(900, 900));
    }
    const int mode = settings.value(u"Preview/ZoomMode"_s, int(ZoomMode::FitWidth)).toInt();
    m_zoomMode = mode == int(ZoomMode::Custom) ? ZoomMode::Custom
            : mode == int(ZoomMode::FitPage)   ? ZoomMode::FitPage
                                               : ZoomMode::FitWidth;
    if (m_zoomMode == ZoomMode::Custom)
        m_view->SetZoom(settings.value(u"Preview/Zoom"_s, 1.0).toDouble());
}

void CPreviewWnd::SaveSettings()
{
    QSettings settings = PreviewSettings();
    settings.setValue(u"Preview/Geometry"_s, saveGeometry());
    settings.setValue(u"Preview/ZoomMode"_s, int(m_zoomMode));
    settings.setValue(u"Preview/Zoom"_s, GetZoom());
}
