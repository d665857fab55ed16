#include "mainframe.h"

#include "aboutdlg.h"
#include "applicationlook.h"
#include "commandicons.h"
#include "commandtable.h"
#include "connectioncheck.h"
#include "datapane.h"
#include "datapanelink.h"
#include "elementsview.h"
#include "elementtext.h"
#include "formatcommands.h"
#include "keyindicators.h"
#include "livepanes.h"
#include "outlinewnd.h"
#include "propertieswnd.h"
#include "quarndoc.h"
#include "quarnview.h"
#include "userimages.h"
#include "viewsettings.h"
#include "vornkind.h"
#include "zoomsteps.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

using namespace CommandTable;

CMainFrame::CMainFrame(CQuarnDoc *document, QWidget *parent)
    : QMainWindow(parent)
    , m_document(document)
    , m_view(nullptr)
{
    setObjectName(QStringLiteral("MainFrame"));
    // The look comes first, so that the widgets made below are polished once. The stored
    // value is not written back: it is already there.
    ApplicationLook::Apply(ApplicationLook::ReadSetting(), false);
    setWindowIcon(CommandIcons::AppIcon());

    m_view = new CQuarnView(document, this);
    setCentralWidget(m_view);
    m_recentFiles.Load();
    m_userImages = UserImages::Load(UserImages::DefaultPath());
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    CreatePanes();
    m_storedZoom = ViewSettings::ReadZoom();
    m_view->SetZoom(m_storedZoom);
    connect(m_view, &CQuarnView::zoomChanged, this, &CMainFrame::OnZoomChanged);
    OnZoomChanged();
    LoadWorkspace();
    RefreshIcons();
    UpdateLookMarks();

    m_view->SetContextMenuActions({FindCommand(EditCut), FindCommand(EditCopy),
                                   FindCommand(EditPaste), FindCommand(EditDuplicate),
                                   FindCommand(EditClear)});
    connect(m_document, &CVornDocument::modifiedChanged, this, &CMainFrame::UpdateCaption);
    connect(m_document, &CVornDocument::pathNameChanged, this, &CMainFrame::UpdateCaption);
    UpdateCaption();
    setAcceptDrops(true);
    m_view->setFocus();
}

CMainFrame::~CMainFrame()
{
    // An open Properties editor gives up its value as the window goes, which records an edit
    // that the window's commands follow: hidden here, that happens while they still exist.
    hide();
}

QAction *CMainFrame::FindCommand(int id) const
{
    return m_commands.value(id);
}

QAction *CMainFrame::AddCommand(int id)
{
    QAction *action = CreateAction(id, this);
    m_commands.insert(id, action);
    return action;
}

QAction *CMainFrame::AddTo(QMenu *menu, int id)
{
    QAction *action = AddCommand(id);
    menu->addAction(action);
    return action;
}

