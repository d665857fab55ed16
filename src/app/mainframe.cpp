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
#include "keyindicators.h"
#include "outlinewnd.h"
#include "propertieswnd.h"
#include "quarndoc.h"
#include "quarnview.h"
#include "reportclipboard.h"
#include "reportedit.h"
#include "reportfile.h"
#include "reportpreviewer.h"
#include "reportrunner.h"
#include "userimages.h"
#include "viewsettings.h"
#include "zoomsteps.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>
#include <QToolButton>
#include <QWidgetAction>

using namespace CommandTable;

namespace {

QString FileFilter()
{
    return QCoreApplication::translate("Vantel", "Vantel Reports (*.vnt)");
}

// The buttons of the "Standard" toolbar in order; 0 stands for a separator.
constexpr int toolbarLayout[] = {FileNew,  FileOpen, FileSave,  FileRun, FilePreview, 0,
                                 EditCut,  EditCopy, EditPaste, 0,       FilePrint,   AppAbout};

QString WorkspaceKey(const char *name)
{
    return QStringLiteral("Workspace/") + QLatin1String(name);
}

constexpr int workspaceVersion = 1;

// The first local file among dropped URLs that is a report.
QString DroppedReport(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return QString();
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile()
            && url.toLocalFile().endsWith(QStringLiteral(".vnt"), Qt::CaseInsensitive))
            return url.toLocalFile();
    }
    return QString();
}

} // namespace

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

    m_view->SetContextMenuActions(
            {FindCommand(EditCut), FindCommand(EditCopy), FindCommand(EditPaste)});
    connect(m_document, &CVornDocument::modifiedChanged, this, &CMainFrame::UpdateCaption);
    connect(m_document, &CVornDocument::pathNameChanged, this, &CMainFrame::UpdateCaption);
    UpdateCaption();
    setAcceptDrops(true);
    m_view->setFocus();
}

CMainFrame::~CMainFrame() = default;

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
    connect(AddTo(m_fileMenu, FileOpen), &QAction::triggered, this, &CMainFrame::DoFileOpen);
    connect(AddTo(m_fileMenu, FileSave), &QAction::triggered, this, &CMainFrame::DoFileSave);
    connect(AddTo(m_fileMenu, FileSaveAs), &QAction::triggered, this, &CMainFrame::DoFileSaveAs);
    connect(AddTo(m_fileMenu, FileRun), &QAction::triggered, this, &CMainFrame::RunReportCommand);
    connect(AddTo(m_fileMenu, FilePreview), &QAction::triggered, this,
            &CMainFrame::PreviewReportCommand);
    // Print is a toolbar button only: it prints what Preview would show.
    connect(AddCommand(FilePrint), &QAction::triggered, this, &CMainFrame::PrintReportCommand);
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
    view->addSeparator();
    connect(AddTo(view, ViewZoomIn), &QAction::triggered, m_view, &CQuarnView::ZoomIn);
    connect(AddTo(view, ViewZoomOut), &QAction::triggered, m_view, &CQuarnView::ZoomOut);
    connect(AddTo(view, ViewActualSize), &QAction::triggered, this, [this] { m_view->SetZoom(1.0); });
    QAction *fit = AddTo(view, ViewFitWidth);
    fit->setCheckable(true);
    connect(fit, &QAction::triggered, this,
            [this] { m_view->SetZoom(CPageGeometry::FitWidth); });
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
    // The keys work wherever the focus is in the window, unless a text field takes them.
    for (const int id : {EditUndo, EditRedo, EditCut, EditCopy, EditPaste, EditDuplicate})
        addAction(FindCommand(id));

    for (const auto signal : {&QUndoStack::canUndoChanged, &QUndoStack::canRedoChanged})
        connect(history, signal, this, &CMainFrame::UpdateUndoCommands);
    for (const auto signal : {&QUndoStack::undoTextChanged, &QUndoStack::redoTextChanged})
        connect(history, signal, this, &CMainFrame::UpdateUndoCommands);
    UpdateUndoCommands();

    // The selection changes in the view, with an undo or redo, or with a new report.
    connect(m_view, &CQuarnView::showPropertiesRequested, this, &CMainFrame::UpdateEditCommands);
    connect(m_document, &CVornDocument::historyReplayed, this, &CMainFrame::UpdateEditCommands);
    connect(m_document, &CVornDocument::reportReset, this, &CMainFrame::UpdateEditCommands);
    connect(m_document, &CVornDocument::reportChanged, this, &CMainFrame::UpdateEditCommands);
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
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    FindCommand(EditPaste)->setEnabled(data && data->hasFormat(ReportClipboard::MimeType()));
}

