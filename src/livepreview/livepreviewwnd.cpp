#include "livepreviewwnd.h"

#include "fileutil.h"
#include "livelayout.h"
#include "livepreviewview.h"
#include "pagehits.h"
#include "pagemodel.h"
#include "reportplaces.h"
#include "reportsnapshot.h"
#include "vorndocument.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

CLivePreviewWnd::CLivePreviewWnd(QWidget *parent)
    : QDockWidget(tr("Live Preview"), parent)
    , m_view(new CLivePreviewView)
    , m_status(new QLabel)
    , m_failure(new QLabel(m_view))
{
    setObjectName(QStringLiteral("LivePreview"));
    m_layout = new CLiveLayout(
            [this] {
                CLiveLayout::Job job;
                if (!m_document)
                    return job;
                job.report = SnapshotOf(m_document->GetReport());
                // Relative database paths are taken from the report's folder, as a run takes
                // them; a report never saved takes them from the current folder. The stored
                // parameter values are the snapshot's own.
                const QString path = m_document->GetPathName();
                job.options.reportFolder = path.isEmpty()
                        ? QDir::currentPath()
                        : FolderOfPath(QFileInfo(path).absoluteFilePath());
                return job;
            },
            this);

    auto *body = new QWidget;
    auto *column = new QVBoxLayout(body);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(m_view, 1);
    m_status->setObjectName(QStringLiteral("LivePreviewPage"));
    m_status->setContentsMargins(4, 0, 4, 2);
    column->addWidget(m_status);
    setWidget(body);
    setFocusProxy(m_view);

    m_failure->setObjectName(QStringLiteral("LivePreviewFailure"));
    m_failure->setWordWrap(true);
    m_failure->setTextFormat(Qt::RichText);
    m_failure->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    m_failure->setAutoFillBackground(true);
    m_failure->setFrameShape(QFrame::Box);
    m_failure->setMargin(6);
    QPalette look = m_failure->palette();
    look.setColor(QPalette::Window, QColor(0xFF, 0xF4, 0xD6));
    look.setColor(QPalette::WindowText, QColor(0x60, 0x20, 0x00));
    m_failure->setPalette(look);
    m_failure->hide();
    connect(m_failure, &QLabel::linkActivated, this, [this] {
        if (CVornElement *element = m_document
                    ? ReportPlaces::Find(m_document->GetReport(), m_document->GetReport(),
                                         m_failureAt)
                    : nullptr)
            emit elementChosen(element);
    });
    m_view->installEventFilter(this);

    connect(m_layout, &CLiveLayout::pagesChanged, this, &CLivePreviewWnd::OnPagesChanged);
    connect(m_layout, &CLiveLayout::stateChanged, this, &CLivePreviewWnd::OnStateChanged);
    connect(m_view, &CLivePreviewView::sourceClicked, this, &CLivePreviewWnd::Choose);
    connect(m_view, &CPreviewView::currentPageChanged, this, [this] {
        UpdateRequest();
        UpdateStatus();
    });
    connect(m_view->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &CLivePreviewWnd::UpdateRequest);
    connect(m_view, &CPreviewView::viewportResized, this, [this] {
        ApplyFitWidth();
        UpdateRequest();
        PlaceFailure();
    });
    connect(m_view, &CPreviewView::zoomStepRequested, this, [this](int steps) {
        m_fitWidth = false;
        double zoom = m_view->GetZoom();
        for (int i = 0; i < std::abs(steps); ++i)
            zoom = steps > 0 ? CPreviewGeometry::ZoomIn(zoom) : CPreviewGeometry::ZoomOut(zoom);
        m_view->SetZoom(zoom);
        UpdateRequest();
    });
    connect(this, &QDockWidget::visibilityChanged, this, &CLivePreviewWnd::OnVisibilityChanged);
    UpdateStatus();
}

CLivePreviewWnd::~CLivePreviewWnd() = default;

void CLivePreviewWnd::SetDocument(CVornDocument *document)
{
    if (m_document)
        disconnect(m_document, nullptr, this, nullptr);
    m_document = document;
    if (m_document) {
        connect(m_document, &CVornDocument::changed, this, [this](const CReportChange &change) {
            OnReportEdited();
            // An undo or redo brings its selection back with it.
            if (change.Has(CReportChange::Replay))
                SyncSelection();
        });
        connect(m_document, &CVornDocument::pathNameChanged, this,
                &CLivePreviewWnd::OnReportEdited);
        connect(m_document, &CVornDocument::reportReset, this, [this] {
            // Another report: its first page, at once.
            m_view->ShowPage(0);
            m_stale = true;
            if (isVisible())
                m_layout->StartNow();
            SyncSelection();
        });
    }
    m_stale = true;
    if (isVisible())
        m_layout->StartNow();
}

