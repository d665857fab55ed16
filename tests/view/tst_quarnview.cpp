#include "pagetestutil.h"
#include "quarnview.h"
#include "testregistry.h"
#include "vorndocument.h"
#include "vornshape.h"

#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace PageTest;

namespace {

// A document whose report can be replaced the way New and Open do it.
class ResettableDocument : public CVornDocument
{
public:
    void Reset()
    {
        GetReport().Reset();
        NotifyReportReset();
    }
};

} // namespace

// The user opens a report in a window smaller than the page: the view asks the Properties pane
// for the report, scrolls over the page plus its margins, draws the page where the geometry
// puts it, and follows changes of the page size, the grid and the whole report.
class TestQuarnView : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_document = std::make_unique<ResettableDocument>();
        AddBand(m_document->GetReport(), 2540);
        m_view = std::make_unique<CQuarnView>(m_document.get());
        m_view->resize(520, 420);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }
    void cleanup()
    {
        m_view.reset();
        m_document.reset();
    }

    void initialUpdateAsksForTheReportAndSetsTheExtent()
    {
        QSignalSpy properties(m_view.get(), &CQuarnView::showPropertiesRequested);
        m_view->OnInitialUpdate();
        QCOMPARE(properties.count(), 1);
        QCOMPARE(properties.at(0).at(0).value<CVornElement *>(), nullptr);
        const QSize total
                = CPageGeometry::TotalScrollSize(m_document->GetReport(), Dpi().x(), Dpi().y());
        QCOMPARE(m_view->GetTotalSize(), total);
        CheckScrollRanges();
    }

    void pageSizeChangesRecomputeTheExtent()
    {
        m_view->OnInitialUpdate();
        const QSize portrait = m_view->GetTotalSize();
        m_document->GetReport().SetPortrait(0);
        m_document->NotifyChanged(CReportChange::PageSize);
        QCOMPARE(m_view->GetTotalSize(), portrait.transposed());
        CheckScrollRanges();
    }

    void geometryFollowsTheScrollPosition()
    {
        m_view->OnInitialUpdate();
        m_view->horizontalScrollBar()->setValue(10);
        m_view->verticalScrollBar()->setValue(15);
        const QSize client = m_view->viewport()->size();
        const CPageGeometry expected(m_document->GetReport(), Dpi().x(), Dpi().y(),
                                     {0, 0, client.width(), client.height()}, QPoint(10, 15),
                                     m_view->GetTotalSize());
        double zoom = 0;
        const PixRect page = m_view->GetPageRect(&zoom);
        QVERIFY(page == expected.GetPageRect());
        QCOMPARE(zoom, expected.GetZoom());
        QVERIFY(m_view->GetDrawArea() == expected.GetDrawArea());
        const CVornBand *band = m_document->GetReport().GetBands()[0];
        QVERIFY(m_view->GetItemPixelRect(band) == expected.GetBandRect(0));

        // Drawn in view coordinates: the page's top-left corner moves with the scroll position.
        const QImage shown = m_view->viewport()->grab().toImage();
        QCOMPARE(Pixel(shown, page.left - 10, page.top - 15), QRgb(CPagePainter::OutlineColor));
        QCOMPARE(Pixel(shown, page.left + 1 - 10, page.top + 1 - 15), QRgb(0xFFFFFF));
        QCOMPARE(Pixel(shown, page.left - 1 - 10, page.top + 1 - 15),
                 QRgb(CPagePainter::BackgroundColor));
    }

    void documentSignalsRepaint_data()
    {
        QTest::addColumn<int>("signal"); // 0 reportChanged, 1 gridChanged
        QTest::newRow("report changed") << 0;
        QTest::newRow("grid toggled") << 1;
    }
    void documentSignalsRepaint()
    {
        QFETCH(int, signal);
        m_view->OnInitialUpdate();
        m_document->SetGridOn(false);
        const PixRect page = m_view->GetPageRect();
        const QPoint dot(page.left + 9, page.top + 9);
        QCOMPARE(Pixel(m_view->viewport()->grab().toImage(), dot.x(), dot.y()), QRgb(0xFFFFFF));
        if (signal == 0) {
            auto *shape
                    = AddItem<CVornShape>(m_document->GetReport().GetBands()[0], 0, 0, 1000, 1000);
            shape->SetBkColor(0);
            m_document->NotifyChanged();
        } else {
            m_document->ToggleGrid();
        }
        QTRY_COMPARE(Pixel(m_view->viewport()->grab().toImage(), dot.x(), dot.y()),
                     signal == 0 ? QRgb(0) : QRgb(CPagePainter::GridColor));
    }

    void reportResetStartsOver()
    {
        m_view->OnInitialUpdate();
        m_view->verticalScrollBar()->setValue(40);
        QSignalSpy properties(m_view.get(), &CQuarnView::showPropertiesRequested);
        m_document->Reset();
        QCOMPARE(properties.count(), 1);
        QCOMPARE(properties.at(0).at(0).value<CVornElement *>(), nullptr);
        QCOMPARE(m_view->GetScrollPosition(), QPoint(0, 0));
        // The new report has no bands: the whole page is the darker area.
        const PixRect page = m_view->GetPageRect();
        QTRY_COMPARE(Pixel(m_view->viewport()->grab().toImage(), page.left + 5, page.top + 5),
                     QRgb(CPagePainter::BelowBandsColor));
    }

    // The user drags an item: only the area it touched is repainted, in a view that sits
    // below toolbars in its window. Everything in that area is drawn again, as before.
    void partialRepaintDrawsWhatIsThere()
    {
        CVornBand *band = m_document->GetReport().GetBands().GetAt(0);
        auto *shape = AddItem<CVornShape>(band, 300, 300, 2500, 2000);
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        layout->setContentsMargins(90, 70, 0, 0);
        auto *view = new CQuarnView(m_document.get());
        layout->addWidget(view);
        window.resize(600, 500);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        view->OnInitialUpdate();
        view->viewport()->repaint();
        const QImage before = window.screen()->grabWindow(window.winId()).toImage();
        view->viewport()->repaint(view->GetItemPixelRect(shape).ToQRect());
        const QImage after = window.screen()->grabWindow(window.winId()).toImage();
        QCOMPARE(after, before);
    }

    void withoutADocumentNothingIsDrawn()
    {
        CQuarnView view(nullptr);
        view.resize(300, 200);
        view.OnInitialUpdate();
        QCOMPARE(view.GetTotalSize(), QSize());
        QVERIFY(!view.viewport()->grab().isNull());
        QVERIFY(view.GetItemPixelRect(nullptr).IsEmpty());
    }

private:
    QPoint Dpi() const
    {
        return QPoint(m_view->viewport()->logicalDpiX(), m_view->viewport()->logicalDpiY());
    }

    void CheckScrollRanges()
    {
        const QSize client = m_view->viewport()->size();
        const QSize total = m_view->GetTotalSize();
        QCOMPARE(m_view->horizontalScrollBar()->maximum(),
                 std::max(0, total.width() - client.width()));
        QCOMPARE(m_view->verticalScrollBar()->maximum(),
                 std::max(0, total.height() - client.height()));
        QCOMPARE(m_view->horizontalScrollBar()->pageStep(), client.width());
    }

    std::unique_ptr<ResettableDocument> m_document;
    std::unique_ptr<CQuarnView> m_view;
};

VANTEL_TEST_CLASS(TestQuarnView)
#include "tst_quarnview.moc"