bool CMainFrame::DoCopy()
{
    const CVornElement *selected = m_document->GetReport().FindFirstSelected();
    if (!selected)
        return false;
    const QByteArray fragment = ReportClipboard::WriteFragment(m_document->GetReport(), *selected);
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
    const CVornElement *selected = m_document->GetReport().FindFirstSelected();
    if (!selected)
        return false;
    return PasteFragment(ReportClipboard::WriteFragment(m_document->GetReport(), *selected),
                         tr("Duplicate"));
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
        pasted = ReportClipboard::Paste(edit, fragment,
                                        m_document->GetReport().FindFirstSelected(),
                                        geometry.PixelsToModelX(10, zoom),
                                        geometry.PixelsToModelY(10, zoom), message);
    }
    if (!pasted) {
        statusBar()->showMessage(tr("Nothing was pasted: %1").arg(message), 10000);
        return false;
    }
    m_document->PageSizeChanged();
    m_document->ReportChanged();
    m_properties->ShowProperties(pasted);
    return true;
}

void CMainFrame::CreateLookMenu(QMenu *view)
{
    QMenu *looks = view->addMenu(tr("&Application Look"));
    looks->setObjectName(QStringLiteral("ApplicationLookMenu"));
    m_looks = new QActionGroup(this);
    const auto addLook = [this](QMenu *menu, int id) {
        QAction *action = AddTo(menu, id);
        action->setCheckable(true);
        m_looks->addAction(action);
        connect(action, &QAction::triggered, this, [this, id] { ChooseLook(id); });
    };
    for (const int id :
         {LookWindows2000, LookOfficeXP, LookWindowsXP, LookOffice2003, LookVS2005, LookVS2008})
        addLook(looks, id);
    QMenu *office2007 = looks->addMenu(tr("Office 200&7"));
    for (const int id :
         {LookOffice2007Blue, LookOffice2007Black, LookOffice2007Silver, LookOffice2007Aqua})
        addLook(office2007, id);
}

void CMainFrame::CreateToolBar()
{
    m_toolBar = new QToolBar(tr("Standard"), this);
    m_toolBar->setObjectName(QStringLiteral("Standard"));
    m_toolBar->setIconSize(QSize(16, 16));
    addToolBar(Qt::TopToolBarArea, m_toolBar);

    // The small button at the end of the toolbar that leads to "Customize...".
    auto *button = new QToolButton;
    button->setObjectName(QStringLiteral("CustomizeButton"));
    button->setAutoRaise(true);
    button->setArrowType(Qt::DownArrow);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolTip(MenuText(ViewCustomize));
    auto *menu = new QMenu(button);
    menu->addAction(FindCommand(ViewCustomize));
    button->setMenu(menu);
    m_customizeButton = new QWidgetAction(this);
    m_customizeButton->setDefaultWidget(button);
    RebuildToolBar();
}

