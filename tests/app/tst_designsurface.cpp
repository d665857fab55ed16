#include "elementsctrl.h"
#include "elementsview.h"
#include "livelayout.h"
#include "livepanes.h"
#include "livepreviewwnd.h"
#include "mainframe.h"
#include "quarndoc.h"
#include "quarnview.h"
#include "testregistry.h"
#include "vornitems.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

namespace {

// A text that says when it is destroyed.
class ProbeText : public CVornText
{
public:
    explicit ProbeText(bool *destroyed)
        : m_destroyed(destroyed)
    { }
    ~ProbeText() override { *m_destroyed = true; }

private:
    bool *m_destroyed;
};

} // namespace

// The user builds a report by hand in the main window: picks a kind in the Elements pane,
// clicks into the page, drags and nudges what was inserted, deletes it, and opens the context
// menu; the toolbox, the view and the document keep step.
class TestDesignSurface : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_doc = std::make_unique<CQuarnDoc>();
        m_doc->SetGridOn(false);
        m_frame = std::make_unique<CMainFrame>(m_doc.get());
        m_frame->DoFileNew();
        // One band of 5080 units (192 pixels) at the top of the page.
        auto *band = new CVornBand(VornKind::ReportContents, QStringLiteral("Orders"));
        band->SetHeight(5080);
        m_doc->GetReport().GetBands().Add(band);
        // Wide enough for the page at its real size beside the panes.
        m_frame->resize(1750, 980);
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
        m_view = m_frame->GetView();
        m_list = m_frame->GetElementsView()->GetCtrl();
        // The page is shown unzoomed, so 24 pixels are 635 units.
        double zoom = 0;
        m_view->GetPageRect(&zoom);
        QCOMPARE(zoom, 1.0);
    }
    void cleanup()
    {
        m_doc->SetModifiedFlag(false);
        m_frame.reset();
        m_doc.reset();
    }

    void insertMoveAndDeleteATextBox()
    {
        QSignalSpy properties(m_view, &CQuarnView::showPropertiesRequested);
        ClickRow(6);
        QCOMPARE(m_view->GetMode(), 18);
        ClickPage(QPoint(100, 50));
        CVornBand *band = m_doc->GetReport().GetBands()[0];
        QCOMPARE(band->GetItems().GetCount(), 1);
        CVornItem *item = band->GetItems()[0];
        QCOMPARE(item->GetName(), QStringLiteral("Text 1"));
        QVERIFY(item->IsSelected());
        QVERIFY(m_doc->IsModified());
        QCOMPARE(properties.last().at(0).value<CVornElement *>(), item);
        // The release put the view and the toolbox back on the pointer.
        QCOMPARE(m_view->GetMode(), 0);
        QCOMPARE(m_list->selectedItems(), QList<QTreeWidgetItem *> {m_list->topLevelItem(0)});

        const int left = item->GetLeft();
        const int top = item->GetTop();
        QTest::mousePress(m_view->viewport(), Qt::LeftButton, {}, ToClient(QPoint(140, 58)));
        QTest::mouseMove(m_view->viewport(), ToClient(QPoint(164, 82)));
        QTest::mouseRelease(m_view->viewport(), Qt::LeftButton, {}, ToClient(QPoint(164, 82)));
        QCOMPARE(item->GetLeft(), left + 635);
        QCOMPARE(item->GetTop(), top + 635);
        QCOMPARE(properties.last().at(0).value<CVornElement *>(), item);

        QTest::keyClick(m_view, Qt::Key_Right);
        QCOMPARE(item->GetLeft(), left + 635 + 26);
        const int bottom = item->GetBottom();
        QTest::keyClick(m_view, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(item->GetBottom(), bottom + 26);
        QSignalSpy focusMain(m_view, &CQuarnView::focusMainPropertyRequested);
        QTest::keyClick(m_view, Qt::Key_Return);
        QCOMPARE(focusMain.count(), 1);

        QTest::keyClick(m_view, Qt::Key_Delete);
        QCOMPARE(band->GetItems().GetCount(), 0);
        QVERIFY(band->IsSelected());
        QCOMPARE(properties.last().at(0).value<CVornElement *>(), band);
    }

    // An item that is not selected is pressed and dragged in one gesture; the live preview
    // lays the report out once the button is released, not while it is held.
    void pressDragsAnUnselectedItemAndThePreviewWaitsForTheRelease()
    {
        CVornBand *band = m_doc->GetReport().GetBands()[0];
        auto *item = new CVornText;
        item->SetName(QStringLiteral("Text 1"));
        item->SetRect(2540, 1270, 5080, 1905);
        band->GetItems().Add(item);
        m_doc->NotifyChanged();
        CLiveLayout *layout = m_frame->GetLivePanes()->GetLivePreview()->GetLayout();
        QVERIFY(m_frame->GetLivePanes()->GetLivePreview()->isVisible());
        QTRY_VERIFY(!layout->IsPending());
        const int started = layout->GetStartedCount();

        QVERIFY(!item->IsSelected());
        QTest::mousePress(m_view->viewport(), Qt::LeftButton, {}, ToClient(QPoint(110, 58)));
        QVERIFY(item->IsSelected());
        QTest::mouseMove(m_view->viewport(), ToClient(QPoint(122, 58)));
        QCOMPARE(item->GetLeft(), 2540 + 317);
        QTest::qWait(4 * CLiveLayout::DefaultDelay);
        QTest::mouseMove(m_view->viewport(), ToClient(QPoint(134, 58)));
        QTest::qWait(4 * CLiveLayout::DefaultDelay);
        QCOMPARE(layout->GetStartedCount(), started);
        QTest::mouseRelease(m_view->viewport(), Qt::LeftButton, {}, ToClient(QPoint(134, 58)));
        QCOMPARE(item->GetLeft(), 2540 + 2 * 317);
        QTRY_COMPARE(layout->GetStartedCount(), started + 1);
        QCOMPARE(m_doc->GetUndoStack()->count(), 1);
    }

    void everyRowSetsItsMode_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("mode");

        const int modes[] = {0, 11, 10, 14, 17, 16, 18, 20, 19, 21, 22, 23, 24};
        for (int row = 0; row < 13; ++row)
            QTest::addRow("row %d", row) << row << modes[row];
    }
    void everyRowSetsItsMode()
    {
        QFETCH(int, row);
        QFETCH(int, mode);
        ClickRow(12 - row); // something else first
        ClickRow(row);
        QCOMPARE(m_view->GetMode(), mode);
    }

    void bandRowInsertsABandBelowTheClick()
    {
        ClickRow(5); // Page Footer
        ClickPage(QPoint(300, 600));
        const auto &bands = m_doc->GetReport().GetBands();
        QCOMPARE(bands.GetCount(), 2);
        QCOMPARE(bands[1]->GetName(), QStringLiteral("Page Footer 1"));
        QVERIFY(bands[1]->IsSelected());
        QCOMPARE(m_view->GetMode(), 0);
        QCOMPARE(CElementsCtrl::KindOf(m_list->currentItem()), 0);
        // An item kind clicked below the bands inserts nothing; the release still returns.
        ClickRow(11);
        ClickPage(QPoint(300, 900));
        QCOMPARE(bands[0]->GetItems().GetCount() + bands[1]->GetItems().GetCount(), 0);
        QCOMPARE(m_view->GetMode(), 0);
    }

    void sizingCursorOverTheSelectedItem()
    {
        auto *item = new CVornText;
        item->SetName(QStringLiteral("T"));
        item->SetRect(2540, 1270, 5080, 2540); // pixels (96, 48, 192, 96) from the page corner
        m_doc->GetReport().GetBands()[0]->GetItems().Add(item);
        ClickPage(QPoint(140, 70));
        QVERIFY(item->IsSelected());
        QTest::mouseMove(m_view->viewport(), ToClient(QPoint(97, 70)));
        QCOMPARE(m_view->viewport()->cursor().shape(), Qt::SizeHorCursor);
        QTest::mouseMove(m_view->viewport(), ToClient(QPoint(191, 95)));
        QCOMPARE(m_view->viewport()->cursor().shape(), Qt::SizeFDiagCursor);
        QTest::mouseMove(m_view->viewport(), ToClient(QPoint(140, 70)));
        QCOMPARE(m_view->viewport()->cursor().shape(), Qt::ArrowCursor);
        // Pulling the right edge from there.
        QTest::mouseMove(m_view->viewport(), ToClient(QPoint(190, 70)));
        QTest::mousePress(m_view->viewport(), Qt::LeftButton, {}, ToClient(QPoint(190, 70)));
        QTest::mouseMove(m_view->viewport(), ToClient(QPoint(240, 70)));
        QTest::mouseRelease(m_view->viewport(), Qt::LeftButton, {}, ToClient(QPoint(240, 70)));
        QCOMPARE(item->GetRight(), 6350);
        QCOMPARE(item->GetLeft(), 2540);
    }

    void deletedObjectLivesOnInTheHistory()
    {
        // A deleted item is kept for an undo, which puts the very object back; it goes only
        // with the history, when a new report starts.
        bool destroyed = false;
        auto *item = new ProbeText(&destroyed);
        item->SetName(QStringLiteral("Probe"));
        item->SetRect(0, 0, 1000, 1000);
        m_doc->GetReport().GetBands()[0]->GetItems().Add(item);
        ClickPage(QPoint(10, 10));
        QVERIFY(item->IsSelected());
        QTest::keyClick(m_view, Qt::Key_Delete);
        QCOMPARE(m_doc->GetReport().FindByName(QStringLiteral("Probe")), nullptr);
        QVERIFY(!destroyed);
        QTest::keyClick(m_view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(m_doc->GetReport().FindByName(QStringLiteral("Probe")), item);
        QVERIFY(item->IsSelected());
        QTest::keyClick(m_view, Qt::Key_Delete);
        m_doc->SetModifiedFlag(false);
        m_frame->DoFileNew();
        QVERIFY(destroyed);
    }

    void contextMenu()
    {
        // An empty clipboard: Paste is off as well.
        QGuiApplication::clipboard()->clear();
        QMenu *menu = m_view->GetContextMenu();
        QCOMPARE(menu->title(), QStringLiteral("Edit"));
        QList<QAction *> actions = menu->actions();
        QCOMPARE(actions.size(), 7);
        QCOMPARE(actions[0]->text(), QStringLiteral("Cu&t\tCtrl+X"));
        QCOMPARE(actions[1]->text(), QStringLiteral("&Copy\tCtrl+C"));
        QCOMPARE(actions[2]->text(), QStringLiteral("&Paste\tCtrl+V"));
        QCOMPARE(actions[3]->text(), QStringLiteral("D&uplicate\tCtrl+D"));
        QCOMPARE(actions[4]->text(), QStringLiteral("&Delete\tDel"));
        for (const QAction *action : actions.mid(0, 5))
            QVERIFY(!action->isEnabled());
        QVERIFY(actions[5]->isSeparator());
        QCOMPARE(actions[6]->text(), QStringLiteral("Insert Page &Break"));
        QVERIFY(actions[6]->isEnabled());

        // The right click selects what it is on first, and the menu acts on that.
        QTest::mouseClick(m_view->viewport(), Qt::RightButton, {}, ToClient(QPoint(50, 50)));
        QTRY_VERIFY(menu->isVisible());
        menu->hide();
        QCOMPARE(m_doc->GetReport().FindFirstSelected(), m_doc->GetReport().GetBands()[0]);
        QCOMPARE(m_view->GetMode(), 0);
        actions = menu->actions();
        QVERIFY(actions[0]->isEnabled() && actions[4]->isEnabled());

        QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(5, 5),
                              m_view->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(m_view, &key);
        QTRY_VERIFY(menu->isVisible());
        menu->hide();
    }

private:
    // A point relative to the page's top-left corner, in the view's client coordinates.
    QPoint ToClient(QPoint pageRelative) const
    {
        const PixRect page = m_view->GetPageRect();
        return QPoint(page.left, page.top) + pageRelative - m_view->GetScrollPosition();
    }
    void ClickPage(QPoint pageRelative)
    {
        QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, ToClient(pageRelative));
    }
    void ClickRow(int row)
    {
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {},
                          m_list->visualItemRect(m_list->topLevelItem(row)).center());
    }

    std::unique_ptr<CQuarnDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
    CQuarnView *m_view = nullptr;
    CElementsCtrl *m_list = nullptr;
};

VANTEL_TEST_CLASS(TestDesignSurface)
#include "tst_designsurface.moc"