void CMainFrame::CreateMenus()
{
    m_fileMenu = menuBar()->addMenu(tr("&File"));
    connect(AddTo(m_fileMenu, FileNew), &QAction::triggered, this, &CMainFrame::DoFileNew);
    connect(AddTo(m_fileMenu, FileNewLabels), &QAction::triggered, this,
            &CMainFrame::DoFileNewLabels);
    connect(AddTo(m_fileMenu, FileOpen), &QAction::triggered, this, &CMainFrame::DoFileOpen);
    connect(AddTo(m_fileMenu, FileSave), &QAction::triggered, this, &CMainFrame::DoFileSave);
    connect(AddTo(m_fileMenu, FileSaveAs), &QAction::triggered, this, &CMainFrame::DoFileSaveAs);
    connect(AddTo(m_fileMenu, FileRun), &QAction::triggered, this, &CMainFrame::RunReportCommand);
    connect(AddTo(m_fileMenu, FilePreview), &QAction::triggered, this,
            &CMainFrame::PreviewReportCommand);
    // Print prints what Preview would show.
    connect(AddTo(m_fileMenu, FilePrint), &QAction::triggered, this,
            &CMainFrame::PrintReportCommand);
    m_fileMenu->addSeparator();
    m_recentEnd = m_fileMenu->addSeparator();
    UpdateRecentMenu();
    connect(AddTo(m_fileMenu, AppExit), &QAction::triggered, this, &QWidget::close);

    CreateEditMenu();

    QMenu *view = menuBar()->addMenu(tr("&View"));
    QAction *grid = AddTo(view, ViewAlignToGrid);
    grid->setCheckable(true);
    grid->setChecked(m_document->IsGridOn());
    connect(grid, &QAction::triggered, m_document, &CVornDocument::ToggleGrid);
    connect(m_document, &CVornDocument::gridChanged, grid, &QAction::setChecked);
    CreateZoomCommands(view);

    // Filled with the toolbar and the panes once they exist.
    QMenu *toolbars = view->addMenu(MenuText(ViewToolbars));
    toolbars->setObjectName(QStringLiteral("ToolbarsMenu"));
    toolbars->menuAction()->setObjectName(ObjectName(ViewToolbars));
    toolbars->menuAction()->setData(int(ViewToolbars));
    m_commands.insert(ViewToolbars, toolbars->menuAction());
    connect(AddCommand(ViewCustomize), &QAction::triggered, this, &CMainFrame::Customize);

    QAction *statusBarCommand = AddTo(view, ViewStatusBar);
    statusBarCommand->setCheckable(true);
    statusBarCommand->setChecked(true);
    connect(statusBarCommand, &QAction::toggled, this,
            [this](bool on) { statusBar()->setVisible(on); });
    CreateLookMenu(view);

    // Every band kind, the page break included, inserted where a click would put it.
    QMenu *insert = menuBar()->addMenu(tr("&Insert"));
    insert->setObjectName(QStringLiteral("InsertMenu"));
    const std::pair<int, int> bands[] = {
            {InsertPageHeader, VornKind::PageHeader},
            {InsertReportHeader, VornKind::ReportHeader},
            {InsertContents, VornKind::ReportContents},
            {InsertReportFooter, VornKind::ReportFooter},
            {InsertPageFooter, VornKind::PageFooter},
            {InsertPageBreak, VornKind::PageBreak},
    };
    for (const auto &[id, kind] : bands) {
        connect(AddTo(insert, id), &QAction::triggered, m_view,
                [this, kind = kind] { m_view->InsertBand(kind); });
    }

    QMenu *format = menuBar()->addMenu(tr("F&ormat"));
    format->setObjectName(QStringLiteral("FormatMenu"));
    m_format = new CFormatCommands(
            m_document, m_view, [this](int id) { return AddCommand(id); }, this);
    m_format->FillMenu(format);

    QMenu *help = menuBar()->addMenu(tr("&Help"));
    connect(AddTo(help, AppAbout), &QAction::triggered, this, &CMainFrame::ShowAbout);

    connect(AddCommand(NextPane), &QAction::triggered, this, [this] { SwitchPane(true); });
    connect(AddCommand(PrevPane), &QAction::triggered, this, [this] { SwitchPane(false); });
    addAction(FindCommand(NextPane));
    addAction(FindCommand(PrevPane));
}

void CMainFrame::CreateZoomCommands(QMenu *view)
{
    QAction *captions = AddTo(view, ViewBandCaptions);
    captions->setCheckable(true);
    captions->setChecked(ViewSettings::ReadBandCaptions());
    m_view->SetBandCaptions(captions->isChecked());
    connect(captions, &QAction::toggled, this, [this](bool on) {
        m_view->SetBandCaptions(on);
        ViewSettings::WriteBandCaptions(on);
    });
    QAction *rulers = AddTo(view, ViewRulers);
    rulers->setCheckable(true);
    rulers->setChecked(ViewSettings::ReadRulers());
    m_view->SetRulersVisible(rulers->isChecked());
    connect(rulers, &QAction::toggled, this, [this](bool on) {
        m_view->SetRulersVisible(on);
        ViewSettings::WriteRulers(on);
    });
    view->addSeparator();
    connect(AddTo(view, ViewZoomIn), &QAction::triggered, m_view, &CQuarnView::ZoomIn);
    connect(AddTo(view, ViewZoomOut), &QAction::triggered, m_view, &CQuarnView::ZoomOut);
    connect(AddTo(view, ViewActualSize), &QAction::triggered, this,
            [this] { m_view->SetZoom(1.0); });
    QAction *fit = AddTo(view, ViewFitWidth);
    fit->setCheckable(true);
    connect(fit, &QAction::triggered, this, [this] { m_view->SetZoom(CPageGeometry::FitWidth); });
    view->addSeparator();
}

