#include "pagerender.h"
#include "pagetextlines.h"
#include "pdftext.h"
#include "pdfwriter.h"
#include "reportbuilder.h"
#include "reportoutput.h"
#include "reportrun.h"
#include "testregistry.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <thread>

using namespace Qt::StringLiterals;
using namespace ReportBuilder;
using Parameters = QMap<QString, QString>;
constexpr int ReportContents = VornKind::ReportContents;
constexpr int ReportHeader = VornKind::ReportHeader;
constexpr int ReportFooter = VornKind::ReportFooter;
constexpr int PageHeader = VornKind::PageHeader;
constexpr int PageFooter = VornKind::PageFooter;
constexpr int PageBreak = VornKind::PageBreak;

using Build = std::function<void(CVornReport &)>;
Q_DECLARE_METATYPE(Build)
Q_DECLARE_METATYPE(CPageSource)

// Reports run against a small shop database that the test builds: what lands on which page.
class TestReportRun : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void layout_data();
    void layout();
    void totals_data();
    void totals();
    void expressions_data();
    void expressions();
    void conditionsAndStyles();
    void failures_data();
    void failures();
    void cancelStopsTheRun();
    void pdfAndPicturesOfARun();
    void tenThousandPagesToPdf();
    void boundsAndEarlyStops_data();
    void boundsAndEarlyStops();
    void pageCountOfAStreamedPdf();
    void pageLimitHoldsTheLayoutBack();
    void textLinesOnlyForAWriter();

private:
    std::unique_ptr<CVornReport> NewReport() const;
    void CheckPages(const Build &build, const Parameters &parameters,
                    const QStringList &pages) const;
    bool Run(const CVornReport &report, CPageModel &model, QString &message,
             const Parameters &parameters = {}, const std::atomic_bool *cancel = nullptr,
             const std::function<void(int)> &progress = {}, CPageSource *failedAt = nullptr) const;

    QTemporaryDir m_folder;
    QByteArray m_logo;
};

void TestReportRun::initTestCase()
{
    QVERIFY(m_folder.isValid());
    QImage logo(40, 40, QImage::Format_RGB32);
    logo.fill(qRgb(0, 128, 0));
    QBuffer buffer(&m_logo);
    buffer.open(QIODevice::WriteOnly);
    logo.save(&buffer, "PNG");

    auto db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"build"_s);
    db.setDatabaseName(m_folder.filePath(u"shop.db"_s));
    QVERIFY(db.open());
    QSqlQuery q(db);
    for (const QString &sql :
         {u"CREATE TABLE customers (id INTEGER PRIMARY KEY, name TEXT, city TEXT, logo BLOB)"_s,
          u"CREATE TABLE invoices (id INTEGER PRIMARY KEY, customer_id INTEGER, total REAL)"_s,
          u"CREATE TABLE lines (invoice_id INTEGER, item TEXT)"_s,
          u"INSERT INTO invoices VALUES (10, 1, 12.5), (11, 1, 7.25), (20, 2, 100)"_s,
          u"INSERT INTO lines VALUES (10, 'pen'), (10, 'ink'), (11, 'pad'), (20, 'desk')"_s,
          // Amounts that drift in binary floating point, a NULL, a text that is no number and
          // texts too long for a double.
          u"CREATE TABLE amounts (inv INTEGER, item TEXT, amount REAL, code TEXT)"_s,
          u"INSERT INTO amounts VALUES (1, 'a', 0.1, '12345678901234567890.123456789'), "
          u"(1, 'b', 0.2, '0.000000001'), (1, 'c', NULL, '7'), (2, 'd', 325.45, NULL), "
          u"(2, 'e', 10, '1'), (2, 'f', 0.05, '2')"_s})
        QVERIFY2(q.exec(sql), qPrintable(sql + q.lastError().text()));
    // Twelve customers C01 .. C12 in three cities; the first two have a logo.
    const QStringList cities {u"Oslo"_s, u"Rome"_s, u"Paris"_s};
    for (int i = 1; i <= 12; ++i) {
        q.prepare(u"INSERT INTO customers VALUES (?, ?, ?, ?)"_s);
        q.addBindValue(i);
        q.addBindValue(u"C%1"_s.arg(i, 2, 10, QLatin1Char('0')));
        q.addBindValue(cities[i % 3]);
        q.addBindValue(i <= 2 ? QVariant(m_logo) : QVariant(QMetaType(QMetaType::QByteArray)));
        QVERIFY(q.exec());
    }
    db.close();
}

std::unique_ptr<CVornReport> TestReportRun::NewReport() const
{
    auto report = std::make_unique<CVornReport>();
    report->SetDatabaseType(0);
    report->SetConnectString(u"shop.db"_s);
    report->SetHeight(10000);
    return report;
}

bool TestReportRun::Run(const CVornReport &report, CPageModel &model, QString &message,
                        const Parameters &parameters, const std::atomic_bool *cancel,
                        const std::function<void(int)> &progress, CPageSource *failedAt) const
{
    CRunOptions options;
    options.progress = progress;
    options.reportFolder = m_folder.path();
    options.parameter = [parameters](const QString &band, const QString &name) {
        return parameters.value(band.toLower() + u'/' + name.toLower());
    };
    options.value = [](const QString &band, const QString &field) {
        return band + u'.' + field;
    };
    options.cancel = cancel;
    return RunReport(report, options, model, message, failedAt);
}

