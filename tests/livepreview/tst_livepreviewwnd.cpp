#include "livelayout.h"
#include "livepreviewview.h"
#include "livepreviewwnd.h"
#include "pagehits.h"
#include "pagemodel.h"
#include "reportfile.h"
#include "reportplaces.h"
#include "testregistry.h"
#include "vorndocument.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QDir>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

// The user designs an example report with the live preview beside it: clicks on the page
// select what printed there, the design's selection is outlined and sought out, and a broken
// query shows its message over the last good page.
class TestLivePreviewWnd : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void clickSelectsWhatPrintedThere_data();
    void clickSelectsWhatPrintedThere();
    void selectionIsOutlinedAndSought();
    void repeatingItemIsOutlinedThinly();
    void textsCutAtTheirBoxAreListed();
    void failureShowsItsMessageOverTheLastGoodPage_data();
    void failureShowsItsMessageOverTheLastGoodPage();

private:
    void Open(const QString &file);
    // The viewport point of a page point, in hundredths of a millimetre.
    QPoint PointOf(int page, int x, int y) const;
    CVornElement *Named(const QString &band, const QString &item = {}) const;

    std::unique_ptr<CVornDocument> m_document;
    std::unique_ptr<CLivePreviewWnd> m_pane;
};

void TestLivePreviewWnd::init()
{
    qRegisterMetaType<CVornElement *>();
    m_document = std::make_unique<CVornDocument>();
    m_pane = std::make_unique<CLivePreviewWnd>();
    m_pane->resize(420, 500);
    m_pane->show();
}

void TestLivePreviewWnd::cleanup()
{
    m_pane.reset();
    m_document.reset();
}

void TestLivePreviewWnd::Open(const QString &file)
{
    const QString path = QDir(QStringLiteral(VANTEL_EXAMPLES_DIR)).filePath(file);
    QString message;
    QVERIFY2(VornTemplate::Load(m_document->GetReport(), path, message), qPrintable(message));
    m_document->SetPathName(path);
    m_pane->SetDocument(m_document.get());
    QTRY_VERIFY(m_pane->GetLayout()->GetModel());
}

QPoint TestLivePreviewWnd::PointOf(int page, int x, int y) const
{
    const CLivePreviewView *view = m_pane->GetView();
    const QRect rect = view->GetGeometry().PageRect(page);
    const QSize units = view->GetGeometry().GetPageSize();
    return QPoint(rect.left() + int(qint64(x) * rect.width() / units.width()),
                  rect.top() + int(qint64(y) * rect.height() / units.height()))
            - QPoint(view->horizontalScrollBar()->value(), view->verticalScrollBar()->value());
}

CVornElement *TestLivePreviewWnd::Named(const QString &band, const QString &item) const
{
    for (CVornBand *b : m_document->GetReport().GetBands()) {
        if (b->GetName() != band)
            continue;
        if (item.isEmpty())
            return b;
        for (CVornItem *i : b->GetItems()) {
            if (i->GetName() == item)
                return i;
        }
    }
    return nullptr;
}

void TestLivePreviewWnd::clickSelectsWhatPrintedThere_data()
{
    QTest::addColumn<QString>("band");
    QTest::addColumn<QString>("item");
    QTest::newRow("a DB text") << u"Totals"_s << u"Total"_s;
    QTest::newRow("a barcode") << u"Totals"_s << u"Invoice Barcode"_s;
    QTest::newRow("a picture") << u"Page Header"_s << u"Logo"_s;
    QTest::newRow("a detail row's amount") << u"Lines"_s << u"Amount"_s;
}