void CMainFrame::RebuildToolBar()
{
    m_toolBar->clear();
    // A separator shows only between two shown buttons.
    bool pendingSeparator = false;
    for (const int id : toolbarLayout) {
        if (id == 0) {
            pendingSeparator = !m_toolBar->actions().isEmpty();
            continue;
        }
        if (m_hiddenButtons.contains(id))
            continue;
        if (pendingSeparator)
            m_toolBar->addSeparator();
        pendingSeparator = false;
        m_toolBar->addAction(FindCommand(id) ? FindCommand(id) : AddCommand(id));
    }
    m_toolBar->addAction(m_customizeButton);
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
    connect(m_elements, &CElementsView::insertKindChosen, m_view, &CQuarnView::SetInsertKind);
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
    connect(m_view, &CQuarnView::showPropertiesRequested, this,
            &CMainFrame::OnPropertiesRequested);
    connect(m_view, &CQuarnView::elementGeometryChanged, this, &CMainFrame::ShowPosition);
    connect(m_document, &CVornDocument::reportReset, this, [this] { ShowPosition(nullptr); });

    // Tabbed with Elements, which stays in front.
    m_data = CreateDataPane(m_document, m_view, m_properties, this);
    addDockWidget(Qt::LeftDockWidgetArea, m_data);
    tabifyDockWidget(m_elements, m_data);
    m_elements->raise();
    resizeDocks({m_elements, m_properties}, {200, 200}, Qt::Horizontal);

    // F6 reaches a pane that floats in a window of its own too.
    for (QDockWidget *pane : Panes()) {
        pane->addAction(FindCommand(NextPane));
        pane->addAction(FindCommand(PrevPane));
    }

    QMenu *toolbars = menuBar()->findChild<QMenu *>(QStringLiteral("ToolbarsMenu"));
    toolbars->addAction(m_toolBar->toggleViewAction());
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

void CMainFrame::LoadWorkspace()
{
    QSettings settings;
    const QStringList hidden = settings.value(WorkspaceKey("HiddenButtons")).toStringList();
    for (const QString &id : hidden)
        m_hiddenButtons.append(id.toInt());
    const QStringList images = settings.value(WorkspaceKey("ButtonImages")).toStringList();
    for (const QString &entry : images) {
        const int id = entry.section(u':', 0, 0).toInt();
        const int image = entry.section(u':', 1, 1).toInt();
        if (image >= 0 && image < m_userImages.size())
            m_buttonImages.insert(id, image);
    }
    RebuildToolBar();

    const QByteArray geometry = settings.value(WorkspaceKey("Geometry")).toByteArray();
    if (geometry.isEmpty() || !restoreGeometry(geometry))
        resize(1000, 760);
    restoreState(settings.value(WorkspaceKey("State")).toByteArray(), workspaceVersion);
    const bool statusBarShown = settings.value(WorkspaceKey("StatusBar"), true).toBool();
    statusBar()->setVisible(statusBarShown);
    FindCommand(ViewStatusBar)->setChecked(statusBarShown);
}

void CMainFrame::SaveWorkspace()
{
    QSettings settings;
    settings.setValue(WorkspaceKey("Geometry"), saveGeometry());
    settings.setValue(WorkspaceKey("State"), saveState(workspaceVersion));
    settings.setValue(WorkspaceKey("StatusBar"), FindCommand(ViewStatusBar)->isChecked());
}

QList<CCustomizeDlg::Button> CMainFrame::GetToolbarButtons() const
{
    QList<CCustomizeDlg::Button> buttons;
    for (const int id : toolbarLayout) {
        if (id == 0)
            continue;
        CCustomizeDlg::Button button;
        button.id = id;
        button.name = ToolTip(id);
        button.icon = CommandIcons::Icon(id, palette());
        button.shown = !m_hiddenButtons.contains(id);
        button.userImage = m_buttonImages.value(id, -1);
        buttons.append(button);
    }
    return buttons;
}

void CMainFrame::ApplyToolbarButtons(const QList<CCustomizeDlg::Button> &buttons)
{
    m_hiddenButtons.clear();
    m_buttonImages.clear();
    QStringList hidden;
    QStringList images;
    for (const CCustomizeDlg::Button &button : buttons) {
        if (!button.shown) {
            m_hiddenButtons.append(button.id);
            hidden.append(QString::number(button.id));
        }
        if (button.userImage >= 0 && button.userImage < m_userImages.size()) {
            m_buttonImages.insert(button.id, button.userImage);
            images.append(QStringLiteral("%1:%2").arg(button.id).arg(button.userImage));
        }
    }
    RebuildToolBar();
    RefreshIcons();
    QSettings settings;
    settings.setValue(WorkspaceKey("HiddenButtons"), hidden);
    settings.setValue(WorkspaceKey("ButtonImages"), images);
}

void CMainFrame::Customize()
{
    CCustomizeDlg dialog(GetToolbarButtons(), m_userImages, this);
    if (dialog.exec() == QDialog::Accepted)
        ApplyToolbarButtons(dialog.GetButtons());
}

void CMainFrame::RefreshIcons()
{
    for (auto it = m_commands.cbegin(); it != m_commands.cend(); ++it) {
        const int image = m_buttonImages.value(it.key(), -1);
        if (image >= 0 && image < m_userImages.size())
            it.value()->setIcon(QIcon(m_userImages.at(image)));
        else
            it.value()->setIcon(CommandIcons::Icon(it.key(), palette()));
    }
}

void CMainFrame::ChooseLook(int id)
{
    ApplicationLook::Apply(id);
    UpdateLookMarks();
}

void CMainFrame::UpdateLookMarks()
{
    // A stored look without a menu entry (219, or any other value) marks nothing.
    for (QAction *action : m_looks->actions())
        action->setChecked(IdOf(action) == ApplicationLook::Current());
}

void CMainFrame::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Lines drawn in the text colour follow a new look.
    if (event->type() == QEvent::PaletteChange && !m_commands.isEmpty())
        RefreshIcons();
}