void TestReportRun::layout_data()
{
    QTest::addColumn<Build>("build");
    QTest::addColumn<Parameters>("parameters");
    QTest::addColumn<QStringList>("pages");

    const QString all = u"SELECT id, name, city FROM customers ORDER BY id"_s;
    const auto pageBands = [](CVornReport &r, int headerOnFirst) {
        CVornBand *header = Band(r, PageHeader, u"PH"_s);
        header->SetPrintOnFirstPage(headerOnFirst);
        Text(header, u"Head"_s);
        CVornBand *footer = Band(r, PageFooter, u"PF"_s);
        Field(footer, {}, u"#PAGE"_s, u"Page %d"_s);
        Field(footer, {}, u"#pages"_s, u"of %d"_s);
    };
    QTest::newRow("page header and footer, rows moving on")
            << Build([=](CVornReport &r) {
                   pageBands(r, 1);
                   Field(Band(r, ReportContents, u"Rows"_s, all), u"Rows"_s, u"name"_s);
               })
            << Parameters()
            << QStringList {u"Head C01 C02 C03 C04 C05 C06 C07 C08 Page 1 of 2"_s,
                            u"Head C09 C10 C11 C12 Page 2 of 2"_s};
    QTest::newRow("header left out on the first page gives its space")
            << Build([=](CVornReport &r) {
                   pageBands(r, 0);
                   Field(Band(r, ReportContents, u"Rows"_s, all), u"Rows"_s, u"NAME"_s);
               })
            << Parameters()
            << QStringList {u"C01 C02 C03 C04 C05 C06 C07 C08 C09 Page 1 of 2"_s,
                            u"Head C10 C11 C12 Page 2 of 2"_s};
    QTest::newRow("report header and footer with queries, in their places") << Build(
            [=](CVornReport &r) {
                Field(Band(r, ReportFooter, u"RF"_s, u"SELECT sum(total) AS s FROM invoices"_s),
                      u"RF"_s, u"s"_s, u"Total %.2f"_s);
                CVornBand *rows = Band(r, ReportContents, u"Rows"_s,
                                       u"SELECT name FROM customers WHERE id < 3"_s);
                Field(rows, {}, u"name"_s);
                CVornBand *head
                        = Band(r, ReportHeader, u"RH"_s, u"SELECT count(*) AS n FROM customers"_s);
                Field(head, u"RH"_s, u"n"_s, u"%d customers"_s);
                CVornBand *none
                        = Band(r, ReportHeader, u"RH2"_s, u"SELECT name FROM customers WHERE 0"_s);
                Text(none, u"none:"_s);
                Field(none, u"RH2"_s, u"name"_s);
            }) << Parameters() << QStringList {u"12 customers none: C01 C02 Total 119.75"_s};
    QTest::newRow("master and detail two levels deep, nearest entry first")
            << Build([=](CVornReport &r) {
                   CVornBand *c = Band(r, ReportContents, u"Cust"_s,
                                       u"SELECT id, name FROM customers WHERE id <= 3"_s);
                   Field(c, u"Cust"_s, u"name"_s);
                   CVornBand *lines
                           = Band(r, ReportContents, u"Lines"_s,
                                  u"SELECT item FROM lines WHERE invoice_id = {ID}"_s, u"Inv"_s);
                   Field(lines, u"Lines"_s, u"item"_s);
                   CVornBand *inv = Band(r, ReportContents, u"Inv"_s,
                                         u"SELECT id, total FROM invoices "
                                         u"WHERE customer_id = {id} ORDER BY id"_s,
                                         u"Cust"_s);
                   Field(inv, u"Inv"_s, u"id"_s, u"#%d"_s);
                   Field(inv, u"Cust"_s, u"name"_s, u"of %s"_s);
                   // Its own query, entries valued from its band's row and the rows above.
                   Field(inv, {}, u"n"_s)
                           ->SetQuery(
                                   u"SELECT count(*) || ' lines' AS n FROM lines WHERE invoice_id = {id}"_s);
               })
            << Parameters()
            << QStringList {u"C01 #10 of C01 2 lines pen ink #11 of C01 1 lines pad C02 #20 of "
                            u"C02 1 lines desk C03"_s};
    QTest::newRow("group without a query of its own")
            << Build([=](CVornReport &r) {
                   CVornBand *head = Band(r, ReportContents, u"H"_s);
                   head->SetFooter(u"F"_s);
                   Field(head, u"D"_s, u"city"_s);
                   Field(Band(r, ReportContents, u"F"_s), u"D"_s, u"name"_s, u"last %s"_s);
                   CVornBand *d = Band(r, ReportContents, u"D"_s,
                                       u"SELECT name, city FROM customers "
                                       u"WHERE id <= 6 ORDER BY city, name"_s);
                   d->SetHeader(u"H"_s);
                   Field(d, u"D"_s, u"name"_s);
                   r.SetHeight(29700);
               })
            << Parameters()
            << QStringList {
                       u"Oslo C03 C06 last C06 Paris C02 C05 last C05 Rome C01 C04 last C04"_s};
    QTest::newRow("group with a query of its own") << Build([=](CVornReport &r) {
        CVornBand *head = Band(r, ReportContents, u"H"_s,
                               u"SELECT DISTINCT city FROM customers ORDER BY city"_s);
        head->SetFooter(u"F"_s);
        Field(head, u"H"_s, u"city"_s);
        Text(Band(r, ReportContents, u"F"_s), u"end"_s);
        CVornBand *d = Band(r, ReportContents, u"D"_s,
                            u"SELECT name FROM customers WHERE city = {CITY} "
                            u"AND id > 6 ORDER BY name"_s,
                            u"H"_s);
        d->SetHeader(u"H"_s);
        Field(d, u"D"_s, u"name"_s);
        r.SetHeight(29700);
    }) << Parameters() << QStringList {u"Oslo C09 C12 end Paris C08 C11 end Rome C07 C10 end"_s};
    QTest::newRow("page breaks, none at the top of a page") << Build([=](CVornReport &r) {
        Band(r, PageBreak, u"PB0"_s);
        Text(Band(r, ReportContents, u"A"_s), u"A"_s);
        Band(r, PageBreak, u"PB1"_s);
        Band(r, PageBreak, u"PB2"_s);
        Text(Band(r, ReportContents, u"B"_s), u"B"_s);
        Band(r, PageBreak, u"PB3"_s);
    }) << Parameters() << QStringList {u"A"_s, u"B"_s};
    QTest::newRow("entries: parent row, then parameter, then empty") << Build([=](CVornReport &r) {
        Band(r, ReportContents, u"M"_s, u"SELECT 'row' AS who"_s);
        CVornBand *d = Band(r, ReportContents, u"D"_s,
                            u"SELECT {WHO} || '/' || {what} || '/' || {none} AS v"_s, u"M"_s);
        Field(d, u"D"_s, u"v"_s);
    }) << Parameters {{u"d/who"_s, u"param"_s}, {u"d/what"_s, u"x"_s}}
                                                                     << QStringList {u"row/x/"_s};
    QTest::newRow("a parameter is data, never SQL") << Build([=](CVornReport &r) {
        CVornBand *d
                = Band(r, ReportContents, u"D"_s, u"SELECT name FROM customers WHERE name = {n}"_s);
        Field(d, u"D"_s, u"name"_s);
        Text(Band(r, ReportContents, u"E"_s), u"end"_s);
    }) << Parameters {{u"d/n"_s, u"x' OR '1'='1"_s}} << QStringList {u"end"_s};
    QTest::newRow("no database: every band once, values from the caller")
            << Build([=](CVornReport &r) {
                   r.SetDatabaseType(-1);
                   CVornBand *d = Band(r, ReportContents, u"D"_s, u"SELECT broken"_s);
                   Field(d, u"D"_s, u"name"_s, u"[%s]"_s);
                   Field(d, {}, u"#PAGE"_s);
               })
            << Parameters() << QStringList {u"[D.name] 1"_s};
}

