#include "livelayout.h"
#include "pagemodel.h"
#include "previewrun.h"
#include "reportsnapshot.h"
#include "testregistry.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

// The live layout's scheduling on a list of numbered rows from the example database: one row of
// 10 mm per number, ten rows a page.
class TestLiveLayout : public QObject
{
    Q_OBJECT

private slots:
    void burstLaysOutOnceAtTheEnd();
    void cancelledLayoutNeverShows();
    void pageRequestStopsEarly();
    void failureKeepsTheLastGoodPages();
    void budgetsStopAReportWithoutEnd_data();
    void budgetsStopAReportWithoutEnd();

private:
    // A report listing the numbers 1 to rows; where, when given, filters them in the query.
    static std::unique_ptr<CVornReport> List(qint64 rows, const QString &where = {});
    static CLiveLayout::Job JobOf(const CVornReport &report);
};

std::unique_ptr<CVornReport> TestLiveLayout::List(qint64 rows, const QString &where)
{
    auto report = std::make_unique<CVornReport>();
    report->SetDatabaseType(0);
    report->SetConnectString(u"shop.db"_s);
    report->SetHeight(10000);
    auto *band = new CVornBand(VornKind::ReportContents, u"Rows"_s);
    band->SetHeight(1000);
    band->SetDatabaseQuery(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                           u"WHERE i < %1) SELECT i FROM n %2"_s.arg(rows)
                                   .arg(where));
    auto *field = new CVornDbText;
    field->SetName(u"Number"_s);
    field->SetDataField(u"i"_s);
    field->SetRect(0, 0, 5000, 1000);
    band->GetItems().Add(field);
    report->GetBands().Add(band);
    return report;
}

CLiveLayout::Job TestLiveLayout::JobOf(const CVornReport &report)
{
    CLiveLayout::Job job;
    job.report = SnapshotOf(report);
    job.options.reportFolder = QStringLiteral(VANTEL_EXAMPLES_DIR);
    return job;
}

void TestLiveLayout::burstLaysOutOnceAtTheEnd()
{
    const std::unique_ptr<CVornReport> report = List(3);
    auto *title = new CVornText;
    title->SetName(u"Title"_s);
    title->SetRect(6000, 0, 9000, 1000);
    report->GetBands()[0]->GetItems().Add(title);
    CLiveLayout layout([&] { return JobOf(*report); });
    // The edits come 20 ms apart: a wait far longer than that keeps a stalled machine from
    // starting a layout between two of them.
    layout.SetDelay(1000);
    for (int edit = 1; edit <= 5; ++edit) {
        title->SetText(u"edit %1"_s.arg(edit));
        layout.Schedule();
        QTest::qWait(20);
    }
    QTRY_VERIFY(layout.GetModel() && !layout.IsPending());
    QCOMPARE(layout.GetStartedCount(), 1);
    const auto *text = std::get_if<CPageText>(&layout.GetModel()->GetPage(0)->GetItems().at(1));
    QVERIFY(text);
    QCOMPARE(text->text, u"edit 5"_s);
}