void TestLivePreviewWnd::clickSelectsWhatPrintedThere()
{
    QFETCH(QString, band);
    QFETCH(QString, item);
    Open(u"invoice.vnt"_s);
    QTRY_COMPARE(m_pane->GetPageText(), u"Page 1 of 1"_s);
    const CVornElement *wanted = Named(band, item);
    QVERIFY(wanted);
    const CPage &page = *m_pane->GetLayout()->GetModel()->GetPage(0);
    const CPageSource source = ReportPlaces::PlaceOf(m_document->GetReport(), wanted);
    const auto found = std::find_if(page.GetItems().rbegin(), page.GetItems().rend(),
                                    [&](const CPageItem &p) { return SourceOf(p) == source; });
    QVERIFY(found != page.GetItems().rend());
    const CPageRect &box = BoxOf(*found);
    QSignalSpy chosen(m_pane.get(), &CLivePreviewWnd::elementChosen);
    QTest::mouseClick(m_pane->GetView()->viewport(), Qt::LeftButton, {},
                      PointOf(0, (box.left + box.right) / 2, (box.top + box.bottom) / 2));
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.at(0).at(0).value<CVornElement *>(), wanted);

    // Band space where nothing printed selects the band.
    const auto bandPlace = std::find_if(page.GetBands().begin(), page.GetBands().end(),
                                        [&](const CPageBand &b) { return b.band == source.band; });
    const int y = (bandPlace->top + bandPlace->bottom) / 2;
    int x = 100;
    while (std::any_of(page.GetItems().begin(), page.GetItems().end(), [&](const CPageItem &p) {
        const CPageRect &r = BoxOf(p);
        return x > r.left - 200 && x < r.right + 200 && y > r.top - 200 && y < r.bottom + 200;
    }))
        x += 100;
    QTest::mouseClick(m_pane->GetView()->viewport(), Qt::LeftButton, {}, PointOf(0, x, y));
    QCOMPARE(chosen.count(), 2);
    QCOMPARE(chosen.at(1).at(0).value<CVornElement *>(), Named(band));
}

void TestLivePreviewWnd::selectionIsOutlinedAndSought()
{
    // Tall enough that both pages are in sight: the one that shows the selection becomes the
    // current one all the same.
    m_pane->resize(420, 1300);
    Open(u"customers.vnt"_s);
    // The footer prints the page count: the report is laid out whole before it shows.
    QTRY_COMPARE(m_pane->GetPageText(), u"Page 1 of 2"_s);
    CVornElement *totals = Named(u"Totals"_s, u"Customer Count"_s);
    totals->SetSelected(true);
    m_pane->SyncSelection();
    const CPageSource source = ReportPlaces::PlaceOf(m_document->GetReport(), totals);
    QCOMPARE(m_pane->GetView()->GetOutlined(), std::vector<CPageSource> {source});
    // The report footer is on the last page: the preview goes there.
    QTRY_COMPARE(m_pane->GetView()->GetCurrentPage(), 1);
    QCOMPARE(m_pane->GetPageText(), u"Page 2 of 2"_s);
}

void TestLivePreviewWnd::repeatingItemIsOutlinedThinly()
{
    Open(u"customers.vnt"_s);
    QTRY_COMPARE(m_pane->GetPageText(), u"Page 1 of 2"_s);
    CVornElement *name = Named(u"Customers"_s, u"Name"_s);
    name->SetSelected(true);
    m_pane->SyncSelection();
    CLivePreviewView *view = m_pane->GetView();
    QCOMPARE(view->GetCurrentPage(), 0);
    const QImage image = view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb outline = view->palette().color(QPalette::Highlight).rgb();
    // Each instance gets a one-pixel line inside its box, and the text within stays in sight.
    const QRect page
            = view->GetGeometry().PageRect(0).translated(0, -view->verticalScrollBar()->value());
    const QSize units = view->GetGeometry().GetPageSize();
    const std::vector<CPageRect> boxes
            = PageHits::PlacesOf(*m_pane->GetLayout()->GetModel()->GetPage(0), units.width(),
                                 ReportPlaces::PlaceOf(m_document->GetReport(), name));
    QVERIFY(boxes.size() > 5);
    qint64 perimeters = 0;
    for (const CPageRect &box : boxes) {
        const QRect r = QRectF(page.left() + box.left * double(page.width()) / units.width(),
                               page.top() + box.top * double(page.height()) / units.height(),
                               (box.right - box.left) * double(page.width()) / units.width(),
                               (box.bottom - box.top) * double(page.height()) / units.height())
                                .toRect();
        perimeters += 2 * (r.width() + r.height());
        for (int y = r.top() + 1; y < r.bottom(); ++y) {
            for (int x = r.left() + 1; x < r.right(); ++x) {
                if (image.rect().contains(x, y))
                    QVERIFY2(image.pixel(x, y) != outline, qPrintable(u"%1,%2"_s.arg(x).arg(y)));
            }
        }
    }
    qint64 outlined = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            outlined += image.pixel(x, y) == outline;
    }
    QVERIFY(outlined > 0);
    QVERIFY2(outlined <= perimeters, qPrintable(u"%1 > %2"_s.arg(outlined).arg(perimeters)));
}