// Totals of DB Texts in every scope: group footers, a master's footer, pages with a total
// carried forward, the report footer.
void TestReportRun::totals_data()
{
    QTest::addColumn<Build>("build");
    QTest::addColumn<QStringList>("pages");
    const QString amounts = u"SELECT inv, item, amount, code FROM amounts ORDER BY inv, item"_s;
    const auto total = [](CVornBand *band, const QString &source, const QString &field,
                          int aggregate, int over, const QString &format = {}) {
        CVornDbText *item = Field(band, source, field, format);
        item->SetAggregate(aggregate);
        item->SetAggregateOver(over);
        return item;
    };
    using D = CVornDbText;
    QTest::newRow("each aggregate in a group footer, NULL skipped")
            << Build([=](CVornReport &r) {
                   CVornBand *head = Band(r, ReportContents, u"H"_s);
                   head->SetFooter(u"F"_s);
                   Field(head, u"D"_s, u"inv"_s, u"#%d"_s);
                   // A total in the header shows the rows since it last printed.
                   total(head, u"D"_s, {}, D::Count, D::OverBand);
                   CVornBand *foot = Band(r, ReportContents, u"F"_s);
                   total(foot, u"D"_s, u"amount"_s, D::Sum, D::OverBand);
                   total(foot, u"D"_s, u"amount"_s, D::Count, D::OverBand);
                   total(foot, u"D"_s, {}, D::Count, D::OverBand);
                   total(foot, u"D"_s, u"amount"_s, D::Average, D::OverBand, u"%.2f"_s);
                   total(foot, u"D"_s, u"amount"_s, D::Minimum, D::OverBand);
                   total(foot, u"D"_s, u"amount"_s, D::Maximum, D::OverBand);
                   total(foot, u"D"_s, u"amount"_s, D::Sum, D::OverReport);
                   CVornBand *d = Band(r, ReportContents, u"D"_s, amounts);
                   d->SetHeader(u"H"_s);
                   Field(d, u"D"_s, u"item"_s);
                   r.SetHeight(29700);
               })
            << QStringList {
                       u"#1 0 a b c 0.3 2 3 0.15 0.1 0.2 0.3 #2 3 d e f 335.50 3 3 111.83 0.05 "
                       u"325.45 335.80"_s};
    QTest::newRow("a master's footer totals its details, a running total on the row")
            << Build([=](CVornReport &r) {
                   Field(Band(r, ReportContents, u"Inv"_s,
                              u"SELECT DISTINCT inv FROM amounts ORDER BY inv"_s),
                         u"Inv"_s, u"inv"_s, u"#%d"_s);
                   CVornBand *rows = Band(
                           r, ReportContents, u"Rows"_s,
                           u"SELECT * FROM amounts WHERE inv = {inv} ORDER BY item"_s, u"Inv"_s);
                   Field(rows, u"Rows"_s, u"amount"_s);
                   total(rows, u"Rows"_s, u"amount"_s, D::Sum, D::OverReport);
                   CVornBand *foot = Band(r, ReportContents, u"Foot"_s, {}, u"Inv"_s);
                   total(foot, u"Rows"_s, u"amount"_s, D::Sum, D::OverBand, u"= %s"_s);
                   CVornBand *end = Band(r, ReportFooter, u"End"_s);
                   total(end, u"Rows"_s, u"code"_s, D::Sum, D::OverReport);
                   total(end, u"Rows"_s, u"amount"_s, D::Average, D::OverReport);
                   r.SetHeight(29700);
               })
            << QStringList {u"#1 0.1 0.1 0.2 0.3 0.3 = 0.3 #2 325.45 325.75 10 335.75 0.05 335.80 "
                            u"= 335.50 12345678901234567900.123456790 67.16"_s};
    QTest::newRow("page totals, running totals and the total carried forward")
            << Build([=](CVornReport &r) {
                   CVornBand *head = Band(r, PageHeader, u"PH"_s);
                   total(head, u"Rows"_s, u"id"_s, D::Sum, D::OverReport, u"cf %d"_s);
                   CVornBand *foot = Band(r, PageFooter, u"PF"_s);
                   total(foot, u"Rows"_s, u"id"_s, D::Sum, D::OverPage, u"page %d"_s);
                   total(foot, u"Rows"_s, u"id"_s, D::Sum, D::OverReport, u"run %d"_s);
                   total(foot, u"Rows"_s, {}, D::Count, D::OverPage, u"n %d"_s);
                   Field(Band(r, ReportContents, u"Rows"_s,
                              u"SELECT id FROM customers WHERE id <= 10 ORDER BY id"_s),
                         u"Rows"_s, u"id"_s);
                   Band(r, PageBreak, u"Break"_s);
                   Field(Band(r, ReportContents, u"More"_s,
                              u"SELECT id FROM customers WHERE id > 10 ORDER BY id"_s),
                         u"More"_s, u"id"_s);
               })
            << QStringList {u"cf 0 1 2 3 4 5 6 7 8 page 36 run 36 n 8"_s,
                            u"cf 36 9 10 page 19 run 55 n 2"_s, u"cf 55 11 12 page 0 run 55 n 0"_s};
}

