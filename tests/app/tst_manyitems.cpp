#include "commandtable.h"
#include "elementsctrl.h"
#include "elementsview.h"
#include "mainframe.h"
#include "outlinectrl.h"
#include "outlinewnd.h"
#include "propertiesctrl.h"
#include "propertieswnd.h"
#include "propertygridproperty.h"
#include "propertyid.h"
#include "quarndoc.h"
#include "quarnview.h"
#include "rulerbar.h"
#include "testregistry.h"
#include "vornitems.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTest>
#include <QToolBar>
#include <QUndoStack>

using namespace Qt::StringLiterals;
using namespace CommandTable;

// The user lays out a row of an invoice in the main window with the tools for many items:
// picks items with Shift and with a rectangle, takes the whole band with Ctrl+A, lines them up
// from the Format menu, sets their top in the Properties pane at once, inserts several texts
// with the kind kept by a double click, and finds Print in the File menu and the rulers beside
// the page.
class TestManyItems : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QSettings().clear();
        m_doc = std::make_unique<CQuarnDoc>();
        m_doc->SetGridOn(false);
        m_frame = std::make_unique<CMainFrame>(m_doc.get());
        m_frame->DoFileNew();
        m_band = new CVornBand(VornKind::ReportContents, u"Lines"_s);
        m_band->SetHeight(5080);
        m_doc->GetReport().GetBands().Add(m_band);
        // Four texts in a row at uneven heights: 24 pixels apart from 24 to 264 across.
        for (int i = 0; i < 4; ++i) {
            auto *text = new CVornText;
            text->SetName(u"T%1"_s.arg(i));
            text->SetRect(635 + i * 1905, 635 + i * 100, 1905 + i * 1905, 1270 + i * 100);
            m_band->GetItems().Add(text);
        }
        m_frame->resize(1400, 980);
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
        m_view = m_frame->GetView();
        m_view->setFocus();
    }
    void cleanup()
    {
        m_doc->SetModifiedFlag(false);
        m_frame.reset();
        m_doc.reset();
        QSettings().clear();
    }

    void selectWithShiftRectangleAndCtrlA()
    {
        Click(Item(0));
        Click(Item(2), Qt::ShiftModifier);
        QCOMPARE(Selection(), (QStringList {u"T2"_s, u"T0"_s}));
        QCOMPARE(m_frame->GetPropertiesWnd()->GetCurrentObjects().size(), size_t(2));

        // A rectangle from the band's empty part around the last two.
        const QRect second = Rect(Item(1));
        const QRect last = Rect(Item(3));
        const QPoint from(second.left() - 6, Rect(m_band).bottom() - 20);
        const QPoint to(last.right() + 6, second.top() - 6);
        QTest::mousePress(m_view->viewport(), Qt::LeftButton, {}, from);
        QTest::mouseMove(m_view->viewport(), to);
        QCOMPARE(m_view->GetMode(), int(CViewInteraction::SelectRect));
        QTest::mouseRelease(m_view->viewport(), Qt::LeftButton, {}, to);
        QCOMPARE(Selection(), (QStringList {u"T1"_s, u"T2"_s, u"T3"_s}));

        Click(Item(1));
        QTest::keyClick(m_view, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(Selection(), (QStringList {u"T1"_s, u"T0"_s, u"T2"_s, u"T3"_s}));
        QTest::keyClick(m_view, Qt::Key_Escape);
        QCOMPARE(Selection(), QStringList());
        // Selecting changed nothing in the report.
        QCOMPARE(m_doc->GetUndoStack()->count(), 0);
    }

    // Align Tops from the Format menu lines the items up with the primary one, enabled only
    // while it changes something, and offered in the right-click menu until then.
    void formatCommand()
    {
        QAction *alignTops = m_frame->FindCommand(FormatAlignTops);
        QVERIFY(m_frame->menuBar()
                        ->findChild<QMenu *>(u"FormatMenu"_s)
                        ->actions()
                        .contains(alignTops));
        QVERIFY(m_frame->GetLayoutToolBar()->actions().contains(alignTops));
        QVERIFY(!alignTops->isEnabled());
        QTest::keyClick(m_view, Qt::Key_A, Qt::ControlModifier);
        Click(Item(3));
        QVERIFY(alignTops->isEnabled());
        QTest::mouseClick(m_view->viewport(), Qt::RightButton, {}, Rect(Item(1)).center());
        QMenu *menu = m_view->GetContextMenu();
        QTRY_VERIFY(menu->isVisible());
        QVERIFY(menu->actions().contains(alignTops));
        // Only what applies: the items' order is the one Bring to Front would give.
        QVERIFY(!menu->actions().contains(m_frame->FindCommand(FormatBringToFront)));
        menu->hide();
        // The right click on a selected item kept the selection, and the primary item.
        QCOMPARE(Selection().first(), u"T3"_s);

        alignTops->trigger();
        for (int i = 0; i < 4; ++i)
            QCOMPARE(Item(i)->GetTop(), 635 + 300);
        QVERIFY(!alignTops->isEnabled());
        QCOMPARE(m_doc->GetUndoStack()->undoText(), u"Align Tops"_s);
        QTest::keyClick(m_view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Item(0)->GetTop(), 635);
        QCOMPARE(Item(2)->GetTop(), 835);
        QCOMPARE(Selection().size(), 4);
    }

    // With two items selected the pane shows what they share, without a name; a top typed
    // there goes into both as one step.
    void propertiesOfTwoItems()
    {
        Click(Item(0));
        Click(Item(1), Qt::ShiftModifier);
        QVERIFY(!m_frame->GetPropertiesWnd()->GetPropertyGrid()->FindRow(RowId::Name));
        CPropertyGridProperty *top = SubRow(u"Top"_s);
        QVERIFY(top);
        QCOMPARE(top->GetValue(), QString());
        QLineEdit *edit = OpenEditor(top);
        QVERIFY(edit);
        edit->selectAll();
        QTest::keyClicks(edit, u"3"_s);
        QTest::keyClick(edit, Qt::Key_Return);
        // Return ends the edit through a queued call.
        QTRY_COMPARE(Item(0)->GetTop(), 300);
        QCOMPARE(Item(1)->GetTop(), 300);
        QCOMPARE(Item(2)->GetTop(), 835);
        QCOMPARE(m_doc->GetUndoStack()->count(), 1);
    }

    // The window closed while a typed value waits in the Properties pane: the value is kept as
    // an undo step, and nothing is left to reach the window's commands once they are gone.
    void closingWithAnEditorOpen()
    {
        Click(Item(0));
        QLineEdit *edit = OpenEditor(SubRow(u"Top"_s));
        QVERIFY(edit);
        edit->selectAll();
        QTest::keyClicks(edit, u"4"_s);
        m_frame.reset();
        QCOMPARE(Item(0)->GetTop(), 400);
        QCOMPARE(m_doc->GetUndoStack()->count(), 1);
    }

    // A double click on "Text Box" keeps it for one text after another, until Esc.
    void stickyInsertion()
    {
        CElementsCtrl *list = m_frame->GetElementsView()->GetCtrl();
        const QPoint row = list->visualItemRect(list->topLevelItem(6)).center();
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
        QCOMPARE(list->GetLockedKind(), int(VornKind::Text));
        const QRect band = Rect(m_band);
        for (const int x : {300, 450, 600})
            QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {},
                              QPoint(band.left() + x, band.top() + 130));
        QCOMPARE(m_band->GetItems().GetCount(), 7);
        QCOMPARE(m_view->GetMode(), CViewInteraction::ModeForKind(VornKind::Text));
        QTest::keyClick(m_view, Qt::Key_Escape);
        QCOMPARE(m_view->GetMode(), 0);
        QCOMPARE(CElementsCtrl::KindOf(list->currentItem()), 0);
        QCOMPARE(list->GetLockedKind(), -1);
        // A single click is for one insertion.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
        QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {},
                          band.topLeft() + QPoint(400, 160));
        QCOMPARE(m_view->GetMode(), 0);
    }

    void printAndTheToolbars()
    {
        QAction *print = m_frame->FindCommand(FilePrint);
        QVERIFY(m_frame->menuBar()->actions().first()->menu()->actions().contains(print));
        QCOMPARE(print->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
        QVERIFY(m_frame->GetStandardToolBar()->actions().contains(
                m_frame->FindCommand(EditDuplicate)));
        QVERIFY(m_frame->GetStandardToolBar()->actions().contains(m_frame->FindCommand(EditClear)));
        QList<int> customizable;
        for (const CCustomizeDlg::Button &button : m_frame->GetToolbarButtons())
            customizable << button.id;
        QVERIFY(customizable.contains(EditClear) && customizable.contains(FormatSendToBack));
    }

    // The rulers stand beside the viewport, and View > Rulers takes them away for good.
    void rulers()
    {
        CRulerBar *across = m_view->GetRuler(true);
        QVERIFY(across->isVisible());
        QCOMPARE(across->geometry().bottom() + 1, m_view->viewport()->geometry().top());
        const int width = m_view->viewport()->width();
        QTest::mouseMove(m_view->viewport(), QPoint(120, 80));
        QCOMPARE(across->GetPointer(), 120);
        m_frame->FindCommand(ViewRulers)->trigger();
        QVERIFY(!across->isVisible());
        QCOMPARE(m_view->viewport()->width(), width + CRulerBar::Thickness);
        QVERIFY(!QSettings().value(u"Quarn Settings/Rulers"_s, true).toBool());
    }

    // After an undo the status bar shows where the selected object is now.
    void positionFollowsUndo()
    {
        Click(Item(0));
        QTest::keyClick(m_view, Qt::Key_Right);
        QLabel *position = m_frame->GetPositionPane();
        QVERIFY(position->text().startsWith(u"Left 6.61 mm"_s));
        QTest::keyClick(m_view, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(position->text().startsWith(u"Left 6.35 mm"_s));
    }

    // A new look reaches the outline's rows too.
    void outlineTakesANewLook()
    {
        COutlineWnd *outline = m_frame->GetOutlineWnd();
        m_doc->NotifyChanged();
        QVERIFY(outline->GetCtrl()->topLevelItem(0));
        const QPalette before = QApplication::palette();
        QPalette dark = before;
        dark.setColor(QPalette::Text, QColor(0xEE, 0xEE, 0xEE));
        dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
        QApplication::setPalette(dark);
        QTRY_COMPARE(outline->GetCtrl()->topLevelItem(0)->foreground(0).color(),
                     QColor(0xEE, 0xEE, 0xEE));
        QApplication::setPalette(before);
    }

private:
    CVornText *Item(int i) const { return static_cast<CVornText *>(m_band->GetItems()[i]); }
    QRect Rect(const CVornElement *element) const
    {
        return m_view->GetItemPixelRect(element).ToQRect().translated(-m_view->GetScrollPosition());
    }
    void Click(const CVornElement *element, Qt::KeyboardModifiers keys = {})
    {
        QTest::mouseClick(m_view->viewport(), Qt::LeftButton, keys, Rect(element).center());
    }
    CPropertyGridProperty *SubRow(const QString &name) const
    {
        CPropertiesCtrl *grid = m_frame->GetPropertiesWnd()->GetPropertyGrid();
        for (int i = 0; i < grid->GetRowCount(); ++i) {
            CPropertyGridProperty *row = grid->GetRow(i);
            for (int j = 0; j < row->childCount(); ++j) {
                if (row->GetSubRow(j)->GetName() == name)
                    return row->GetSubRow(j);
            }
        }
        return nullptr;
    }
    // A click on the row's value opens its editor.
    QLineEdit *OpenEditor(CPropertyGridProperty *row) const
    {
        CPropertiesCtrl *grid = m_frame->GetPropertiesWnd()->GetPropertyGrid();
        if (!row)
            return nullptr;
        row->parent()->setExpanded(true);
        grid->scrollToItem(row);
        QTest::mouseClick(
                grid->viewport(), Qt::LeftButton, {},
                QPoint(grid->columnWidth(0) + 20, grid->visualItemRect(row).center().y()));
        return grid->viewport()->findChild<QLineEdit *>();
    }
    QStringList Selection() const
    {
        QStringList names;
        for (const CVornElement *element : m_doc->GetReport().GetSelection())
            names << element->GetName();
        return names;
    }

    std::unique_ptr<CQuarnDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
    CQuarnView *m_view = nullptr;
    CVornBand *m_band = nullptr;
};

VANTEL_TEST_CLASS(TestManyItems)
#include "tst_manyitems.moc"