void CMainFrame::OnZoomChanged()
{
    const double choice = m_view->GetZoomChoice();
    FindCommand(ViewFitWidth)->setChecked(choice == CPageGeometry::FitWidth);
    m_zoomPane->setText(ZoomSteps::Text(choice, m_view->GetZoom()));
    if (choice != m_storedZoom) {
        m_storedZoom = choice;
        ViewSettings::WriteZoom(choice);
    }
}

void CMainFrame::FollowPosition()
{
    // The readout follows the selected object through undo, redo and property edits.
    if (m_positionElement)
        ShowPosition(m_document->GetReport().FindFirstSelected());
}

void CMainFrame::ShowPosition(CVornElement *element)
{
    m_positionElement = element;
    m_positionPane->setText(ElementText::Geometry(m_document->GetReport(), element));
}

void CMainFrame::OnPropertiesRequested(CVornElement *element)
{
    // Another object, or none: the position shown no longer applies.
    if (element != m_positionElement) {
        m_positionElement = nullptr;
        m_positionPane->clear();
    }
    m_outline->SyncSelection();
}

void CMainFrame::CreateStatusBar()
{
    // The message pane: "Ready" while no prompt is shown over it.
    m_readyPane = new QLabel(tr("Ready"));
    m_readyPane->setObjectName(QStringLiteral("ReadyPane"));
    statusBar()->addWidget(m_readyPane, 1);
    m_positionPane = new QLabel(statusBar());
    m_positionPane->setObjectName(QStringLiteral("PositionPane"));
    statusBar()->addPermanentWidget(m_positionPane);
    m_zoomPane = new QLabel(statusBar());
    m_zoomPane->setObjectName(QStringLiteral("ZoomPane"));
    m_zoomPane->setAlignment(Qt::AlignCenter);
    m_zoomPane->setMinimumWidth(m_zoomPane->fontMetrics().horizontalAdvance(
                                        ZoomSteps::Text(CPageGeometry::FitWidth, 1.0))
                                + 8);
    statusBar()->addPermanentWidget(m_zoomPane);
    m_keyIndicators = new CKeyIndicators(statusBar());
}