void TestReportRun::totals()
{
    QFETCH(Build, build);
    QFETCH(QStringList, pages);
    CheckPages(build, {}, pages);
}

void TestReportRun::layout()
{
    QFETCH(Build, build);
    QFETCH(Parameters, parameters);
    QFETCH(QStringList, pages);
    CheckPages(build, parameters, pages);
}

void TestReportRun::CheckPages(const Build &build, const Parameters &parameters,
                               const QStringList &pages) const
{
    const std::unique_ptr<CVornReport> report = NewReport();
    build(*report);
    CPageModel model;
    QString message;
    QVERIFY2(Run(*report, model, message, parameters), qPrintable(message));
    QVERIFY(model.IsComplete());
    QCOMPARE(Pages(model), pages);
}

// Computed values, NULLs, display formats and locales, totals in expressions, row and page
// numbers, conditions; without a database the caller gives the fields and parameters.
void TestReportRun::expressions_data()
{
    QTest::addColumn<Build>("build");
    QTest::addColumn<Parameters>("parameters");
    QTest::addColumn<QStringList>("pages");
    const QString amounts = u"SELECT inv, item, amount, code FROM amounts ORDER BY inv, item"_s;
    QTest::newRow("values, NULL printed empty, Display Format over Data Format")
            << Build([=](CVornReport &r) {
                   CVornBand *rows = Band(r, ReportContents, u"Rows"_s, amounts);
                   Computed(rows, u"[amount] * 3"_s);
                   Computed(rows, u"UPPER([item]) & #ROW"_s);
                   Field(rows, u"Rows"_s, u"amount"_s, u"%.2f"_s);
                   Field(rows, u"Rows"_s, u"amount"_s, u"%d"_s)->SetDisplayFormat(u"0.000"_s);
               })
            << Parameters()
            << QStringList {u"0.3 A1 0.10 0.100 0.6 B2 0.20 0.200 C3 976.35 D4 325.45 325.450 "
                            u"30 E5 10.00 10.000 0.15 F6 0.05 0.050"_s};
    QTest::newRow("totals by group and report, row numbers within the group")
            << Build([=](CVornReport &r) {
                   CVornBand *head = Band(r, ReportContents, u"H"_s);
                   head->SetFooter(u"F"_s);
                   Field(head, u"D"_s, u"inv"_s, u"#%d"_s);
                   Computed(head, u"[D].[inv] * 10"_s);
                   CVornBand *foot = Band(r, ReportContents, u"F"_s);
                   for (const QString &e :
                        {u"SUM([D].[amount])"_s, u"ROUND(AVG([D].[amount]), 2)"_s,
                         u"COUNT([D].[code])"_s, u"MAX_OF([D].[amount])"_s,
                         u"SUM([D].[amount] * 2, 'Report')"_s})
                       Computed(foot, e);
                   CVornBand *d = Band(r, ReportContents, u"D"_s, amounts);
                   d->SetHeader(u"H"_s);
                   Field(d, u"D"_s, u"item"_s);
                   Computed(d, u"#ROW"_s);
                   r.SetHeight(29700);
               })
            << Parameters()
            << QStringList {u"#1 10 a 1 b 2 c 3 0.3 0.15 3 0.2 0.6 #2 20 d 1 e 2 f 3 335.50 "
                            u"111.83 2 325.45 671.60"_s};
    QTest::newRow("conditions: a band that does not print, an item that does not, totals of "
                  "what printed")
            << Build([=](CVornReport &r) {
                   CVornBand *rows = Band(r, ReportContents, u"Rows"_s,
                                          u"SELECT id, name, city FROM customers WHERE id <= 4 "
                                          u"ORDER BY id"_s);
                   rows->SetPrintWhen(u"[id] <> 2"_s);
                   Field(rows, u"Rows"_s, u"id"_s);
                   Field(rows, u"Rows"_s, u"name"_s)->SetPrintWhen(u"[city] = 'Rome'"_s);
                   Computed(Band(r, ReportFooter, u"End"_s), u"COUNT([Rows].[id], 'Report')"_s);
               })
            << Parameters() << QStringList {u"1 C01 3 4 C04 3"_s};
    QTest::newRow("page number and count, locale and today")
            << Build([=](CVornReport &r) {
                   r.SetLocale(u"de_DE"_s);
                   Field(Band(r, ReportContents, u"Rows"_s,
                              u"SELECT id FROM customers ORDER BY id"_s),
                         u"Rows"_s, u"id"_s);
                   CVornBand *foot = Band(r, PageFooter, u"PF"_s);
                   Computed(foot, u"'Page ' & #PAGE & ' of ' & #PAGES"_s);
                   Computed(foot, u"TEXT(DATE(2026, 3, 14), 'd MMMM yyyy')"_s);
                   Computed(foot, u"1234.5"_s, u"#,##0.00"_s);
                   Computed(foot, u"TODAY()"_s, u"dd.MM.yyyy"_s);
               })
            << Parameters()
            << QStringList {u"1 2 3 4 5 6 7 8 9 Page 1 of 2 14 März 2026 1.234,50 02.01.1970"_s,
                            u"10 11 12 Page 2 of 2 14 März 2026 1.234,50 02.01.1970"_s};
    QTest::newRow("no database: fields and parameters from the caller")
            << Build([=](CVornReport &r) {
                   r.SetDatabaseType(-1);
                   CVornBand *band = Band(r, ReportContents, u"B"_s);
                   Computed(band, u"UPPER([x]) & '/' & {Who}"_s);
                   Computed(band, u"[B].[y] & ISNULL({Missing})"_s);
               })
            << Parameters {{u"b/who"_s, u"me"_s}} << QStringList {u"B.X/me B.yFALSE"_s};
}

