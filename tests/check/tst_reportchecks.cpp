#include "bandcontext.h"
#include "columndiscovery.h"
#include "expressionpreview.h"
#include "reportchecks.h"
#include "reportfixture.h"
#include "testregistry.h"
#include "vornitems.h"

#include <QTemporaryDir>
#include <QTest>

#include <thread>

using namespace Qt::StringLiterals;

using ReportEdit = std::function<void(CVornReport &)>;
Q_DECLARE_METATYPE(ReportEdit)

namespace {

// Never ends on its own: only a cancel stops it.
const QString endless = u"WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) "
                        u"SELECT max(x) AS X FROM c"_s;
// Fails (integer overflow) unless its entry {ID} is bound to 1 (entries are bound as text).
const QString needsOne = u"SELECT CASE WHEN {ID} = '1' THEN 'ok' ELSE abs(-9223372036854775808) "
                         u"END AS V"_s;

CVornBand *AddBand(CVornReport &report, const QString &name, const QString &query,
                   int kind = VornKind::ReportContents)
{
    auto *band = new CVornBand(kind, name);
    band->SetHeight(1000);
    band->SetDatabaseQuery(query);
    report.GetBands().Add(band);
    return band;
}

QStringList Describe(const CQueryOutcome *outcome)
{
    if (!outcome)
        return {u"not run"_s};
    switch (outcome->state) {
    case CQueryOutcome::State::Failed:
        return {u"failed: "_s + outcome->message};
    case CQueryOutcome::State::TimedOut:
        return {u"timed out"_s};
    case CQueryOutcome::State::Cancelled:
        return {u"cancelled"_s};
    case CQueryOutcome::State::Ok:
        break;
    }
    QStringList columns;
    for (const CQueryColumn &column : outcome->columns)
        columns << column.name + u':' + column.type + (column.binary ? u"*"_s : QString());
    return columns;
}

} // namespace