void CLivePreviewWnd::OnReportEdited()
{
    m_stale = true;
    m_editedWhileHeld = m_held;
    if (isVisible() && !m_held)
        m_layout->Schedule();
}

void CLivePreviewWnd::HoldLayouts(bool held)
{
    m_held = held;
    if (!held && std::exchange(m_editedWhileHeld, false))
        OnReportEdited();
}

void CLivePreviewWnd::OnVisibilityChanged(bool visible)
{
    // A hidden pane costs nothing: the layout catches up when it is shown again.
    if (!visible) {
        if (m_layout->IsPending()) {
            m_layout->Stop();
            m_stale = true;
        }
        return;
    }
    // After the quiet time, so that the window that shows the pane is painted first.
    if (m_stale)
        m_layout->Schedule();
}

void CLivePreviewWnd::OnPagesChanged()
{
    m_stale = m_layout->IsPending();
    const bool first = !m_view->GetModel();
    m_view->SetModel(m_layout->GetModel());
    if (first)
        ApplyFitWidth();
    if (m_seeking)
        m_seeking = !Seek();
    UpdateRequest();
    UpdateStatus();
    FindCutTexts();
}

void CLivePreviewWnd::FindCutTexts()
{
    const std::shared_ptr<const CPageModel> &model = m_layout->GetModel();
    bool changed = false;
    if (model != m_cutModel) {
        changed = !m_cutTexts.empty();
        m_cutTexts.clear();
        m_cutModel = model;
        m_cutPages = 0;
    }
    const int count = model ? model->GetPageCount() : 0;
    for (; m_cutPages < count; ++m_cutPages) {
        const std::shared_ptr<const CPage> page = model->GetPage(m_cutPages);
        for (const CPageSource &source : page ? page->GetCutTexts() : std::vector<CPageSource>()) {
            const bool known
                    = std::any_of(m_cutTexts.begin(), m_cutTexts.end(),
                                  [&](const CutText &cut) { return cut.source == source; });
            if (!known) {
                m_cutTexts.push_back({source, m_cutPages});
                changed = true;
            }
        }
    }
    if (changed)
        emit cutTextsChanged();
}

void CLivePreviewWnd::OnStateChanged()
{
    const QString &message = m_layout->GetFailure();
    if (message.isEmpty()) {
        m_failure->hide();
        return;
    }
    // Only an object the message names becomes a link: by its quoted name, or by the indexes
    // of a validation message. The place the layout was at may be some other object.
    CPageSource at = ReportPlaces::OfValidationMessage(message);
    const bool byIndex = at.band >= 0;
    if (!byIndex)
        at = m_layout->GetFailedAt();
    QString text = message.toHtmlEscaped();
    // The failed layout worked on the report as it stands (a newer edit starts another).
    const auto find = [this](const CPageSource &place) {
        return m_document
                ? ReportPlaces::Find(m_document->GetReport(), m_document->GetReport(), place)
                : nullptr;
    };
    const auto quotedName = [&](const CVornElement *element) {
        return (u'"' + element->GetName() + u'"').toHtmlEscaped();
    };
    CVornElement *named = find(at);
    // A message about an item's band names the band, not the item.
    if (named && !byIndex && !text.contains(quotedName(named)) && at.item >= 0) {
        at.item = -1;
        named = find(at);
    }
    if (named && !byIndex && !text.contains(quotedName(named)))
        named = nullptr;
    m_failureAt = named ? at : CPageSource();
    if (named) {
        // The name in the message becomes the link; a message that names it by its indexes
        // gets the link after it.
        const QString quoted = quotedName(named);
        const QString link = QStringLiteral("<a href=\"select\">%1</a>").arg(quoted);
        if (text.contains(quoted))
            text.replace(text.indexOf(quoted), quoted.size(), link);
        else
            text += QStringLiteral("<br>") + link;
    }
    m_failure->setText(text);
    m_failure->show();
    m_failure->raise();
    PlaceFailure();
}