void TestReportRun::expressions()
{
    QFETCH(Build, build);
    QFETCH(Parameters, parameters);
    QFETCH(QStringList, pages);
    // TODAY() is the day SOURCE_DATE_EPOCH says: here the second day of 1970.
    const QByteArray before = qgetenv("SOURCE_DATE_EPOCH");
    qputenv("SOURCE_DATE_EPOCH", "86400");
    CheckPages(build, parameters, pages);
    if (before.isNull())
        qunsetenv("SOURCE_DATE_EPOCH");
    else
        qputenv("SOURCE_DATE_EPOCH", before);
}

void TestReportRun::conditionsAndStyles()
{
    // The first rule that holds styles a printing; a band that does not print leaves no gap.
    const std::unique_ptr<CVornReport> report = NewReport();
    CVornBand *rows = Band(*report, ReportContents, u"Rows"_s,
                           u"SELECT id, name FROM customers WHERE id <= 4 ORDER BY id"_s);
    rows->SetPrintWhen(u"[id] <> 3"_s);
    CVornDbText *name = Field(rows, u"Rows"_s, u"name"_s);
    name->SetColor(0x00FF0000); // blue
    name->SetStyleRules(
            {{u"[id] = 2"_s, 0x000000FFu, {}, 1, {}}, {u"[id] >= 2"_s, {}, 0x0000FF00u, {}, 1}});
    QString message;
    CPageModel pages;
    QVERIFY2(Run(*report, pages, message), qPrintable(message));
    const CPage &page = *pages.GetPage(0);
    std::vector<int> tops;
    for (const CPageBand &band : page.GetBands())
        tops.push_back(band.top);
    QCOMPARE(tops, (std::vector<int> {0, 1000, 2000}));
    std::vector<const CPageText *> texts;
    std::vector<const CPageShape *> fills;
    for (const CPageItem &item : page.GetItems()) {
        if (const auto *text = std::get_if<CPageText>(&item))
            texts.push_back(text);
        else if (const auto *shape = std::get_if<CPageShape>(&item))
            fills.push_back(shape);
    }
    QCOMPARE(texts.size(), size_t(3));
    QCOMPARE(texts[0]->color, qRgb(0, 0, 255));
    QCOMPARE(texts[1]->color, qRgb(255, 0, 0));
    QCOMPARE(texts[2]->color, qRgb(0, 0, 255));
    const CPageFontTable &fonts = page.GetFonts();
    QVERIFY(!fonts[size_t(texts[0]->font)].bold && !fonts[size_t(texts[0]->font)].italic);
    QVERIFY(fonts[size_t(texts[1]->font)].bold && !fonts[size_t(texts[1]->font)].italic);
    QVERIFY(!fonts[size_t(texts[2]->font)].bold && fonts[size_t(texts[2]->font)].italic);
    QCOMPARE(fills.size(), size_t(1));
    QCOMPARE(fills[0]->fill, qRgb(0, 255, 0));
    QCOMPARE(fills[0]->box.top, 2000);
}