void TestLiveLayout::cancelledLayoutNeverShows()
{
    // The first layout counts through many numbers before its first row; the second is quick.
    std::unique_ptr<CVornReport> report = List(2'000'000'000, u"WHERE i < 0"_s);
    const CVornReport *slow = nullptr;
    CLiveLayout layout([&] {
        CLiveLayout::Job job = JobOf(*report);
        if (!slow)
            slow = job.report.get();
        return job;
    });
    QList<const CVornReport *> shown;
    connect(&layout, &CLiveLayout::pagesChanged, this,
            [&] { shown.append(layout.GetReport().get()); });
    layout.RequestPages(5);
    layout.StartNow();
    QTest::qWait(100);
    QVERIFY(shown.isEmpty());
    report = List(12);
    layout.StartNow();
    QTRY_VERIFY(!layout.IsPending());
    QTest::qWait(200);
    QVERIFY(!shown.isEmpty());
    QVERIFY(!shown.contains(slow));
    QCOMPARE(layout.GetModel()->GetPageCount(), 2);
    QVERIFY(layout.GetFailure().isEmpty());
}

void TestLiveLayout::pageRequestStopsEarly()
{
    const std::unique_ptr<CVornReport> report = List(10'000);
    CLiveLayout layout([&] { return JobOf(*report); });
    layout.RequestPages(1);
    layout.StartNow();
    QTRY_VERIFY(layout.GetModel());
    // The page shown, then the layout waits.
    QTest::qWait(100);
    QCOMPARE(layout.GetModel()->GetPageCount(), 1);
    QVERIFY(layout.IsPending() && !layout.IsComplete());

    layout.RequestPages(4);
    QTRY_COMPARE(layout.GetModel()->GetPageCount(), 4);
    QTest::qWait(50);
    QCOMPARE(layout.GetModel()->GetPageCount(), 4);
    layout.RequestPages(2000);
    QTRY_VERIFY(layout.IsComplete());
    QCOMPARE(layout.GetModel()->GetPageCount(), 1000);
    QCOMPARE(layout.GetStartedCount(), 1);
}

void TestLiveLayout::failureKeepsTheLastGoodPages()
{
    const std::unique_ptr<CVornReport> report = List(5);
    CLiveLayout layout([&] { return JobOf(*report); });
    layout.StartNow();
    QTRY_VERIFY(layout.IsComplete());
    const std::shared_ptr<const CPageModel> good = layout.GetModel();

    CVornBand *band = report->GetBands()[0];
    const QString query = band->GetDatabaseQuery();
    band->SetDatabaseQuery(query + u" ORDER BY no_such_column"_s);
    layout.StartNow();
    QTRY_VERIFY(!layout.IsPending());
    QVERIFY2(layout.GetFailure().contains(u"\"Rows\""_s), qPrintable(layout.GetFailure()));
    QCOMPARE(layout.GetFailedAt(), CPageSource({0, -1}));
    QCOMPARE(layout.GetModel(), good);

    band->SetDatabaseQuery(query);
    layout.StartNow();
    QTRY_VERIFY(!layout.IsPending());
    QVERIFY(layout.GetFailure().isEmpty());
    QVERIFY(layout.GetModel() != good && layout.IsComplete());
}

void TestLiveLayout::budgetsStopAReportWithoutEnd_data()
{
    // A list without end, or a query that never answers, and how the layout is stopped: the
    // pages it shows, the message and the band it names.
    QTest::addColumn<QString>("query"); // empty: the numbers without end
    QTest::addColumn<bool>("pageCount"); // "Page N of M" in a page footer: laid out whole
    QTest::addColumn<int>("pageBudget");
    QTest::addColumn<int>("request");
    QTest::addColumn<int>("pages"); // -1: some, but fewer than asked for
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("band"); // -2: the rows or the footer, named by %1
    QTest::newRow("the page count of a list without end")
            << QString() << true << 30 << 1 << 30
            << u"Stopped after 30 pages: Page N of M is not known"_s << -1;
    QTest::newRow("scrolled far down a list without end")
            << QString() << false << 40 << 1000 << 40
            << u"Stopped after 40 pages: page 41 is not laid out"_s << -1;
    QTest::newRow("a query that never answers")
            << u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) "
               u"SELECT max(i) AS i FROM n"_s
            << false << 10'000 << 1 << 0
            << u"Stopped after 1 second on the band \"Rows\": Page N of M is not known"_s << 0;
    QTest::newRow("the page count of a slow list")
            << u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) "
               u"SELECT i FROM n WHERE i % 20000 = 1"_s
            << true << 10'000 << 1 << -1
            << u"Stopped after 1 second on the band \"%1\": Page N of M is not known"_s << -2;
}

void TestLiveLayout::budgetsStopAReportWithoutEnd()
{
    QFETCH(QString, query);
    QFETCH(bool, pageCount);
    QFETCH(int, pageBudget);
    QFETCH(int, request);
    QFETCH(int, pages);
    QFETCH(QString, message);
    QFETCH(int, band);
    const std::unique_ptr<CVornReport> report = List(2'000'000'000);
    if (!query.isEmpty())
        report->GetBands()[0]->SetDatabaseQuery(query);
    if (pageCount) {
        auto *footer = new CVornBand(VornKind::PageFooter, u"Footer"_s);
        footer->SetHeight(1000);
        auto *count = new CVornDbText;
        count->SetName(u"Count"_s);
        count->SetDataField(u"#PAGES"_s);
        count->SetRect(0, 0, 5000, 1000);
        footer->GetItems().Add(count);
        report->GetBands().Add(footer);
    }
    CLiveLayout layout([&] { return JobOf(*report); });
    layout.SetBudgets(pageBudget, 1000);
    layout.RequestPages(request);
    layout.StartNow();
    // Stopped well within the budget's second, whatever the query was doing.
    QTRY_VERIFY_WITH_TIMEOUT(!layout.IsPending(), 10000);
    if (band == -2) {
        // The second may run out while rows are fetched or while the footer that counts the
        // pages is laid out: either band is named, and the one named is the one pointed at.
        band = layout.GetFailedAt().band;
        QVERIFY2(band == 0 || band == 1, qPrintable(layout.GetFailure()));
        message = message.arg(report->GetBands()[band]->GetName());
    }
    QCOMPARE(layout.GetFailure(), message);
    QCOMPARE(layout.GetFailedAt().band, band);
    const int shown = layout.GetModel() ? layout.GetModel()->GetPageCount() : 0;
    if (pages >= 0)
        QCOMPARE(shown, pages);
    else
        QVERIFY(shown > 0 && shown < 1000);
    QVERIFY(!layout.IsComplete());
    // The cancelled run has ended, its query with it.
    QTRY_COMPARE_WITH_TIMEOUT(layout.findChildren<CPreviewRun *>().size(), 0, 10000);
}

VANTEL_TEST_CLASS(TestLiveLayout)
#include "tst_livelayout.moc"
