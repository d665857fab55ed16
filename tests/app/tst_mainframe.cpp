#include "aboutdlg.h"
#include "commandtable.h"
#include "datapane.h"
#include "elementsctrl.h"
#include "elementsview.h"
#include "keyindicators.h"
#include "livelayout.h"
#include "livepanes.h"
#include "livepreviewview.h"
#include "livepreviewwnd.h"
#include "mainframe.h"
#include "modalanswer.h"
#include "outlinectrl.h"
#include "outlinewnd.h"
#include "problemswnd.h"
#include "propertiesctrl.h"
#include "propertieswnd.h"
#include "propertygridproperty.h"
#include "propertyid.h"
#include "quarndoc.h"
#include "quarnview.h"
#include "testregistry.h"
#include "testutil.h"
#include "vornitems.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QWidgetAction>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The entries of a menu: "ID_<id>" for a command, "-" for a separator, the title of a
// submenu in brackets, or the text of anything else.
QStringList Entries(const QMenu *menu)
{
    QStringList entries;
    for (const QAction *action : menu->actions()) {
        if (action->isSeparator())
            entries << QStringLiteral("-");
        else if (action->menu() && action->objectName().isEmpty())
            entries << u'[' + action->text() + u']';
        else if (!action->objectName().isEmpty())
            entries << action->objectName();
        else
            entries << action->text();
    }
    return entries;
}

QMenu *Submenu(const QMenu *menu, const QString &title)
{
    for (const QAction *action : menu->actions()) {
        if (action->menu() && action->text() == title)
            return action->menu();
    }
    return nullptr;
}

QMenu *TopMenu(QMainWindow *frame, const QString &title)
{
    for (const QAction *action : frame->menuBar()->actions()) {
        if (action->text() == title)
            return action->menu();
    }
    return nullptr;
}

} // namespace