void TestReportRun::failures_data()
{
    QTest::addColumn<Build>("build");
    QTest::addColumn<QStringList>("message");
    QTest::addColumn<CPageSource>("at"); // the band and item the failure points at

    QTest::newRow("database missing, never made")
            << Build([](CVornReport &r) { r.SetConnectString(u"missing.db"_s); })
            << QStringList {u"missing.db"_s, u"does not exist"_s} << CPageSource();
    QTest::newRow("band query error") << Build([](CVornReport &r) {
        Text(Band(r, ReportContents, u"Before"_s), u"x"_s);
        Band(r, ReportContents, u"Rows"_s, u"SELECT * FROM missing_table"_s);
    }) << QStringList {u"\"Rows\""_s, u"no such table"_s}
                                      << CPageSource {1, -1};
    QTest::newRow("field the query does not return") << Build([](CVornReport &r) {
        CVornBand *rows = Band(r, ReportContents, u"Rows"_s, u"SELECT id, name FROM customers"_s);
        Field(rows, u"Rows"_s, u"name"_s);
        Field(rows, u"Rows"_s, u"nope"_s);
    }) << QStringList {u"\"I1\""_s, u"\"Rows\""_s, u"\"nope\""_s, u"id, name"_s}
                                                     << CPageSource {0, 1};
    QTest::newRow("item query error") << Build([](CVornReport &r) {
        Field(Band(r, ReportContents, u"Rows"_s), {}, u"x"_s)->SetQuery(u"SELECT 1 FROM WHERE"_s);
    }) << QStringList {u"\"I0\""_s, u"\"Rows\""_s, u"syntax error"_s}
                                      << CPageSource {0, 0};
    QTest::newRow("refused format") << Build([](CVornReport &r) {
        Field(Band(r, ReportContents, u"Rows"_s), u"Rows"_s, u"id"_s, u"%d%n"_s);
    }) << QStringList {u"\"%d%n\""_s, u"\"I0\""_s, u"\"Rows\""_s}
                                    << CPageSource {0, 0};
    QTest::newRow("data source that is no band") << Build([](CVornReport &r) {
        Field(Band(r, ReportContents, u"Rows"_s), u"Ghost"_s, u"id"_s);
    }) << QStringList {u"\"Ghost\""_s, u"\"I0\""_s}
                                                 << CPageSource {0, 0};
    QTest::newRow("parents in a loop, checked before anything runs") << Build([](CVornReport &r) {
        Band(r, ReportContents, u"A"_s, u"SELECT * FROM missing_table"_s, u"B"_s);
        Band(r, ReportContents, u"B"_s, {}, u"A"_s);
    }) << QStringList {u"loop: \"A\" -> \"B\" -> \"A\""_s} << CPageSource();
    QTest::newRow("invalid report")
            << Build([](CVornReport &r) { Band(r, ReportContents, QString()); })
            << QStringList {u"Band #0 is invalid"_s} << CPageSource();
    QTest::newRow("expression that does not parse") << Build([](CVornReport &r) {
        Computed(Band(r, ReportContents, u"Rows"_s), u"[id] *"_s);
    }) << QStringList {u"\"I0\""_s, u"\"Rows\""_s, u"\"[id] *\""_s, u"at character 7"_s}
                                                    << CPageSource {0, 0};
    QTest::newRow("expression of a band that is none") << Build([](CVornReport &r) {
        Text(Band(r, ReportContents, u"Rows"_s), u"x"_s)->SetPrintWhen(u"[Ghost].[id] = 1"_s);
    }) << QStringList {u"\"I0\""_s, u"\"Ghost\""_s, u"Print When"_s}
                                                       << CPageSource {0, 0};
    QTest::newRow("division by zero names the row") << Build([](CVornReport &r) {
        Text(Band(r, ReportContents, u"Rows"_s), u"x"_s);
        Computed(Band(r, ReportContents, u"Rows"_s, u"SELECT id FROM customers ORDER BY id"_s),
                 u"1 / ([id] - 2)"_s);
    }) << QStringList {u"\"I0\""_s, u"\"1 / ([id] - 2)\""_s, u"row 2"_s, u"zero"_s}
                                                    << CPageSource {1, 0};
    QTest::newRow("numeric Data Format on a text") << Build([](CVornReport &r) {
        Field(Band(r, ReportContents, u"Rows"_s, u"SELECT name FROM customers"_s), u"Rows"_s,
              u"name"_s, u"No. %d"_s);
    }) << QStringList {u"\"I0\""_s, u"\"Rows\""_s, u"\"C01\""_s, u"not a number"_s}
                                                   << CPageSource {0, 0};
    QTest::newRow("total of a text that is no number") << Build([](CVornReport &r) {
        Field(Band(r, ReportFooter, u"End"_s), u"Rows"_s, u"item"_s)
                ->SetAggregate(CVornDbText::Maximum);
        Band(r, ReportContents, u"Rows"_s, u"SELECT item FROM amounts"_s);
    }) << QStringList {u"\"I0\""_s, u"\"End\""_s, u"\"a\""_s, u"not a number"_s}
                                                       << CPageSource {0, 0};
}

void TestReportRun::failures()
{
    QFETCH(Build, build);
    QFETCH(QStringList, message);
    QFETCH(CPageSource, at);
    const std::unique_ptr<CVornReport> report = NewReport();
    build(*report);
    CPageModel model;
    QString text;
    CPageSource failedAt {7, 7};
    QVERIFY(!Run(*report, model, text, {}, nullptr, {}, &failedAt));
    QVERIFY(!model.IsComplete());
    for (const QString &part : message)
        QVERIFY2(text.contains(part), qPrintable(text));
    QCOMPARE(failedAt, at);
    QVERIFY(!QFile::exists(m_folder.filePath(u"missing.db"_s)));
}