// The columns of a report's queries looked up on a real SQLite database, and the problems the
// checks find with them: what the Data pane shows, the design view marks and --check prints.
class TestReportChecks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QCOMPARE(
                ReportFixture::CreateDatabase(
                        m_dir.filePath(u"shop.db"_s),
                        {u"CREATE TABLE Customers (Id INTEGER PRIMARY KEY, Name TEXT, City TEXT)"_s,
                         u"INSERT INTO Customers VALUES (1, 'Ann', 'Oslo'), (2, 'Bob', 'Rome')"_s,
                         u"CREATE TABLE Invoices (Id INTEGER PRIMARY KEY, CustomerId INTEGER, "
                         u"Amount REAL, Issued DATE, Scan BLOB)"_s,
                         u"INSERT INTO Invoices VALUES (7, 1, 12.5, '2024-01-02', x'00')"_s}),
                QString());
    }

    void columns_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("names and types in query order (SQLite keeps dates as text)")
                << u"SELECT c.Name AS NAME, c.Id, i.Amount, i.Issued FROM Customers c, Invoices i"_s
                << QStringList {u"NAME:text"_s, u"Id:integer"_s, u"Amount:real"_s,
                                u"Issued:text"_s};
        QTest::newRow("a binary column is marked")
                << u"SELECT Scan FROM Invoices"_s << QStringList {u"Scan:binary*"_s};
        QTest::newRow("no rows still tell the columns")
                << u"SELECT City FROM Customers WHERE 0"_s << QStringList {u"City:text"_s};
        QTest::newRow("the driver's message")
                << u"SELECT Nme FROM Customers"_s << QStringList {u"failed: no such column: Nme"_s};
    }

    void columns()
    {
        QFETCH(QString, query);
        QFETCH(QStringList, expected);
        CVornReport report;
        ReportFixture::MakeListReport(report, u"shop.db"_s, query);
        const CReportColumns columns = DiscoverColumns(report, Options());
        QVERIFY(columns.HasDatabase());
        QCOMPARE(columns.GetConnectionError(), QString());
        QCOMPARE(Describe(columns.Band(u"rows"_s)), expected);
    }

    void entriesTakeTheirValuesAsARunDoes_data()
    {
        QTest::addColumn<ReportEdit>("edit");
        QTest::addColumn<bool>("bound");
        // The band "Detail" runs needsOne; each row gives {ID} its value another way.
        QTest::newRow("the parent's first row") << ReportEdit([](CVornReport &report) {
            AddBand(report, u"Master"_s, u"SELECT Id AS ID FROM Customers ORDER BY Id"_s);
            Detail(report)->SetParentDataSource(u"master"_s);
        }) << true;
        QTest::newRow("the parent's second row does not count")
                << ReportEdit([](CVornReport &report) {
                       AddBand(report, u"Master"_s,
                               u"SELECT Id AS ID FROM Customers ORDER BY Id DESC"_s);
                       Detail(report)->SetParentDataSource(u"Master"_s);
                   })
                << false;
        QTest::newRow("the stored value") << ReportEdit([](CVornReport &report) {
            report.GetParameters().SetParameter(u"detail"_s, u"id"_s, u"1"_s);
        }) << true;
        QTest::newRow("a parent row without the column leaves the stored value")
                << ReportEdit([](CVornReport &report) {
                       AddBand(report, u"Master"_s, u"SELECT 2 AS OTHER"_s);
                       Detail(report)->SetParentDataSource(u"Master"_s);
                       report.GetParameters().SetParameter(u"Detail"_s, u"ID"_s, u"1"_s);
                   })
                << true;
        QTest::newRow("a group header with a query of its own")
                << ReportEdit([](CVornReport &report) {
                       AddBand(report, u"Header"_s, u"SELECT 1 AS ID"_s);
                       Detail(report)->SetHeader(u"Header"_s);
                   })
                << true;
        QTest::newRow("a loop of parents runs once and binds nothing")
                << ReportEdit([](CVornReport &report) {
                       AddBand(report, u"Master"_s, u"SELECT {X} AS ID"_s)
                               ->SetParentDataSource(u"Detail"_s);
                       Detail(report)->SetParentDataSource(u"Master"_s);
                   })
                << false;
    }

    void entriesTakeTheirValuesAsARunDoes()
    {
        QFETCH(ReportEdit, edit);
        QFETCH(bool, bound);
        CVornReport report;
        report.SetDatabaseType(0);
        report.SetConnectString(u"shop.db"_s);
        AddBand(report, u"Detail"_s, needsOne);
        edit(report);
        const CReportColumns columns = DiscoverColumns(report, Options());
        const CQueryOutcome *outcome = columns.Band(u"Detail"_s);
        QVERIFY(outcome);
        QCOMPARE(outcome->state == CQueryOutcome::State::Ok, bound);
    }

    void theCommandLineValueWinsOverTheStoredOne()
    {
        CVornReport report;
        ReportFixture::MakeListReport(report, u"shop.db"_s, needsOne);
        report.GetParameters().SetParameter(u"Rows"_s, u"ID"_s, u"2"_s);
        CDiscoveryOptions options = Options();
        options.parameter = [](const QString &, const QString &) {
            return u"1"_s;
        };
        QCOMPARE(Describe(DiscoverColumns(report, options).Band(u"Rows"_s)),
                 QStringList {u"V:text"_s});
    }

    void aQueryThatDoesNotAnswerIsCancelled()
    {
        // The one that times out is cancelled; the next band gets a fresh connection.
        CVornReport report;
        ReportFixture::MakeListReport(report, u"shop.db"_s, endless);
        AddBand(report, u"After"_s, u"SELECT City FROM Customers"_s);
        CDiscoveryOptions options = Options();
        options.timeoutMs = 200;
        const CReportColumns columns = DiscoverColumns(report, options);
        QCOMPARE(Describe(columns.Band(u"Rows"_s)), QStringList {u"timed out"_s});
        QCOMPARE(Describe(columns.Band(u"After"_s)), QStringList {u"City:text"_s});
        QVERIFY(!columns.IsCancelled());
    }

    void aCancelStopsTheLookUp()
    {
        CVornReport report;
        ReportFixture::MakeListReport(report, u"shop.db"_s, endless);
        AddBand(report, u"After"_s, u"SELECT City FROM Customers"_s);
        std::atomic_bool cancel = false;
        CDiscoveryOptions options = Options();
        options.cancel = &cancel;
        std::thread canceller([&cancel] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            cancel = true;
        });
        const CReportColumns columns = DiscoverColumns(report, options);
        canceller.join();
        QVERIFY(columns.IsCancelled());
        QCOMPARE(Describe(columns.Band(u"Rows"_s)), QStringList {u"cancelled"_s});
        QCOMPARE(Describe(columns.Band(u"After"_s)), QStringList {u"cancelled"_s});
    }

    void problems_data()
    {
        QTest::addColumn<ReportEdit>("edit");
        QTest::addColumn<QStringList>("expected"); // the start of each line
        QTest::newRow("a sound report") << ReportEdit([](CVornReport &) {}) << QStringList();
        QTest::newRow("a field the query does not return")
                << ReportEdit([](CVornReport &report) {
                       ItemOf<CVornDbText>(report, 1, 0)->SetDataField(u"AMOUNTT"_s);
                   })
                << QStringList {u"Lines/Amount: No column AMOUNTT in the query of band Lines; "
                                u"it returns AMOUNT, SCAN"_s};
        QTest::newRow("a field of an item's own query")
                << ReportEdit([](CVornReport &report) {
                       auto *total = ItemOf<CVornDbText>(report, 0, 0);
                       total->SetQuery(u"SELECT SUM(Amount) AS TOTAL FROM Invoices WHERE "
                                       u"CustomerId = {ID}"_s);
                   })
                << QStringList {u"Customers/Name: No column NAME in the query of item Name; it "
                                u"returns TOTAL"_s};
        QTest::newRow("a count without a field counts rows, a sum needs one")
                << ReportEdit([](CVornReport &report) {
                       for (int aggregate : {CVornDbText::Count, CVornDbText::Sum}) {
                           auto *total = ReportFixture::AddDbText(*report.GetBands()[2],
                                                                  u"Total %1"_s.arg(aggregate),
                                                                  QString(), 0, 5000);
                           total->SetDataSource(u"Lines"_s);
                           total->SetAggregate(aggregate);
                       }
                   })
                << QStringList {u"Footer/Total 1: No data field is named; the query of band "
                                u"Lines returns AMOUNT, SCAN"_s};
        QTest::newRow("a query that fails") << ReportEdit([](CVornReport &report) {
            report.GetBands()[1]->SetDatabaseQuery(u"SELECT Amount FROM Nowhere"_s);
        }) << QStringList {u"Lines: The query failed: no such table: Nowhere"_s};
        QTest::newRow("a data source that names no band") << ReportEdit([](CVornReport &report) {
            ItemOf<CVornDbImage>(report, 1, 1)->SetDataSource(u"Scans"_s);
        }) << QStringList {u"Lines/Scan: The data source Scans is no band of the report"_s};
        QTest::newRow("a data source without data") << ReportEdit([](CVornReport &report) {
            ItemOf<CVornDbText>(report, 2, 0)->SetDataField(u"NAME"_s);
        }) << QStringList {u"Footer/Page: The band Footer has no SQL query"_s};
        QTest::newRow("a format the engine refuses") << ReportEdit([](CVornReport &report) {
            ItemOf<CVornDbText>(report, 1, 0)->SetFormat(u"%n"_s);
        }) << QStringList {u"Lines/Amount: The Data Format \"%n\" cannot be used"_s};
        QTest::newRow("an entry without a value") << ReportEdit([](CVornReport &report) {
            report.GetBands()[1]->SetParentDataSource(QString());
        }) << QStringList {u"Lines: The query entry {ID} has no value"_s};
        QTest::newRow("a parent that names no band")
                << ReportEdit([](CVornReport &report) {
                       report.GetBands()[1]->SetParentDataSource(u"Nowhere"_s);
                   })
                << QStringList {u"Lines: The parent data source \"Nowhere\""_s,
                                u"Lines: The query entry {ID} has no value"_s};
        QTest::newRow("a group band with the name of an earlier item")
                << ReportEdit([](CVornReport &report) {
                       AddBand(report, u"AMOUNT"_s, {});
                       report.GetBands()[1]->SetHeader(u"amount"_s);
                   })
                << QStringList {u"Lines: The group band AMOUNT has the name of the item Amount "
                                u"on the band Lines: the saved report would not open again"_s};
        QTest::newRow("an expression that does not parse, and one of the wrong type")
                << ReportEdit([](CVornReport &report) {
                       ItemOf<CVornDbText>(report, 1, 0)->SetExpression(u"[AMOUNT] *"_s);
                       ItemOf<CVornDbText>(report, 0, 0)->SetExpression(u"YEAR(12)"_s);
                   })
                << QStringList {u"Customers/Name: The expression \"YEAR(12)\" cannot work: YEAR "
                                u"needs a date, not the number 12 (at character 6)"_s,
                                u"Lines/Amount: The expression \"[AMOUNT] *\" cannot be read: "_s};
        QTest::newRow("a condition that is none, a band that is none, a bad Display Format")
                << ReportEdit([](CVornReport &report) {
                       ItemOf<CVornDbText>(report, 0, 0)->SetPrintWhen(u"[NAME] & 'x'"_s);
                       ItemOf<CVornDbText>(report, 2, 0)
                               ->SetStyleRules({{u"[Nowhere].[X] = 1"_s, 255u, {}, {}, {}}});
                       ItemOf<CVornDbText>(report, 1, 0)->SetDisplayFormat(u"0.0.0"_s);
                   })
                << QStringList {u"Customers/Name: The condition \"[NAME] & 'x'\" gives no true or "
                                u"false"_s,
                                u"Lines/Amount: The Display Format \"0.0.0\" cannot be used"_s,
                                u"Footer/Page: The expression \"[Nowhere].[X] = 1\" reads the band "
                                u"Nowhere, which is no band of the report"_s};
        QTest::newRow("a field the query does not return, a parameter without a value")
                << ReportEdit([](CVornReport &report) {
                       report.GetBands()[1]->SetPrintWhen(u"[AMOUNTT] > {LIMIT}"_s);
                       ItemOf<CVornDbText>(report, 2, 0)->SetExpression(u"[Lines].[SCAN]"_s);
                   })
                << QStringList {u"Lines: No column AMOUNTT in the query of band Lines; it returns "
                                u"AMOUNT, SCAN"_s,
                                u"Lines: The parameter {LIMIT} has no value"_s};
        const auto addChart = [](CVornReport &report, const QString &source,
                                 const QString &category, const QString &value) {
            auto *chart = new CVornChart;
            chart->SetName(u"Chart"_s);
            chart->SetRect(0, 0, 5000, 500);
            chart->SetDataSource(source);
            chart->SetCategory(category);
            if (!value.isEmpty())
                chart->SetSeries({{QString(), value, std::nullopt}});
            report.GetBands()[2]->GetItems().Add(chart);
        };
        QTest::newRow("a chart's field the query does not return, its expression unread")
                << ReportEdit([addChart](CVornReport &report) {
                       addChart(report, u"Lines"_s, u"AMOUNTT"_s, u"[AMOUNT] *"_s);
                   })
                << QStringList {u"Footer/Chart: The expression \"[AMOUNT] *\" cannot be read"_s,
                                u"Footer/Chart: No column AMOUNTT in the query of band Lines; it "
                                u"returns AMOUNT, SCAN"_s};
        QTest::newRow("a chart of no band, without series")
                << ReportEdit([addChart](CVornReport &report) {
                       addChart(report, u"Nowhere"_s, u"SCAN"_s, QString());
                   })
                << QStringList {u"Footer/Chart: The data source Nowhere is no band of the report"_s,
                                u"Footer/Chart: The chart has no series"_s};
        QTest::newRow("a database that cannot be opened")
                << ReportEdit([](CVornReport &report) { report.SetConnectString(u"no.db"_s); })
                << QStringList {u"The database "_s};
        QTest::newRow("several, in report order") << ReportEdit([](CVornReport &report) {
            ItemOf<CVornDbText>(report, 1, 0)->SetFormat(u"%d %d"_s);
            ItemOf<CVornDbText>(report, 0, 0)->SetDataField(u"NAM"_s);
        }) << QStringList {u"Customers/Name: No column NAM"_s, u"Lines/Amount: The Data Format"_s};
        QTest::newRow("without a database only what needs none")
                << ReportEdit([](CVornReport &report) {
                       report.SetDatabaseType(-1);
                       ItemOf<CVornDbText>(report, 1, 0)->SetFormat(u"%s%s"_s);
                       ItemOf<CVornDbText>(report, 0, 0)->SetDataField(u"NAM"_s);
                   })
                << QStringList {u"Lines/Amount: The Data Format"_s};
    }

    void problems()
    {
        QFETCH(ReportEdit, edit);
        QFETCH(QStringList, expected);
        CVornReport report;
        ShopReport(report);
        edit(report);

        const CReportColumns columns = DiscoverColumns(report, Options());
        QStringList lines_;
        for (const CReportProblem &problem : CheckReport(report, columns))
            lines_ << ProblemLine(report, problem);
        QCOMPARE(lines_.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i)
            QVERIFY2(lines_.at(i).startsWith(expected.at(i)), qPrintable(lines_.at(i)));
    }

    // What the expression editor shows as the value on the first rows of the data.
    void preview_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a field of the item's band, exactly") << u"[AMOUNT] * 3"_s << u"= 37.5"_s;
        QTest::newRow("a field of another band") << u"[Customers].[NAME] & '!'"_s << u"= Ann!"_s;
        QTest::newRow("a total of the one row") << u"COUNT([AMOUNT]) + #ROW"_s << u"= 2"_s;
        QTest::newRow("nothing") << u"NULL"_s << u"= (nothing)"_s;
        QTest::newRow("a failure, with its place") << u"[AMOUNT] / 0"_s << u"(at character 10)"_s;
        QTest::newRow("a column the query does not return") << u"[AMOUNTT]"_s << u"AMOUNTT"_s;
    }
    void preview()
    {
        QFETCH(QString, expression);
        QFETCH(QString, shown);
        CVornReport report;
        ShopReport(report);
        const CReportColumns columns = DiscoverColumns(report, Options());
        const QString text = PreviewExpression(report, columns, 1, 0, expression);
        QVERIFY2(text.contains(shown), qPrintable(text));
    }