// The user finds the designer's commands where they expect them: the File, View and Help
// menus with their texts, shortcuts and prompts, the "Standard" toolbar, the status bar's
// "Ready" and key panes, the commands nothing carries out shown disabled, F6 between the
// panes, the Properties pane following the view, Run and About, files dropped on the window,
// and the layout kept for the next start.
class TestMainFrame : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QSettings().clear();
        QGuiApplication::clipboard()->clear();
        m_doc = std::make_unique<CQuarnDoc>();
        m_frame = std::make_unique<CMainFrame>(m_doc.get());
        m_frame->DoFileNew();
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
    }
    void cleanup()
    {
        m_doc->SetModifiedFlag(false);
        m_frame.reset();
        m_doc.reset();
        QSettings().clear();
    }

    void menus()
    {
        QStringList titles;
        for (const QAction *action : m_frame->menuBar()->actions())
            titles << action->text();
        QCOMPARE(titles,
                 QStringList({u"&File"_s, u"&Edit"_s, u"&View"_s, u"&Insert"_s, u"F&ormat"_s,
                              u"&Help"_s}));
        QCOMPARE(Entries(TopMenu(m_frame.get(), QStringLiteral("&Edit"))),
                 QStringList({u"ID_57643"_s, u"ID_57644"_s, u"-"_s, u"ID_57635"_s, u"ID_57634"_s,
                              u"ID_57637"_s, u"ID_32810"_s, u"ID_57632"_s, u"-"_s, u"ID_57642"_s}));

        QCOMPARE(Entries(TopMenu(m_frame.get(), QStringLiteral("&File"))),
                 QStringList({u"ID_57600"_s, u"ID_32856"_s, u"ID_57601"_s, u"ID_57603"_s,
                              u"ID_57604"_s, u"ID_32771"_s, u"ID_32772"_s, u"ID_57607"_s, u"-"_s,
                              u"ID_57616"_s, u"-"_s, u"ID_57665"_s}));
        // Every band kind, the page break last.
        QCOMPARE(Entries(TopMenu(m_frame.get(), QStringLiteral("&Insert"))),
                 QStringList({u"ID_32850"_s, u"ID_32851"_s, u"ID_32852"_s, u"ID_32853"_s,
                              u"ID_32854"_s, u"ID_32855"_s}));
        QMenu *view = TopMenu(m_frame.get(), QStringLiteral("&View"));
        QCOMPARE(Entries(view),
                 QStringList({u"ID_32778"_s, u"ID_32804"_s, u"ID_32834"_s, u"-"_s, u"ID_32800"_s,
                              u"ID_32801"_s, u"ID_32802"_s, u"ID_32803"_s, u"-"_s, u"ID_59392"_s,
                              u"ID_59393"_s, u"[&Application Look]"_s}));
        QCOMPARE(
                Entries(m_frame->FindCommand(59392)->menu()),
                QStringList({u"Standard"_s, u"Layout"_s, u"Elements"_s, u"Data"_s, u"Properties"_s,
                             u"Outline"_s, u"Live Preview"_s, u"Problems"_s, u"-"_s, u"ID_126"_s}));
        QCOMPARE(Entries(TopMenu(m_frame.get(), QStringLiteral("F&ormat"))),
                 QStringList({u"ID_32820"_s, u"ID_32821"_s, u"ID_32822"_s, u"ID_32823"_s,
                              u"ID_32824"_s, u"ID_32825"_s, u"-"_s, u"ID_32826"_s, u"ID_32827"_s,
                              u"ID_32828"_s, u"-"_s, u"ID_32829"_s, u"ID_32830"_s, u"-"_s,
                              u"ID_32831"_s, u"-"_s, u"ID_32832"_s, u"ID_32833"_s}));
        QMenu *looks = Submenu(view, QStringLiteral("&Application Look"));
        QVERIFY(looks);
        QCOMPARE(Entries(looks),
                 QStringList({u"ID_205"_s, u"ID_206"_s, u"ID_207"_s, u"ID_208"_s, u"ID_209"_s,
                              u"ID_210"_s, u"[Office 200&7]"_s}));
        QCOMPARE(Entries(Submenu(looks, QStringLiteral("Office 200&7"))),
                 QStringList({u"ID_215"_s, u"ID_216"_s, u"ID_217"_s, u"ID_218"_s}));
        QCOMPARE(Entries(TopMenu(m_frame.get(), QStringLiteral("&Help"))),
                 QStringList({u"ID_57664"_s}));

        // An empty recent-file list shows its place, disabled.
        QAction *recent = m_frame->findChild<QAction *>(QStringLiteral("ID_57616"));
        QCOMPARE(recent->text(), QStringLiteral("Recent File"));
        QVERIFY(!recent->isEnabled());
    }

    void commands_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("statusTip");
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<bool>("enabled");

        QTest::newRow("new") << 57600 << "&New\tCtrl+N"
                             << "Ctrl+N"
                             << "Create a new document"
                             << "New" << true;
        QTest::newRow("open") << 57601 << "&Open...\tCtrl+O"
                              << "Ctrl+O"
                              << "Open an existing document"
                              << "Open" << true;
        QTest::newRow("save") << 57603 << "&Save\tCtrl+S"
                              << "Ctrl+S"
                              << "Save the active document"
                              << "Save" << true;
        QTest::newRow("save as") << 57604 << "Save &As..."
                                 << ""
                                 << "Save the active document with a new name"
                                 << "Save As" << true;
        QTest::newRow("run") << 32771 << "&Run...\tCtrl+F5"
                             << "Ctrl+F5"
                             << "Runs the current report and opens it in the Preview window"
                             << "Run" << true;
        QTest::newRow("exit") << 57665 << "E&xit"
                              << ""
                              << "Quit the application; prompts to save documents"
                              << "Exit" << true;
        QTest::newRow("align to grid") << 32778 << "Align To Grid"
                                       << ""
                                       << ""
                                       << "" << true;
        QTest::newRow("status bar") << 59393 << "&Status Bar"
                                    << ""
                                    << "Show or hide the status bar"
                                    << "Toggle Status Bar" << true;
        QTest::newRow("about") << 57664 << "&About Vantel..."
                               << ""
                               << "Display program information, version number and copyright"
                               << "About" << true;
        QTest::newRow("customize") << 126 << "Customize..."
                                   << ""
                                   << ""
                                   << "" << true;
        QTest::newRow("copy") << 57634 << "&Copy\tCtrl+C"
                              << "Ctrl+C, Ctrl+Ins"
                              << "Copy the selection and put it on the Clipboard"
                              << "Copy" << false;
        QTest::newRow("cut") << 57635 << "Cu&t\tCtrl+X"
                             << "Ctrl+X, Shift+Del"
                             << "Cut the selection and put it on the Clipboard"
                             << "Cut" << false;
        QTest::newRow("paste") << 57637 << "&Paste\tCtrl+V"
                               << "Ctrl+V, Shift+Ins"
                               << "Insert Clipboard contents"
                               << "Paste" << false;
        QTest::newRow("undo") << 57643 << "&Undo\tCtrl+Z"
                              << "Ctrl+Z, Alt+Backspace"
                              << "Undo the last action"
                              << "Undo" << false;
        QTest::newRow("redo") << 57644 << "&Redo\tCtrl+Y"
                              << "Ctrl+Y, Ctrl+Shift+Z"
                              << "Redo the previously undone action"
                              << "Redo" << false;
        QTest::newRow("duplicate") << 32810 << "D&uplicate\tCtrl+D"
                                   << "Ctrl+D"
                                   << "Copy the selection and paste it at once, leaving the "
                                      "Clipboard as it is"
                                   << "Duplicate" << false;
        QTest::newRow("delete") << 57632 << "&Delete\tDel"
                                << ""
                                << "Delete the selection"
                                << "Delete" << false;
        QTest::newRow("print") << 57607 << "&Print...\tCtrl+P"
                               << "Ctrl+P"
                               << "Print the report"
                               << "Print" << true;
        QTest::newRow("preview") << 32772 << "Pre&view\tF5"
                                 << "F5"
                                 << "Shows the report as it is in the designer with its data, "
                                    "unsaved changes included"
                                 << "Preview" << true;
        QTest::newRow("next pane") << 57680 << "Next Pane"
                                   << "F6"
                                   << "Switch to the next window pane"
                                   << "Next Pane" << true;
        QTest::newRow("previous pane") << 57681 << "Previous Pane"
                                       << "Shift+F6"
                                       << "Switch back to the previous window pane"
                                       << "Previous Pane" << true;
    }
    void commands()
    {
        QFETCH(int, id);
        QFETCH(QString, text);
        QFETCH(QString, keys);
        QFETCH(QString, statusTip);
        QFETCH(QString, toolTip);
        QFETCH(bool, enabled);

        QAction *action = m_frame->FindCommand(id);
        QVERIFY(action);
        QCOMPARE(action->objectName(), QStringLiteral("ID_%1").arg(id));
        QCOMPARE(CommandTable::IdOf(action), id);
        QCOMPARE(action->text(), text);
        QStringList shortcuts;
        for (const QKeySequence &key : action->shortcuts())
            shortcuts << key.toString();
        QCOMPARE(shortcuts.join(QStringLiteral(", ")), keys);
        QCOMPARE(action->statusTip(), statusTip);
        if (!toolTip.isEmpty())
            QCOMPARE(action->toolTip(), toolTip);
        QCOMPARE(action->isEnabled(), enabled);
    }

    void toolbar()
    {
        QToolBar *bar = m_frame->GetStandardToolBar();
        QCOMPARE(bar->objectName(), QStringLiteral("Standard"));
        QCOMPARE(bar->windowTitle(), QStringLiteral("Standard"));
        QList<int> ids;
        for (const QAction *action : bar->actions()) {
            if (qobject_cast<const QWidgetAction *>(action))
                continue;
            ids << (action->isSeparator() ? 0 : CommandTable::IdOf(action));
            if (!action->isSeparator()) {
                QVERIFY(!action->icon().isNull());
                QVERIFY(!action->icon().pixmap(16).toImage().isNull());
            }
        }
        QCOMPARE(ids,
                 QList<int>({57600, 57601, 57603, 32771, 32772, 0, 57635, 57634, 57637, 32810,
                             57632, 0, 57607, 57664}));
        // The last button leads to "Customize...".
        auto *customize = bar->findChild<QToolButton *>(QStringLiteral("CustomizeButton"));
        QVERIFY(customize && customize->isVisible());
        QCOMPARE(customize->menu()->actions(), QList<QAction *>({m_frame->FindCommand(126)}));
    }

    void statusBar()
    {
        QLabel *ready = m_frame->GetReadyPane();
        QCOMPARE(ready->text(), QStringLiteral("Ready"));
        QVERIFY(ready->isVisible());
        // A command's prompt shows in the message pane while it is highlighted.
        m_frame->FindCommand(57600)->showStatusText(m_frame.get());
        QCOMPARE(m_frame->statusBar()->currentMessage(), QStringLiteral("Create a new document"));
        QVERIFY(!ready->isVisible());
        m_frame->statusBar()->clearMessage();
        QVERIFY(ready->isVisible());

        // The key panes keep room for their texts and show them only while a key is on.
        CKeyIndicators *keys = m_frame->GetKeyIndicators();
        const QStringList texts {u"CAP"_s, u"NUM"_s, u"SCRL"_s};
        keys->Show({true, false, true});
        for (int key = 0; key < CKeyIndicators::KeyCount; ++key) {
            QLabel *pane = keys->GetPane(CKeyIndicators::Key(key));
            QVERIFY(pane->isVisible());
            QVERIFY(pane->width() >= pane->fontMetrics().horizontalAdvance(texts.at(key)));
            QCOMPARE(pane->text(), key == 1 ? QString() : texts.at(key));
        }
        // View > Status Bar hides it.
        m_frame->FindCommand(59393)->trigger();
        QVERIFY(!m_frame->statusBar()->isVisible());
        m_frame->FindCommand(59393)->trigger();
        QVERIFY(m_frame->statusBar()->isVisible());
    }

    void runWithoutBands()
    {
        for (const bool byKey : {false, true}) {
            m_frame->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
            CModalAnswer answer(QMessageBox::Ok);
            if (byKey)
                QTest::keyClick(m_frame->GetView(), Qt::Key_F5, Qt::ControlModifier);
            else
                m_frame->FindCommand(32771)->trigger();
            QCOMPARE(answer.titles, QStringList({u"Vantel"_s}));
            QCOMPARE(answer.texts, QStringList({u"The report is empty, nothing to run"_s}));
        }
    }

    void about()
    {
        QString title;
        bool isAbout = false;
        CModalAnswer answer(QMessageBox::Ok, [&](QDialog *dialog) {
            isAbout = qobject_cast<CAboutDlg *>(dialog) != nullptr;
            title = dialog->windowTitle();
            dialog->accept();
        });
        m_frame->FindCommand(57664)->trigger();
        QVERIFY(isAbout);
        QCOMPARE(title, QStringLiteral("About Vantel"));
    }

    void disabledCommandsDoNothing()
    {
        // Their keys do not reach the view either: Shift+Delete must not delete an item.
        auto *band = new CVornBand(VornKind::ReportContents, QStringLiteral("Orders"));
        band->SetHeight(2540);
        band->SetSelected(true);
        m_doc->GetReport().GetBands().Add(band);
        m_frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
        m_frame->GetView()->setFocus();
        QTest::keyClick(m_frame->GetView(), Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(m_doc->GetReport().GetBands().GetCount(), 1);
        QVERIFY(!m_doc->IsModified());
    }

    void switchPanes_data()
    {
        QTest::addColumn<bool>("propertiesShown");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<QStringList>("order");

        // The outline shares its place with the properties; F6 brings its tab to the front.
        // The Data pane shares its place with the elements.
        QTest::newRow("F6") << true << true
                            << QStringList({u"elements"_s, u"data"_s, u"properties"_s, u"outline"_s,
                                            u"live"_s, u"problems"_s, u"view"_s, u"elements"_s});
        QTest::newRow("Shift+F6") << true << false
                                  << QStringList({u"problems"_s, u"live"_s, u"outline"_s,
                                                  u"properties"_s, u"data"_s, u"elements"_s,
                                                  u"view"_s, u"problems"_s});
        QTest::newRow("a closed pane is skipped")
                << false << true
                << QStringList({u"elements"_s, u"data"_s, u"outline"_s, u"live"_s, u"problems"_s,
                                u"view"_s, u"elements"_s});
    }
    void switchPanes()
    {
        QFETCH(bool, propertiesShown);
        QFETCH(bool, forward);
        QFETCH(QStringList, order);

        m_frame->GetPropertiesWnd()->setVisible(propertiesShown);
        m_frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
        m_frame->GetView()->setFocus();
        QTRY_VERIFY(m_frame->GetView()->hasFocus());
        for (const QString &pane : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6,
                            forward ? Qt::NoModifier : Qt::ShiftModifier);
            QWidget *expected = pane == QLatin1String("view")
                    ? static_cast<QWidget *>(m_frame->GetView())
                    : pane == QLatin1String("problems")
                    ? static_cast<QWidget *>(m_frame->GetLivePanes()->GetProblems()->GetList())
                    : pane == QLatin1String("live")
                    ? static_cast<QWidget *>(m_frame->GetLivePanes()->GetLivePreview()->GetView())
                    : pane == QLatin1String("outline")
                    ? static_cast<QWidget *>(m_frame->GetOutlineWnd()->GetCtrl())
                    : pane == QLatin1String("elements")
                    ? static_cast<QWidget *>(m_frame->GetElementsView()->GetCtrl())
                    // The Data pane's filter box, above its tables, takes what is typed.
                    : pane == QLatin1String("data")
                    ? static_cast<QWidget *>(m_frame->GetDataPane()->GetFilter())
                    : static_cast<QWidget *>(m_frame->GetPropertiesWnd()->GetPropertyGrid());
            QTRY_COMPARE(QApplication::focusWidget(), expected);
        }
    }

    void theDataPaneFillsWhenBroughtForward()
    {
        // Behind the Elements pane the Data pane waits; brought forward it shows the report.
        CDataTree *tree = m_frame->GetDataPane()->GetTree();
        const auto firstRow = [tree] {
            const QTreeWidgetItem *row = tree->topLevelItem(0);
            return row ? row->text(0) : QString();
        };
        const QString before = firstRow();
        m_doc->GetReport().SetDatabaseType(2);
        m_doc->GetReport().SetConnectString(u"DSN=shop"_s);
        m_doc->NotifyChanged();
        QCOMPARE(firstRow(), before);
        m_frame->GetDataPane()->raise();
        QTRY_COMPARE(tree->topLevelItem(0)->text(0), u"ODBC: DSN=shop"_s);
    }

    void propertiesFollowTheView()
    {
        // A new report shows the report's page.
        CPropertiesWnd *pane = m_frame->GetPropertiesWnd();
        QCOMPARE(pane->GetDocument(), m_doc.get());
        QCOMPARE(pane->GetCurrentObject(), nullptr);
        QVERIFY(pane->GetPropertyGrid()->FindRow(RowId::Title));

        auto *band = new CVornBand(VornKind::ReportContents, QStringLiteral("Orders"));
        band->SetHeight(5080);
        auto *text = new CVornText;
        text->SetName(QStringLiteral("Greeting"));
        text->SetText(QStringLiteral("Hello"));
        text->SetRect(1270, 1270, 6350, 2540);
        band->GetItems().Add(text);
        m_doc->GetReport().GetBands().Add(band);
        m_doc->NotifyChanged();
        m_doc->SetModifiedFlag(false);

        // A click on the item in the view shows its page...
        CQuarnView *view = m_frame->GetView();
        const QPoint centre
                = view->GetItemPixelRect(text).ToQRect().center() - view->GetScrollPosition();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
        QCOMPARE(pane->GetCurrentObject(), text);
        CPropertyGridProperty *row = pane->GetPropertyGrid()->FindRow(RowId::Text);
        QVERIFY(row);
        QCOMPARE(row->GetValue(), QStringLiteral("Hello"));

        // ...and Enter puts the focus on its main row.
        m_frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(pane->GetPropertyGrid()->GetCurrentRow(), row);
        QTRY_VERIFY(pane->GetPropertyGrid()->hasFocus());

        // An opened report shows its file name on the report page.
        QVERIFY(m_frame->OpenDocumentFile(
                TestUtil::FixturePath(QStringLiteral("full_report.vnt"))));
        QCOMPARE(pane->GetCurrentObject(), nullptr);
        CPropertyGridProperty *file = pane->GetPropertyGrid()->FindRow(RowId::FileName);
        QVERIFY(file);
        QCOMPARE(file->GetValue(), m_doc->GetPathName());
        // Saved under another name, it shows that one.
        QTemporaryDir dir;
        const QString copy = dir.filePath(u"copy.vnt"_s);
        QVERIFY(m_frame->SaveDocumentTo(copy));
        QCOMPARE(file->GetValue(), copy);
    }

    void dropOpensReport_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("local");
        QTest::addColumn<bool>("opens");

        QTest::newRow("a report") << "dropped.vnt" << true << true;
        QTest::newRow("upper-case suffix") << "DROPPED.VNT" << true << true;
        QTest::newRow("not a report") << "dropped.txt" << true << false;
        QTest::newRow("not a local file") << "dropped.vnt" << false << false;
    }
    void dropOpensReport()
    {
        QFETCH(QString, name);
        QFETCH(bool, local);
        QFETCH(bool, opens);

        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QVERIFY(QFile::copy(TestUtil::FixturePath(QStringLiteral("full_report.vnt")), path));
        QMimeData data;
        data.setUrls({local ? QUrl::fromLocalFile(path)
                            : QUrl(QStringLiteral("https://example.org/dropped.vnt"))});

        const QPoint at = m_frame->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_frame.get(), &enter);
        QCOMPARE(enter.isAccepted(), opens);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_frame.get(), &drop);
        if (opens) {
            QTRY_COMPARE(m_doc->GetPathName(), QFileInfo(path).absoluteFilePath());
            QCOMPARE(m_frame->GetRecentFiles().GetFiles(),
                     QStringList({QFileInfo(path).absoluteFilePath()}));
        } else {
            QTest::qWait(20);
            QVERIFY(m_doc->GetPathName().isEmpty());
        }
    }

    void layoutKeptForTheNextStart()
    {
        // A first start: the panes 200 pixels wide, everything shown.
        QCOMPARE(m_frame->GetElementsView()->width(), 200);
        QCOMPARE(m_frame->GetPropertiesWnd()->width(), 200);
        QCOMPARE(m_frame->dockWidgetArea(m_frame->GetElementsView()), Qt::LeftDockWidgetArea);
        QCOMPARE(m_frame->dockWidgetArea(m_frame->GetPropertiesWnd()), Qt::RightDockWidgetArea);

        m_frame->FindCommand(59393)->trigger();
        m_frame->GetPropertiesWnd()->toggleViewAction()->trigger();
        m_frame->addDockWidget(Qt::RightDockWidgetArea, m_frame->GetElementsView());
        m_frame->resize(900, 700);
        QVERIFY(m_frame->close());
        m_frame.reset();

        m_frame = std::make_unique<CMainFrame>(m_doc.get());
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
        QCOMPARE(m_frame->size(), QSize(900, 700));
        QVERIFY(!m_frame->statusBar()->isVisible());
        QVERIFY(!m_frame->FindCommand(59393)->isChecked());
        QVERIFY(!m_frame->GetPropertiesWnd()->isVisible());
        QCOMPARE(m_frame->dockWidgetArea(m_frame->GetElementsView()), Qt::RightDockWidgetArea);
    }

    // A one-page report whose page at fit width is a little taller than the live preview:
    // at no width of the window or of the pane may the preview's scroll bar come and go
    // without end. After each size the window is given time to settle, then must stay quiet.
    void noSizeKeepsTheWindowBusy()
    {
        auto *header = new CVornBand(VornKind::PageHeader, u"Header"_s);
        header->SetHeight(2000);
        m_doc->GetReport().GetBands().Add(header);
        m_doc->NotifyChanged();
        CLivePreviewWnd *preview = m_frame->GetLivePanes()->GetLivePreview();
        QVERIFY(preview->isVisible());
        QTRY_VERIFY(preview->GetLayout()->GetModel());

        struct Counter : QObject
        {
            QWidget *within = nullptr;
            int events = 0;
            bool eventFilter(QObject *watched, QEvent *event) override
            {
                const QEvent::Type type = event->type();
                if ((type == QEvent::Show || type == QEvent::Hide || type == QEvent::Resize)
                    && watched->isWidgetType()
                    && within->isAncestorOf(static_cast<QWidget *>(watched)))
                    ++events;
                return false;
            }
        } counter;
        counter.within = preview;
        qApp->installEventFilter(&counter);
        const auto quiet = [&](const QString &what) {
            QTest::qWait(40);
            counter.events = 0;
            QTest::qWait(40);
            QVERIFY2(counter.events == 0,
                     qPrintable(u"%1: %2 events"_s.arg(what).arg(counter.events)));
        };
        for (int width = 1000; width <= 1700; width += 10) {
            m_frame->resize(width, 900);
            quiet(u"window %1 wide"_s.arg(width));
            if (QTest::currentTestFailed())
                break;
        }
        m_frame->resize(1400, 900);
        for (int width = 120; width <= 520; width += 5) {
            m_frame->resizeDocks({preview}, {width}, Qt::Horizontal);
            quiet(u"preview %1 wide"_s.arg(width));
            if (QTest::currentTestFailed())
                break;
        }
        qApp->removeEventFilter(&counter);
    }

    // The Problems pane warns of a text the live preview's layout cut at its box, and the
    // warning goes once the box is tall enough.
    void textsCutOnSomePageAreWarned()
    {
        auto *header = new CVornBand(VornKind::PageHeader, u"Header"_s);
        header->SetHeight(2000);
        auto *text = new CVornText;
        text->SetName(u"Title"_s);
        text->SetText(u"First line\nSecond line\nThird line"_s);
        text->SetRect(0, 0, 5000, 100);
        header->GetItems().Add(text);
        m_doc->GetReport().GetBands().Add(header);
        m_doc->NotifyChanged();
        const auto warned = [&] {
            const CReportProblems &problems = m_frame->GetLivePanes()->GetProblems()->GetProblems();
            return std::any_of(problems.begin(), problems.end(), [](const CReportProblem &p) {
                return p.severity == CReportProblem::Severity::Warning && p.item == 0
                        && p.message.startsWith(u"The text is cut at its box on page 1"_s);
            });
        };
        QTRY_VERIFY(warned());
        text->SetBottom(1900);
        m_doc->NotifyChanged();
        QTRY_VERIFY(!warned());
    }

    void closingAModifiedReportAsks_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");

        QTest::newRow("no") << int(QMessageBox::No) << true;
        QTest::newRow("cancel") << int(QMessageBox::Cancel) << false;
    }
    void closingAModifiedReportAsks()
    {
        QFETCH(int, answer);
        QFETCH(bool, closes);

        m_doc->SetModifiedFlag();
        CModalAnswer modal {QMessageBox::StandardButton(answer)};
        QCOMPARE(m_frame->close(), closes);
        QCOMPARE(modal.texts, QStringList({u"Save changes to Untitled?"_s}));
        // The layout is written only when the window really closes.
        QCOMPARE(QSettings().contains(QStringLiteral("Workspace/State")), closes);
    }

    void customizeToolbar()
    {
        // The dialog lists the buttons; the user takes "Cut" and "Copy" off.
        CModalAnswer answer(QMessageBox::Ok, [](QDialog *dialog) {
            auto *list = dialog->findChild<QListWidget *>(QStringLiteral("customizeButtons"));
            QStringList names;
            for (int row = 0; row < list->count(); ++row)
                names << list->item(row)->text();
            if (names.mid(0, 12)
                        == QStringList({u"New"_s, u"Open"_s, u"Save"_s, u"Run"_s, u"Preview"_s,
                                        u"Cut"_s, u"Copy"_s, u"Paste"_s, u"Duplicate"_s,
                                        u"Delete"_s, u"Print"_s, u"About"_s})
                && names.contains(u"Align Lefts"_s)) {
                list->item(5)->setCheckState(Qt::Unchecked);
                list->item(6)->setCheckState(Qt::Unchecked);
            }
            dialog->accept();
        });
        m_frame->FindCommand(126)->trigger();
        QCOMPARE(answer.dialogs, 1);

        const auto toolbarIds = [this] {
            QList<int> ids;
            for (const QAction *action : m_frame->GetStandardToolBar()->actions()) {
                if (!qobject_cast<const QWidgetAction *>(action))
                    ids << (action->isSeparator() ? 0 : CommandTable::IdOf(action));
            }
            return ids;
        };
        const QList<int> expected {57600, 57601, 57603, 32771, 32772, 0,
                                   57637, 32810, 57632, 0,     57607, 57664};
        QCOMPARE(toolbarIds(), expected);
        // The commands stay in the frame; only their buttons went.
        QVERIFY(m_frame->FindCommand(57635));

        // Kept for the next start; a group with no button left leaves no double separator.
        m_frame.reset();
        m_frame = std::make_unique<CMainFrame>(m_doc.get());
        QCOMPARE(toolbarIds(), expected);
        QList<CCustomizeDlg::Button> buttons = m_frame->GetToolbarButtons();
        for (const int i : {7, 8, 9}) // Paste, Duplicate, Delete
            buttons[i].shown = false;
        m_frame->ApplyToolbarButtons(buttons);
        QCOMPARE(toolbarIds(), QList<int>({57600, 57601, 57603, 32771, 32772, 0, 57607, 57664}));
    }

private:
    std::unique_ptr<CQuarnDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
};

VANTEL_TEST_CLASS(TestMainFrame)
#include "tst_mainframe.moc"