void CLivePreviewWnd::PlaceFailure()
{
    const QRect area = m_view->viewport()->geometry();
    const int width = std::max(0, area.width() - 16);
    m_failure->setFixedWidth(width);
    m_failure->adjustSize();
    m_failure->move(area.left() + 8, area.top() + 8);
}

bool CLivePreviewWnd::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::Resize)
        PlaceFailure();
    return QDockWidget::eventFilter(watched, event);
}

void CLivePreviewWnd::ApplyFitWidth()
{
    if (m_fitWidth)
        m_view->SetZoom(m_view->FitWidthZoom());
}

void CLivePreviewWnd::UpdateRequest()
{
    int first = 0;
    int last = -1;
    m_view->VisiblePages(first, last);
    // The page below the last one laid out is in sight once the view reaches the end.
    int count = std::max(1, last + 1);
    const std::shared_ptr<const CPageModel> &model = m_layout->GetModel();
    if (model && !model->IsComplete()) {
        const int bottom = m_view->verticalScrollBar()->value() + m_view->viewport()->height();
        if (bottom >= m_view->GetGeometry().ContentSize().height() - CPreviewGeometry::gap)
            count = std::max(count, model->GetPageCount() + 1);
    }
    if (m_seeking && model)
        count = std::max(count, model->GetPageCount() + 1);
    m_layout->RequestPages(count);
}

void CLivePreviewWnd::UpdateStatus()
{
    m_status->setText(GetPageText());
}

QString CLivePreviewWnd::GetPageText() const
{
    const std::shared_ptr<const CPageModel> &model = m_layout->GetModel();
    if (!model || model->GetPageCount() == 0)
        return QString();
    const int page = m_view->GetCurrentPage() + 1;
    if (model->IsComplete())
        return tr("Page %1 of %2").arg(page).arg(model->GetPageCount());
    return tr("Page %1").arg(page);
}

QString CLivePreviewWnd::GetFailureText() const
{
    return m_failure->isVisible() || !m_layout->GetFailure().isEmpty() ? m_failure->text()
                                                                       : QString();
}

void CLivePreviewWnd::Choose(const CPageSource &source)
{
    if (!m_document || source.band < 0)
        return;
    const std::shared_ptr<const CVornReport> &report = m_layout->GetReport();
    CVornElement *element
            = report ? ReportPlaces::Find(m_document->GetReport(), *report, source) : nullptr;
    if (!element)
        element = ReportPlaces::Find(m_document->GetReport(), m_document->GetReport(), source);
    if (element)
        emit elementChosen(element);
}

void CLivePreviewWnd::SyncSelection()
{
    std::vector<CPageSource> selected;
    if (m_document) {
        const CVornReport &report = m_document->GetReport();
        for (int b = 0; b < report.GetBands().GetCount(); ++b) {
            const CVornBand *band = report.GetBands()[b];
            if (band->IsSelected())
                selected.push_back({b, -1});
            for (int i = 0; i < band->GetItems().GetCount(); ++i) {
                if (band->GetItems()[i]->IsSelected())
                    selected.push_back({b, i});
            }
        }
    }
    const bool changed = selected != m_view->GetOutlined();
    m_view->SetOutlined(std::move(selected));
    if (changed) {
        m_seeking = !Seek();
        UpdateRequest();
    }
}

bool CLivePreviewWnd::Seek()
{
    const std::vector<CPageSource> &wanted = m_view->GetOutlined();
    const std::shared_ptr<const CPageModel> &model = m_layout->GetModel();
    if (wanted.empty() || !model)
        return true;
    const int width = model->GetPageSize().width();
    const auto shows = [&](int index) {
        const std::shared_ptr<const CPage> page = model->GetPage(index);
        if (!page)
            return false;
        for (const CPageSource &source : wanted) {
            if (!PageHits::PlacesOf(*page, width, source).empty())
                return true;
        }
        return false;
    };
    // The current page is the one the status names: the preview goes to the first page that
    // shows the selection unless that one does.
    if (shows(m_view->GetCurrentPage()))
        return true;
    const int count = model->GetPageCount();
    for (int index = 0; index < count; ++index) {
        if (shows(index)) {
            m_view->ShowPage(index);
            return true;
        }
    }
    // Not on the pages laid out so far: the layout goes on until it is, or ends.
    return model->IsComplete() || !m_layout->IsPending();
}
