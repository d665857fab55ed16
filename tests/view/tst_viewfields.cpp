#include "pagetestutil.h"
#include "quarnview.h"
#include "testregistry.h"
#include "vorndocument.h"

#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

using namespace Qt::StringLiterals;
using namespace PageTest;

// The user drops columns from the Data pane on a band, places the Elements pane's "Page N of
// M", and reads the view's mark on an item whose field its query does not return.
class TestViewFields : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_document = std::make_unique<CVornDocument>();
        m_document->SetGridOn(false);
        AddBand(m_document->GetReport(), 2540);
        AddBand(m_document->GetReport(), 2540);
        m_view = std::make_unique<CQuarnView>(m_document.get());
        m_view->resize(600, 420);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
        m_view->OnInitialUpdate();
    }
    void cleanup()
    {
        m_view.reset();
        m_document.reset();
    }

    void drop_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<int>("band");
        QTest::addColumn<QStringList>("expected"); // kind source.field of each new item
        const QList<CFieldChoice> fields {{u"Band 0"_s, u"NAME"_s, false, {}, 0, {}},
                                          {u"Band 0"_s, u"LOGO"_s, true, {}, 0, {}}};
        const QByteArray encoded = FieldChoice::Encode(fields);
        QTest::newRow("a text and a picture on the second band")
                << encoded << 1 << QStringList {u"11 Band 0.NAME"_s, u"14 Band 0.LOGO"_s};
        QTest::newRow("below the bands") << encoded << 5 << QStringList();
        QTest::newRow("something else") << QByteArray("not fields") << 0 << QStringList();
    }

    void drop()
    {
        QFETCH(QByteArray, format);
        QFETCH(int, band);
        QFETCH(QStringList, expected);
        const QPoint at = PointOnBand(band);
        QMimeData data;
        data.setData(QString::fromLatin1(FieldChoice::MimeType), format);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(m_view->viewport(), &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(m_view->viewport(), &move);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(m_view->viewport(), &drop);
        QCOMPARE(drop.isAccepted(), !expected.isEmpty());

        QStringList made;
        const CVornBand *host = nullptr;
        for (const CVornBand *candidate : m_document->GetReport().GetBands()) {
            for (const CVornItem *item : candidate->GetItems()) {
                host = candidate;
                QString source;
                QString field;
                if (const auto *text = dynamic_cast<const CVornDbText *>(item)) {
                    source = text->GetDataSource();
                    field = text->GetDataField();
                } else if (const auto *image = dynamic_cast<const CVornDbImage *>(item)) {
                    source = image->GetDataSource();
                    field = image->GetDataField();
                }
                made << u"%1 %2.%3"_s.arg(item->GetKind()).arg(source, field);
            }
        }
        QCOMPARE(made, expected);
        if (expected.isEmpty())
            return;
        QCOMPARE(host, m_document->GetReport().GetBands()[band]);
        // At the drop point, side by side, selected, as one undo step.
        const CVornItem *first = host->GetItems()[0];
        const CVornItem *second = host->GetItems()[1];
        const PixRect rect = m_view->GetItemPixelRect(first);
        // Within a pixel: the corner went to model units and back.
        QVERIFY(((QPoint(rect.left, rect.top) - m_view->GetScrollPosition()) - at).manhattanLength()
                <= 2);
        QCOMPARE(second->GetLeft(), first->GetRight());
        QVERIFY(first->IsSelected() && second->IsSelected());
        QCOMPARE(m_document->GetUndoStack()->count(), 1);
    }

    void tableDrop_data()
    {
        QTest::addColumn<int>("band"); // where the pointer is
        QTest::addColumn<bool>("handled"); // whether the view has a handler for tables
        QTest::addColumn<int>("target"); // the band the handler gets, -2 for no call
        QTest::newRow("on the second band") << 1 << true << 1;
        QTest::newRow("below the bands") << 5 << true << -1;
        QTest::newRow("no handler") << 1 << false << -2;
    }

    void tableDrop()
    {
        // A table dragged from the Data pane's schema tree: the view only says where it went.
        QFETCH(int, band);
        QFETCH(bool, handled);
        QFETCH(int, target);
        QList<int> targets;
        if (handled) {
            m_view->SetTableDropHandler([&targets](int at, const CTableChoice &choice) {
                targets << at;
                return choice.table == u"Album"_s;
            });
        }
        QMimeData data;
        data.setData(QString::fromLatin1(TableChoice::MimeType),
                     TableChoice::Encode({{}, u"Album"_s, {}}));
        const QPoint at = PointOnBand(band);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(m_view->viewport(), &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(m_view->viewport(), &move);
        QCOMPARE(move.isAccepted(), target > -2);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(m_view->viewport(), &drop);
        // The handler runs after the drag has ended.
        QVERIFY(targets.isEmpty());
        QCoreApplication::processEvents();
        QCOMPARE(targets, target > -2 ? QList<int> {target} : QList<int>());
    }

    void pageNumberFromTheElementsPane()
    {
        QSignalSpy pointer(m_view.get(), &CQuarnView::returnedToPointer);
        m_view->SetInsertKind(FieldChoice::PageNofMEntry);
        QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, PointOnBand(0));
        QCOMPARE(pointer.count(), 1);
        QVERIFY(m_view->GetPendingFields().isEmpty());
        const auto &items = m_document->GetReport().GetBands()[0]->GetItems();
        QCOMPARE(items.GetCount(), 2);
        const auto *page = static_cast<const CVornDbText *>(items[0]);
        const auto *count = static_cast<const CVornDbText *>(items[1]);
        QCOMPARE(page->GetName() + u'|' + page->GetDataField() + u'|' + page->GetFormat(),
                 u"Page Number|#PAGE|Page %d"_s);
        QCOMPARE(count->GetName() + u'|' + count->GetDataField() + u'|' + count->GetFormat(),
                 u"Page Count|#PAGES| of %d"_s);
        // Another choice in the pane forgets the pending entry.
        m_view->SetInsertKind(FieldChoice::PageNumberEntry);
        m_view->SetInsertKind(VornKind::Text);
        QVERIFY(m_view->GetPendingFields().isEmpty());
    }

    void marks()
    {
        CVornBand *band = m_document->GetReport().GetBands()[0];
        CVornItem *item = AddItem<CVornDbText>(band, 1000, 500, 5000, 1500);
        m_view->SetItemMarks({{item, u"No column AMOUNTT"_s}});
        const PixRect rect = m_view->GetItemPixelRect(item);
        const QPoint scroll = m_view->GetScrollPosition();
        const QPoint middle = QPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        QVERIFY(m_view->ToolTipAt(middle - scroll).endsWith(u"\nNo column AMOUNTT"_s));
        const QImage shot = m_view->viewport()->grab().toImage();
        const QColor corner = shot.pixelColor(QPoint(rect.right - 2, rect.top + 1) - scroll);
        QVERIFY2(corner.red() > 180 && corner.green() < 60, qPrintable(corner.name()));
        m_view->SetItemMarks({});
        QVERIFY(!m_view->ToolTipAt(middle - scroll).contains(u"AMOUNTT"_s));
    }

private:
    // A client point inside a band, left of the middle of the page; band 5 lies below them.
    QPoint PointOnBand(int band) const
    {
        const PixRect page = m_view->GetPageRect();
        const int top = band < m_document->GetReport().GetBands().GetCount()
                ? m_view->GetItemPixelRect(m_document->GetReport().GetBands()[band]).top
                : m_view->GetItemPixelRect(m_document->GetReport().GetBands()[1]).bottom + 40;
        return QPoint(page.left + 30, top + 10) - m_view->GetScrollPosition();
    }

    std::unique_ptr<CVornDocument> m_document;
    std::unique_ptr<CQuarnView> m_view;
};

VANTEL_TEST_CLASS(TestViewFields)

#include "tst_viewfields.moc"