void TestReportRun::cancelStopsTheRun()
{
    // Set before the first row, and while a query that would run for a long time runs.
    for (const QString &sql :
         {u"SELECT name FROM customers"_s,
          u"WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 1000000000) "
          u"SELECT count(*) AS name FROM c"_s}) {
        const std::unique_ptr<CVornReport> report = NewReport();
        Field(Band(*report, ReportContents, u"Rows"_s, sql), u"Rows"_s, u"name"_s);
        std::atomic_bool cancel = sql.startsWith(u"SELECT"_s);
        std::thread stopper([&cancel] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            cancel = true;
        });
        CPageModel model;
        QString message;
        QElapsedTimer timer;
        timer.start();
        const bool ran = Run(*report, model, message, {}, &cancel);
        stopper.join();
        QVERIFY(!ran);
        QCOMPARE(message, u"Cancelled"_s);
        QVERIFY(timer.elapsed() < 5000);
    }
}

void TestReportRun::pdfAndPicturesOfARun()
{
    // One row per customer with its logo when it has one; the logo is the same picture on
    // every row that shows it, and a PDF of the run reads back with its values.
    const std::unique_ptr<CVornReport> report = NewReport();
    report->SetHeight(29700);
    CVornBand *rows = Band(*report, ReportContents, u"Rows"_s,
                           u"SELECT name, logo, (SELECT logo FROM customers WHERE id = 1) AS same "
                           u"FROM customers ORDER BY id"_s);
    Field(rows, u"Rows"_s, u"name"_s);
    Add<CVornDbImage>(rows)->SetDataField(u"logo"_s);
    Add<CVornDbImage>(rows)->SetDataField(u"same"_s);
    CPageModel model;
    QString message;
    QVERIFY2(Run(*report, model, message), qPrintable(message));
    QCOMPARE(model.GetPageCount(), 1);
    int pictures = 0;
    const CPagePicture *first = nullptr;
    for (const CPageItem &item : model.GetPage(0)->GetItems()) {
        if (const auto *image = std::get_if<CPageImage>(&item)) {
            ++pictures;
            first = first ? first : image->picture.get();
            QCOMPARE(image->picture.get(), first);
        }
    }
    QCOMPARE(pictures, 2 + 12); // two logos, and the same one on every row
    const QImage png = RenderPageImage(model, 0, 96);
    // Rows of 10 mm (37.8 pixels at 96 dpi), the logo from 10 to 20 mm across.
    QCOMPARE(png.pixel(50, 20), qRgb(0, 128, 0)); // C01
    QCOMPARE(png.pixel(50, 55), qRgb(0, 128, 0)); // C02
    QCOMPARE(png.pixel(50, 90), qRgb(255, 255, 255)); // C03 has none

    const QString path = m_folder.filePath(u"run.pdf"_s);
    QVERIFY2(WritePdf(model, path, u"Customers"_s, message), qPrintable(message));
    const QStringList pages = PdfPages(path);
    QCOMPARE(pages.size(), 1);
    QVERIFY(pages[0].contains(u"C01"_s) && pages[0].contains(u"C12"_s));
}

void TestReportRun::tenThousandPagesToPdf()
{
    // A page break after every row, as a detail of the rows. The PDF writer allocates a 16 MB
    // buffer per page, which the address sanitizer maps afresh every time: its build writes a
    // thousand pages.
#ifdef __SANITIZE_ADDRESS__
    const int count = 1000;
#else
    const int count = 10000;
#endif
    const std::unique_ptr<CVornReport> report = NewReport();
    Field(Band(*report, ReportContents, u"Rows"_s,
               u"WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < %1) "
               u"SELECT x FROM c"_s.arg(count)),
          u"Rows"_s, u"x"_s, u"row %d"_s);
    Band(*report, PageBreak, u"Break"_s, {}, u"Rows"_s);
    // Written as they are laid out, and told after every page.
    CRunOptions options;
    options.reportFolder = m_folder.path();
    QList<int> progress;
    options.progress = [&](int pages) {
        progress << pages;
    };
    QString message;
    const QString path = m_folder.filePath(u"many.pdf"_s);
    QVERIFY2(RunReportToPdf(*report, options, path, {}, message), qPrintable(message));
    QCOMPARE(progress.size(), count);
    QCOMPARE(progress.first(), 1);
    QCOMPARE(progress.last(), count);
    const QStringList pages = PdfPages(path);
    QCOMPARE(pages.size(), count);
    QCOMPARE(pages.last().trimmed(), u"row %1"_s.arg(count));
}

void TestReportRun::boundsAndEarlyStops_data()
{
    // Ten rows a page; page 2 of each as a PNG, under small bounds of the run.
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("pageCount");
    QTest::addColumn<int>("maxRows");
    QTest::addColumn<int>("maxPages");
    QTest::addColumn<QString>("message");
    const QString endless = u"WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) "
                            u"SELECT x FROM c"_s;
    QTest::newRow("no end, stops after the page asked for")
            << endless << false << 1000 << 1000 << QString();
    QTest::newRow("no end, the page count asked for")
            << endless << true << 1000000 << 40
            << u"The report has more than 40 pages; the run stops there"_s;
    QTest::newRow("more rows than a query may return")
            << u"SELECT x FROM (%1) LIMIT 31"_s.arg(endless) << true << 30 << 1000
            << u"The query of the band \"Rows\" returned more than 30 rows; the run stops there"_s;
    QTest::newRow("as many rows as a query may return")
            << u"SELECT x FROM (%1) LIMIT 30"_s.arg(endless) << true << 30 << 3 << QString();
}