void CMainFrame::CreatePanes()
{
    // The toolbox and the view keep one choice between them: a row chosen in the toolbox
    // sets the view's insertion mode, and every release in the view goes back to "Pointer".
    m_elements = new CElementsView(this);
    addDockWidget(Qt::LeftDockWidgetArea, m_elements);
    connect(m_elements, &CElementsView::insertKindChosen, m_view,
            [this](int kind) { m_view->SetInsertKind(kind); });
    connect(m_elements, &CElementsView::insertKindLocked, m_view,
            [this](int kind) { m_view->SetInsertKind(kind, true); });
    connect(m_view, &CQuarnView::returnedToPointer, m_elements,
            [this] { m_elements->SelectKind(0); });

    // The view asks for the pane; it never calls it.
    m_properties = new CPropertiesWnd(this);
    m_properties->SetDocument(m_document);
    m_properties->SetConnectionTester([this](const CVornReport &report, QString &message) {
        // Relative SQLite paths are taken from the report's folder, as a run takes them.
        const QString path = m_document->GetPathName();
        return CheckDataConnection(report.GetDatabaseType(), report.GetConnectString(),
                                   path.isEmpty() ? QString() : QFileInfo(path).absolutePath(),
                                   message);
    });
    addDockWidget(Qt::RightDockWidgetArea, m_properties);
    connect(m_view, &CQuarnView::showPropertiesRequested, m_properties,
            &CPropertiesWnd::ShowProperties);
    connect(m_view, &CQuarnView::focusMainPropertyRequested, m_properties, [this] {
        // Enter in the outline brings the Properties tab to the front.
        m_properties->raise();
        m_properties->FocusMainProperty();
    });

    // The outline selects through the view, as a click there would; the view's selection
    // comes back to it with every request for properties.
    m_outline = new COutlineWnd(this);
    m_outline->SetDocument(m_document);
    // Tabbed with Properties, which stays in front: the view keeps its width.
    tabifyDockWidget(m_properties, m_outline);
    m_properties->raise();
    connect(m_outline, &COutlineWnd::elementChosen, m_view, &CQuarnView::SelectElement);
    connect(m_outline, &COutlineWnd::viewKeyPressed, m_view, &CQuarnView::HandleKey);
    connect(m_view, &CQuarnView::showPropertiesRequested, this, &CMainFrame::OnPropertiesRequested);
    connect(m_view, &CQuarnView::elementGeometryChanged, this, &CMainFrame::ShowPosition);
    connect(m_document, &CVornDocument::reportReset, this, [this] { ShowPosition(nullptr); });
    connect(m_document, &CVornDocument::changed, this, &CMainFrame::FollowPosition);

    // Tabbed with Elements, which stays in front.
    m_data = CreateDataPane(m_document, m_view, m_properties, this);
    addDockWidget(Qt::LeftDockWidgetArea, m_data);
    tabifyDockWidget(m_elements, m_data);
    m_elements->raise();
    m_livePanes = new CLivePanes(*this, *m_document, *m_view, *m_properties,
                                 {m_properties, m_outline}, LookupOf(m_data));
    resizeDocks({m_elements, m_properties}, {200, 200}, Qt::Horizontal);

    // F6 reaches a pane that floats in a window of its own too.
    for (QDockWidget *pane : Panes()) {
        pane->addAction(FindCommand(NextPane));
        pane->addAction(FindCommand(PrevPane));
    }

    QMenu *toolbars = menuBar()->findChild<QMenu *>(QStringLiteral("ToolbarsMenu"));
    toolbars->addAction(m_toolBar->toggleViewAction());
    toolbars->addAction(m_layoutBar->toggleViewAction());
    for (QDockWidget *pane : Panes())
        toolbars->addAction(pane->toggleViewAction());
    toolbars->addSeparator();
    toolbars->addAction(FindCommand(ViewCustomize));
}

QMenu *CMainFrame::createPopupMenu()
{
    QMenu *menu = QMainWindow::createPopupMenu();
    if (menu) {
        menu->addSeparator();
        menu->addAction(FindCommand(ViewCustomize));
    }
    return menu;
}

QList<QDockWidget *> CMainFrame::Panes() const
{
    QList<QDockWidget *> panes {m_elements, m_data, m_properties, m_outline};
    if (m_livePanes)
        panes += m_livePanes->Panes();
    return panes;
}

void CMainFrame::SwitchPane(bool forward)
{
    QList<QWidget *> panes {m_view};
    for (QDockWidget *pane : Panes()) {
        if (pane->isVisible())
            panes.append(pane);
    }
    const QWidget *focus = QApplication::focusWidget();
    qsizetype current = -1;
    for (qsizetype i = 0; i < panes.size(); ++i) {
        if (focus && (panes.at(i) == focus || panes.at(i)->isAncestorOf(focus)))
            current = i;
    }
    const qsizetype count = panes.size();
    const qsizetype next = current < 0 ? 0 : (current + (forward ? 1 : count - 1)) % count;
    QWidget *target = panes.at(next);
    if (target->isWindow())
        target->activateWindow();
    // A pane that shares its place with another comes to the front.
    target->raise();
    target->setFocus(Qt::OtherFocusReason);
}

void CMainFrame::ShowAbout()
{
    CAboutDlg dialog(this);
    dialog.exec();
}
