#include "chartlayout.h"
#include "reportbuilder.h"
#include "reportrun.h"
#include "testregistry.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <functional>
#include <map>

using namespace Qt::StringLiterals;
using namespace ReportBuilder;
constexpr int Contents = VornKind::ReportContents;

using Build = std::function<void(CVornReport &)>;
Q_DECLARE_METATYPE(Build)

namespace {

// Sales rows: (grp, cat, amount), amount NULL in one row.
const QString SalesQuery = u"SELECT grp, cat, amount FROM sales ORDER BY grp, cat"_s;

// A bar chart 80 x 60 mm over source, its category and first series given.
CVornChart *BarChart(CVornBand *band, const QString &source, int over, const QString &category,
                     const QString &value)
{
    auto *chart = Add<CVornChart>(band);
    chart->SetRect(0, 0, 8000, 6000);
    band->SetHeight(6000);
    chart->SetDataSource(source);
    chart->SetOver(over);
    chart->SetCategory(category);
    chart->SetSeries({{u"Amount"_s, value, std::nullopt}});
    return chart;
}

// Each chart printed on the run's pages, one line per chart in page order: its bars (closed
// paths in the first series' colour, from left to right) as their heights relative to the
// first one.
QStringList ChartBars(const CPageModel &model)
{
    QStringList charts;
    const QRgb barColor = Chart::PaletteColor(0);
    for (int p = 0; p < model.GetPageCount(); ++p) {
        // Charts by the top of their box; bars by their left edge.
        std::map<int, std::map<int, int>> bars;
        for (const CPageItem &item : model.GetPage(p)->GetItems()) {
            if (const auto *path = std::get_if<CPagePath>(&item);
                path && path->closed && path->fill == barColor) {
                int left = INT_MAX, top = INT_MAX, bottom = INT_MIN;
                for (const CPagePoint &point : path->points) {
                    left = std::min(left, point.x);
                    top = std::min(top, point.y);
                    bottom = std::max(bottom, point.y);
                }
                bars[path->box.top][left] = bottom - top;
            }
        }
        for (const auto &[top, row] : bars) {
            QStringList line;
            const double first = row.begin()->second;
            for (const auto &[left, height] : row)
                line << QString::number(height / first, 'f', 2);
            charts << line.join(u' ');
        }
    }
    return charts;
}

} // namespace

// Charts printed by a run: the rows they take in each scope, their own query, field and
// expression values, and the runs they fail with a message.
class TestChartRun : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void rowsTaken_data();
    void rowsTaken();
    void failures_data();
    void failures();

private:
    bool Run(const Build &build, CPageModel &model, QString &message);

    QTemporaryDir m_folder;
};

void TestChartRun::initTestCase()
{
    QVERIFY(m_folder.isValid());
    auto db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"chartrun"_s);
    db.setDatabaseName(m_folder.filePath(u"sales.db"_s));
    QVERIFY(db.open());
    QSqlQuery query(db);
    QVERIFY(query.exec(u"CREATE TABLE sales (grp INTEGER, cat TEXT, amount REAL)"_s));
    QVERIFY(query.exec(u"INSERT INTO sales VALUES (1, 'a', 10), (1, 'b', 20), (2, 'c', 30), "
                       u"(2, 'd', NULL), (2, 'e', 5)"_s));
    db.close();
}

bool TestChartRun::Run(const Build &build, CPageModel &model, QString &message)
{
    CVornReport report;
    report.SetDatabaseType(0);
    report.SetConnectString(u"sales.db"_s);
    report.SetHeight(29700);
    build(report);
    CRunOptions options;
    options.reportFolder = m_folder.path();
    return RunReport(report, options, model, message);
}