void TestReportRun::boundsAndEarlyStops()
{
    QFETCH(QString, sql);
    QFETCH(bool, pageCount);
    QFETCH(int, maxRows);
    QFETCH(int, maxPages);
    QFETCH(QString, message);
    const std::unique_ptr<CVornReport> report = NewReport();
    Field(Band(*report, ReportContents, u"Rows"_s, sql), u"Rows"_s, u"x"_s);
    if (pageCount)
        Field(Band(*report, PageFooter, u"Foot"_s), {}, u"#PAGES"_s);
    report->SetHeight(11000);
    CRunOptions options;
    options.reportFolder = m_folder.path();
    options.maxRows = maxRows;
    options.maxPages = maxPages;
    const QString path = m_folder.filePath(u"bounded.png"_s);
    QFile::remove(path);
    QString text;
    QCOMPARE(RunReportToPng(*report, options, 2, 96, path, text), message.isEmpty());
    QCOMPARE(text, message);
    QCOMPARE(QImage(path).isNull(), !message.isEmpty());
}

void TestReportRun::pageCountOfAStreamedPdf()
{
    // "page N of M" is known on the first page of a PDF written as it is laid out.
    const std::unique_ptr<CVornReport> report = NewReport();
    Field(Band(*report, ReportContents, u"Rows"_s, u"SELECT name FROM customers ORDER BY id"_s),
          u"Rows"_s, u"name"_s);
    CVornBand *footer = Band(*report, PageFooter, u"Foot"_s);
    Field(footer, {}, u"#PAGE"_s, u"page %d"_s);
    Field(footer, {}, u"#PAGES"_s, u"of %d"_s);
    CRunOptions options;
    options.reportFolder = m_folder.path();
    QString message;
    const QString path = m_folder.filePath(u"counted.pdf"_s);
    QVERIFY2(RunReportToPdf(*report, options, path, {}, message), qPrintable(message));
    const QStringList pages = PdfPages(path);
    QCOMPARE(pages.size(), 2);
    for (int i = 0; i < 2; ++i) {
        QVERIFY2(pages[i].contains(u"page %1"_s.arg(i + 1)) && pages[i].contains(u"of 2"_s),
                 qPrintable(pages[i]));
    }
}

void TestReportRun::pageLimitHoldsTheLayoutBack()
{
    // A viewer that shows one page, then asks for three, then closes: the layout of a report
    // without end runs no further than asked and ends when stopped.
    const std::unique_ptr<CVornReport> report = NewReport();
    Field(Band(*report, ReportContents, u"Rows"_s,
               u"WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT x FROM c"_s),
          u"Rows"_s, u"x"_s);
    CPageModel model;
    model.SetPageLimit(1);
    CRunOptions options;
    options.reportFolder = m_folder.path();
    options.maxPages = 1000;
    bool ran = false;
    QString message;
    std::thread layout([&] { ran = RunReport(*report, options, model, message); });
    QTRY_COMPARE(model.GetPageCount(), 1);
    QTest::qWait(100);
    QCOMPARE(model.GetPageCount(), 1);
    model.SetPageLimit(3);
    QTRY_COMPARE(model.GetPageCount(), 3);
    QTest::qWait(100);
    QCOMPARE(model.GetPageCount(), 3);
    model.Stop();
    layout.join();
    QVERIFY2(ran, qPrintable(message));
    QCOMPARE(model.GetPageCount(), 3);
    QVERIFY(!model.IsComplete());
}

void TestReportRun::textLinesOnlyForAWriter()
{
    // The pages handed to a writer on another thread come with every text broken into lines,
    // all but the page numbers; the pages a viewer keeps carry none.
    const std::unique_ptr<CVornReport> report = NewReport();
    Field(Band(*report, ReportContents, u"Rows"_s, u"SELECT name FROM customers ORDER BY id"_s),
          u"Rows"_s, u"name"_s);
    Field(Band(*report, PageFooter, u"Foot"_s), {}, u"#PAGE"_s, u"page %d"_s);
    struct CWriterSink final : CPageSink
    {
        Next AddPage(std::shared_ptr<const CPage> page, int, QString &) override
        {
            pages.push_back(std::move(page));
            return Next::More;
        }
        bool WantsTextLines() const override { return true; }
        std::vector<std::shared_ptr<const CPage>> pages;
    } writer;
    CRunOptions options;
    options.reportFolder = m_folder.path();
    QString message;
    QVERIFY2(RunReport(*report, options, writer, message), qPrintable(message));
    QCOMPARE(writer.pages.size(), size_t(2));
    for (const auto &page : writer.pages) {
        const CPageTextLines *lines = page->GetTextLines().get();
        QVERIFY(lines);
        const std::vector<CPageItem> &items = page->GetItems();
        for (size_t i = 0; i < items.size(); ++i) {
            const auto &text = std::get<CPageText>(items[i]);
            QCOMPARE(lines->Get(i) != nullptr, text.field == CPageText::Field::None);
        }
    }
    CPageModel model;
    QVERIFY2(Run(*report, model, message), qPrintable(message));
    QVERIFY(!model.GetPage(0)->GetTextLines());
}

VANTEL_TEST_CLASS(TestReportRun)
#include "tst_reportrun.moc"