private:
    // Customers with their invoices' lines (the master's ID bound into the detail), and a page
    // footer with the page number.
    static void ShopReport(CVornReport &report)
    {
        report.SetDatabaseType(0);
        report.SetConnectString(u"shop.db"_s);
        CVornBand *customers = AddBand(report, u"Customers"_s,
                                       u"SELECT Id AS ID, Name AS NAME FROM Customers"_s);
        ReportFixture::AddDbText(*customers, u"Name"_s, u"NAME"_s, 0, 5000);
        CVornBand *lines = AddBand(
                report, u"Lines"_s,
                u"SELECT Amount AS AMOUNT, Scan AS SCAN FROM Invoices WHERE CustomerId = {ID}"_s);
        lines->SetParentDataSource(u"Customers"_s);
        ReportFixture::AddDbText(*lines, u"Amount"_s, u"AMOUNT"_s, 0, 5000, u"%.2f"_s);
        auto *scan = new CVornDbImage;
        scan->SetName(u"Scan"_s);
        scan->SetDataSource(u"Lines"_s);
        scan->SetDataField(u"scan"_s);
        lines->GetItems().Add(scan);
        CVornBand *footer = AddBand(report, u"Footer"_s, {}, VornKind::PageFooter);
        ReportFixture::AddDbText(*footer, u"Page"_s, u"#PAGE"_s, 0, 5000, u"Page %d"_s)
                ->SetDataSource(QString());
    }

    static CVornBand *Detail(CVornReport &report) { return report.GetBands()[0]; }

    template<typename T>
    static T *ItemOf(CVornReport &report, int band, int item)
    {
        return dynamic_cast<T *>(report.GetBands()[band]->GetItems()[item]);
    }

    CDiscoveryOptions Options() const
    {
        CDiscoveryOptions options;
        options.reportFolder = m_dir.path();
        return options;
    }

    QTemporaryDir m_dir;
};

VANTEL_TEST_CLASS(TestReportChecks)

#include "tst_reportchecks.moc"
