// The main window's bars and looks: the "Standard" toolbar and its customization, the
// application looks, and the window layout kept in the "Workspace" settings.
#include "mainframe.h"

#include "applicationlook.h"
#include "commandicons.h"
#include "commandtable.h"
#include "formatcommands.h"
#include "windowplacement.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>

using namespace CommandTable;

namespace {

// The buttons of the "Standard" toolbar in order; 0 stands for a separator.
constexpr int toolbarLayout[]
        = {FileNew,  FileOpen,  FileSave,      FileRun,   FilePreview, 0,         EditCut,
           EditCopy, EditPaste, EditDuplicate, EditClear, 0,           FilePrint, AppAbout};

QString WorkspaceKey(const char *name)
{
    return QStringLiteral("Workspace/") + QLatin1String(name);
}

constexpr int workspaceVersion = 1;

} // namespace

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

    m_layoutBar = new QToolBar(tr("Layout"), this);
    m_layoutBar->setObjectName(QStringLiteral("Layout"));
    m_layoutBar->setIconSize(QSize(16, 16));
    addToolBar(Qt::TopToolBarArea, m_layoutBar);
    // The buttons come with the workspace, which knows those the user hid.
}

QList<int> CMainFrame::ToolbarLayout(const QToolBar *toolBar) const
{
    if (toolBar == m_layoutBar)
        return CFormatCommands::ToolbarLayout();
    return QList<int>(std::begin(toolbarLayout), std::end(toolbarLayout));
}

void CMainFrame::RebuildToolBar()
{
    for (QToolBar *toolBar : {m_toolBar, m_layoutBar}) {
        toolBar->clear();
        // A separator shows only between two shown buttons.
        bool pendingSeparator = false;
        for (const int id : ToolbarLayout(toolBar)) {
            if (id == 0) {
                pendingSeparator = !toolBar->actions().isEmpty();
                continue;
            }
            if (m_hiddenButtons.contains(id))
                continue;
            if (pendingSeparator)
                toolBar->addSeparator();
            pendingSeparator = false;
            toolBar->addAction(FindCommand(id) ? FindCommand(id) : AddCommand(id));
        }
    }
    m_toolBar->addAction(m_customizeButton);
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
        setGeometry(WindowPlacement::FirstWindowRect(screen()->availableGeometry()));
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
    for (const int id : ToolbarLayout(m_toolBar) + ToolbarLayout(m_layoutBar)) {
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