void TestChartRun::rowsTaken_data()
{
    QTest::addColumn<Build>("build");
    QTest::addColumn<QStringList>("charts");
    QTest::addColumn<QString>("shown"); // a category text on the first page

    // Rows D over the sales, then a report footer with the chart. The rows print no category,
    // so that a category shown is the chart's.
    const auto overList = [](int over, const QString &category, const QString &value) {
        return Build([=](CVornReport &r) {
            Field(Band(r, Contents, u"D"_s, SalesQuery), u"D"_s, u"grp"_s);
            BarChart(Band(r, VornKind::ReportFooter, u"F"_s), u"D"_s, over, category, value);
        });
    };
    QTest::newRow("all rows of the report; a NULL draws no bar")
            << overList(CVornChart::OverReport, u"cat"_s, u"amount"_s)
            << QStringList {u"1.00 2.00 3.00 0.50"_s} << u"d"_s;
    QTest::newRow("expressions as category and value")
            << overList(CVornChart::OverReport, u"[cat] & '!'"_s, u"[amount] * [grp]"_s)
            << QStringList {u"1.00 2.00 6.00 1.00"_s} << u"c!"_s;
    QTest::newRow("a group footer's chart takes its group's rows") << Build([](CVornReport &r) {
        Field(Band(r, Contents, u"H"_s), u"D"_s, u"grp"_s);
        CVornBand *d = Band(r, Contents, u"D"_s, SalesQuery);
        d->SetHeader(u"H"_s);
        d->SetFooter(u"G"_s);
        Field(d, u"D"_s, u"amount"_s);
        BarChart(Band(r, Contents, u"G"_s), u"D"_s, CVornChart::OverBand, u"cat"_s, u"amount"_s);
    }) << QStringList {u"1.00 2.00"_s, u"1.00 0.17"_s} << u"b"_s;
    QTest::newRow("a query of its own: all its rows") << Build([](CVornReport &r) {
        CVornChart *chart = BarChart(Band(r, VornKind::ReportHeader, u"T"_s), {},
                                     CVornChart::OverBand, u"grp"_s, u"total"_s);
        chart->SetQuery(u"SELECT grp, SUM(amount) AS total FROM sales GROUP BY grp"_s);
    }) << QStringList {u"1.00 1.17"_s} << u"2"_s;
    QTest::newRow("a page footer's chart takes the rows of its page") << Build([](CVornReport &r) {
        r.SetHeight(20000);
        CVornBand *d = Band(r, Contents, u"D"_s, SalesQuery);
        d->SetHeight(4000);
        Field(d, u"D"_s, u"grp"_s);
        BarChart(Band(r, VornKind::PageFooter, u"P"_s), u"D"_s, CVornChart::OverPage, u"cat"_s,
                 u"amount"_s);
    }) << QStringList {u"1.00 2.00 3.00"_s, u"1.00"_s} << u"c"_s;
}

void TestChartRun::rowsTaken()
{
    QFETCH(Build, build);
    QFETCH(QStringList, charts);
    QFETCH(QString, shown);
    CPageModel model;
    QString message;
    QVERIFY2(Run(build, model, message), qPrintable(message));
    QCOMPARE(ChartBars(model), charts);
    QVERIFY(PageText(model, 0).split(u' ').contains(shown));
}

void TestChartRun::failures_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("a field the query does not return")
            << u"cat"_s << u"price"_s
            << u"The item \"I0\" on the band \"F\" shows the field \"price\", which the query of "
               u"\"D\" does not return; it returns: grp, cat, amount"_s;
    QTest::newRow("a value that is no number")
            << u"cat"_s << u"cat"_s
            << u"The item \"I0\" on the band \"F\" cannot chart the value \"a\" of \"cat\": it "
               u"is not a number"_s;
    QTest::newRow("an expression that does not parse")
            << u"[cat] &"_s << u"amount"_s << u"The category \"[cat] &\" of the item \"I0\""_s;
}

void TestChartRun::failures()
{
    QFETCH(QString, category);
    QFETCH(QString, value);
    QFETCH(QString, message);
    const Build build = [&](CVornReport &r) {
        Field(Band(r, Contents, u"D"_s, SalesQuery), u"D"_s, u"cat"_s);
        BarChart(Band(r, VornKind::ReportFooter, u"F"_s), u"D"_s, CVornChart::OverReport, category,
                 value);
    };
    CPageModel model;
    QString said;
    QVERIFY(!Run(build, model, said));
    QVERIFY2(said.startsWith(message), qPrintable(said));
}

VANTEL_TEST_CLASS(TestChartRun)
#include "tst_chartrun.moc"