void TestLivePreviewWnd::textsCutAtTheirBoxAreListed()
{
    Open(u"customers.vnt"_s);
    QTRY_COMPARE(m_pane->GetPageText(), u"Page 1 of 2"_s);
    QVERIFY(m_pane->GetCutTexts().empty());
    // A box a millimetre high shows nothing of the address but the tops of its letters.
    auto *address = static_cast<CVornItem *>(Named(u"Customers"_s, u"Address"_s));
    address->SetBottom(address->GetTop() + 100);
    QSignalSpy changed(m_pane.get(), &CLivePreviewWnd::cutTextsChanged);
    m_document->NotifyChanged();
    QTRY_VERIFY(changed.count() > 0);
    QCOMPARE(m_pane->GetCutTexts().size(), size_t(1));
    QCOMPARE(m_pane->GetCutTexts()[0].source,
             ReportPlaces::PlaceOf(m_document->GetReport(), address));
    QCOMPARE(m_pane->GetCutTexts()[0].page, 0);
}

void TestLivePreviewWnd::failureShowsItsMessageOverTheLastGoodPage_data()
{
    // What breaks, and the band and item the message's link selects (none: no link).
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("band");
    QTest::addColumn<QString>("item");
    QTest::newRow("a band's query") << u"query"_s << u"Lines"_s << QString();
    QTest::newRow("a field no query returns") << u"field"_s << u"Lines"_s << u"Code"_s;
    QTest::newRow("no database file") << u"connection"_s << QString() << QString();
}

void TestLivePreviewWnd::failureShowsItsMessageOverTheLastGoodPage()
{
    QFETCH(QString, fault);
    QFETCH(QString, band);
    QFETCH(QString, item);
    Open(u"invoice.vnt"_s);
    const std::shared_ptr<const CPageModel> good = m_pane->GetLayout()->GetModel();
    CVornReport &report = m_document->GetReport();
    auto *lines = static_cast<CVornBand *>(Named(u"Lines"_s));
    auto *code = static_cast<CVornDbText *>(Named(u"Lines"_s, u"Code"_s));
    const QString query = lines->GetDatabaseQuery();
    const QString field = code->GetDataField();
    const QString connection = report.GetConnectString();
    if (fault == u"query")
        lines->SetDatabaseQuery(query + u" LIMT 2"_s);
    else if (fault == u"field")
        code->SetDataField(u"NOPE"_s);
    else
        report.SetConnectString(QString());
    m_document->NotifyChanged();
    QTRY_VERIFY(!m_pane->GetFailureText().isEmpty());
    const QString text = m_pane->GetFailureText();
    QCOMPARE(text.contains(u"<a href"_s), !band.isEmpty());
    QCOMPARE(m_pane->GetLayout()->GetModel(), good);
    auto *label = m_pane->findChild<QLabel *>(u"LivePreviewFailure"_s);
    QVERIFY(label && label->isVisible());
    if (!band.isEmpty()) {
        // The link is the name the message quotes.
        QVERIFY2(text.contains(u"\">&quot;%1&quot;</a>"_s.arg(item.isEmpty() ? band : item)),
                 qPrintable(text));
        QSignalSpy chosen(m_pane.get(), &CLivePreviewWnd::elementChosen);
        emit label->linkActivated(u"select"_s);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.at(0).at(0).value<CVornElement *>(), Named(band, item));
    }

    lines->SetDatabaseQuery(query);
    code->SetDataField(field);
    report.SetConnectString(connection);
    m_document->NotifyChanged();
    QTRY_VERIFY(m_pane->GetFailureText().isEmpty());
    QVERIFY(!label->isVisible());
    QVERIFY(m_pane->GetLayout()->GetModel() != good);
}

VANTEL_TEST_CLASS(TestLivePreviewWnd)
#include "tst_livepreviewwnd.moc"