QList<QDockWidget *> CMainFrame::Panes() const
{
    return {m_elements, m_data, m_properties, m_outline};
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

void CMainFrame::UpdateRecentMenu()
{
    for (QAction *action : std::as_const(m_recentActions))
        delete action;
    m_recentActions.clear();
    if (m_recentFiles.GetCount() == 0) {
        // An empty list shows its place, disabled.
        auto *placeholder = new QAction(tr("Recent File"), this);
        placeholder->setObjectName(ObjectName(RecentFileFirst));
        placeholder->setData(int(RecentFileFirst));
        placeholder->setEnabled(false);
        m_recentActions.append(placeholder);
    }
    for (int i = 0; i < m_recentFiles.GetCount(); ++i) {
        auto *action = new QAction(CRecentFileList::MenuText(i, m_recentFiles.GetAt(i)), this);
        action->setObjectName(ObjectName(RecentFileFirst + i));
        action->setData(RecentFileFirst + i);
        action->setStatusTip(StatusTip(RecentFileFirst + i));
        connect(action, &QAction::triggered, this, [this, i] { OpenRecentFile(i); });
        m_recentActions.append(action);
    }
    m_fileMenu->insertActions(m_recentEnd, m_recentActions);
}

void CMainFrame::AddRecentFile(const QString &path)
{
    // Reopening the newest entry changes nothing, and costs no settings write.
    if (!m_recentFiles.Add(path))
        return;
    m_recentFiles.Save();
    UpdateRecentMenu();
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
    // The reset makes the view start over and ask for the report's page.
    m_document->OnNewDocument();
    return true;
}

bool CMainFrame::DoFileOpen()
{
    if (!SaveModified())
        return false;
    const QString path = AskOpenFileName();
    return !path.isEmpty() && ReadFile(path);
}

CMainFrame::OpenResult CMainFrame::OpenFile(const QString &path)
{
    if (!SaveModified())
        return OpenResult::Cancelled;
    return ReadFile(path) ? OpenResult::Opened : OpenResult::Failed;
}

bool CMainFrame::ReadFile(const QString &path)
{
    QString message;
    if (!m_document->OnOpenDocument(path, message)) {
        ShowMessage(message);
        return false;
    }
    OnReportOpened();
    return true;
}

bool CMainFrame::OpenDocumentFile(const QString &path)
{
    return OpenFile(path) == OpenResult::Opened;
}

bool CMainFrame::OpenRecentFile(int index)
{
    if (index < 0 || index >= m_recentFiles.GetCount())
        return false;
    const QString path = m_recentFiles.GetAt(index);
    const OpenResult result = OpenFile(path);
    if (result == OpenResult::Failed) {
        const int now = int(m_recentFiles.GetFiles().indexOf(path));
        m_recentFiles.Remove(now);
        m_recentFiles.Save();
        UpdateRecentMenu();
    }
    return result == OpenResult::Opened;
}

void CMainFrame::OnReportOpened()
{
    const QString path = m_document->GetPathName();
    AddRecentFile(path);
    m_properties->ShowReportProperties(path);
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
    AddRecentFile(m_document->GetPathName());
    return true;
}

bool CMainFrame::RestoreRecoveredReport(const QString &recoveryPath, const QString &originalPath)
{
    CVornReport restored;
    QString message;
    if (!VornTemplate::Load(restored, recoveryPath, message)) {
        // A report can be saved while it does not pass the checks (the user was still at
        // work on it). Its copy is then read in full and only the final check fails, with
        // the same message the report gives now: that work is kept.
        QString check;
        if (restored.Validate(check) || check != message) {
            ShowMessage(tr("The automatically saved report could not be restored: ") + message);
            return false;
        }
    }
    m_document->OnNewDocument();
    m_document->GetReport().Swap(restored);
    m_document->SetPathName(originalPath);
    // Restored work has not been saved under its path: modified until it is.
    m_document->SetModifiedFlag(true);
    m_document->PageSizeChanged();
    m_document->ReportChanged();
    m_properties->ShowReportProperties(originalPath);
    return true;
}

void CMainFrame::RunReportCommand()
{
    RunReport(*m_document, this);
}

void CMainFrame::PreviewReportCommand()
{
    PreviewDocument(*m_document, this);
}

void CMainFrame::PrintReportCommand()
{
    PrintDocument(*m_document, this);
}

void CMainFrame::ShowAbout()
{
    CAboutDlg dialog(this);
    dialog.exec();
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
    if (!SaveModified()) {
        event->ignore();
        return;
    }
    SaveWorkspace();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent *event)
{
    if (!DroppedReport(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent *event)
{
    const QString path = DroppedReport(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // The drop ends before the file is opened: a save prompt or a message box must not run
    // inside the drag-and-drop exchange.
    activateWindow();
    QTimer::singleShot(0, this, [this, path] { OpenDocumentFile(path); });
}
