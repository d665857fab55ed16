#include "labelsheet.h"
#include "reportbuilder.h"
#include "reportfile.h"
#include "reportrun.h"
#include "testregistry.h"

#include <QDir>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;
using namespace ReportBuilder;
constexpr int Contents = VornKind::ReportContents;

using Build = std::function<void(CVornReport &)>;
Q_DECLARE_METATYPE(Build)

namespace {

// Rows 1..n numbered i, in groups of size by g = (i - 1) / size.
QString Numbers(int n, int size = 1)
{
    return u"WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < %1) "
           u"SELECT i, (i - 1) / %2 AS g FROM k"_s.arg(n)
                   .arg(size);
}

// A group header H showing g over the rows D showing i, 10 mm each.
CVornBand *Groups(CVornReport &r, int rows, int size, const CBandPaging &header = {})
{
    CVornBand *h = Band(r, Contents, u"H"_s);
    h->SetPaging(header);
    Field(h, u"D"_s, u"g"_s, u"G%d"_s);
    CVornBand *d = Band(r, Contents, u"D"_s, Numbers(rows, size));
    d->SetHeader(u"H"_s);
    Field(d, u"D"_s, u"i"_s);
    return d;
}

CBandPaging Paging(std::function<void(CBandPaging &)> set)
{
    CBandPaging paging;
    set(paging);
    return paging;
}

// The page's texts, each as text@column,line for a grid of cells 70 x 10 mm.
QString Cells(const CPage &page)
{
    QStringList cells;
    for (const CPageItem &item : page.GetItems()) {
        if (const auto *text = std::get_if<CPageText>(&item))
            cells << u"%1@%2,%3"_s.arg(text->text)
                             .arg(text->box.left / 7000)
                             .arg(text->box.top / 1000);
    }
    return cells.join(u' ');
}

} // namespace

// The page rules of bands over a generated list: new pages, numbers that start again, bands
// kept with what follows, repeated group headers and rows in columns.
class TestPageRules : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pages_data();
    void pages();
    void groupsNeverStranded_data();
    void groupsNeverStranded();
    void columns_data();
    void columns();
    void labelSheets_data();
    void labelSheets();
    void sheetThatDoesNotFit();
    void invoiceRunExample();

private:
    bool Run(const Build &build, CPageModel &model, int skipLabels = -1);

    QTemporaryDir m_folder;
};

void TestPageRules::initTestCase()
{
    QVERIFY(m_folder.isValid());
    auto db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"pagerules"_s);
    db.setDatabaseName(m_folder.filePath(u"rows.db"_s));
    QVERIFY(db.open());
    QVERIFY(QSqlQuery(db).exec(u"CREATE TABLE unused (x INTEGER)"_s));
    db.close();
}

bool TestPageRules::Run(const Build &build, CPageModel &model, int skipLabels)
{
    CVornReport report;
    report.SetDatabaseType(0);
    report.SetConnectString(u"rows.db"_s);
    report.SetHeight(10000);
    build(report);
    CRunOptions options;
    options.reportFolder = m_folder.path();
    options.skipLabels = skipLabels;
    QString message;
    const bool done = RunReport(report, options, model, message);
    if (!done)
        qWarning("%s", qPrintable(message));
    return done;
}

void TestPageRules::pages_data()
{
    QTest::addColumn<Build>("build");
    QTest::addColumn<QStringList>("pages");

    // Three invoices of 3, 20 and 12 lines under a 10 mm page header: 1, 3 and 2 pages.
    const auto invoices = [](CVornReport &r, bool count) {
        CVornBand *head = Band(r, VornKind::PageHeader, u"PH"_s);
        Field(head, {}, u"#PAGE"_s, u"p%d"_s);
        if (count)
            Field(head, {}, u"#PAGES"_s, u"/%d"_s);
        CVornBand *m
                = Band(r, Contents, u"M"_s,
                       u"SELECT 1 AS id, 3 AS n UNION ALL SELECT 2, 20 UNION ALL SELECT 3, 12"_s);
        m->SetPaging(Paging([](CBandPaging &p) { p.resetPageNumber = 1; }));
        Field(m, u"M"_s, u"id"_s, u"I%d"_s);
        Band(r, Contents, u"L"_s,
             u"WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < CAST({n} "
             u"AS INTEGER)) "
             u"SELECT i FROM k"_s,
             u"M"_s);
    };
    QTest::newRow("page numbers start again per invoice, each with its own count")
            << Build([=](CVornReport &r) { invoices(r, true); })
            << QStringList {u"p1 /1 I1"_s, u"p1 /3 I2"_s, u"p2 /3"_s,
                            u"p3 /3"_s,    u"p1 /2 I3"_s, u"p2 /2"_s};
    QTest::newRow("page numbers start again without a count")
            << Build([=](CVornReport &r) { invoices(r, false); })
            << QStringList {u"p1 I1"_s, u"p1 I2"_s, u"p2"_s, u"p3"_s, u"p1 I3"_s, u"p2"_s};

    const auto footer = [](CVornReport &r) {
        Text(Band(r, VornKind::ReportFooter, u"RF"_s), u"end"_s);
    };
    QTest::newRow("a new page before each group, none before the first")
            << Build([=](CVornReport &r) {
                   Groups(r, 6, 2,
                          Paging([](CBandPaging &p) { p.newPage = CBandPaging::NewPageBefore; }));
                   footer(r);
               })
            << QStringList {u"G0 1 2"_s, u"G1 3 4"_s, u"G2 5 6 end"_s};
    QTest::newRow("a new page after each group footer, the report footer on the last") << Build(
            [=](CVornReport &r) {
                CVornBand *d = Groups(r, 6, 2);
                d->SetFooter(u"F"_s);
                CVornBand *f = Band(r, Contents, u"F"_s);
                f->SetPaging(Paging([](CBandPaging &p) { p.newPage = CBandPaging::NewPageAfter; }));
                Text(f, u"f"_s);
                footer(r);
            }) << QStringList {u"G0 1 2 f"_s, u"G1 3 4 f"_s, u"G2 5 6 f end"_s};
    QTest::newRow("a new page after each row, the report footer on the last where it fits")
            << Build([=](CVornReport &r) {
                   CVornBand *d = Band(r, Contents, u"D"_s, Numbers(2));
                   d->SetPaging(
                           Paging([](CBandPaging &p) { p.newPage = CBandPaging::NewPageAfter; }));
                   d->SetHeight(8000);
                   Field(d, u"D"_s, u"i"_s);
                   footer(r);
               })
            << QStringList {u"1"_s, u"2 end"_s};
    QTest::newRow("a group kept together moves whole; a longer one goes on as it comes")
            << Build([=](CVornReport &r) {
                   Text(Band(r, Contents, u"Top"_s), u"top"_s);
                   r.GetBands()[0]->SetHeight(3000);
                   Groups(r, 19, 12, Paging([](CBandPaging &p) { p.keepTogether = 1; }));
               })
            << QStringList {u"top G0 1 2 3 4 5 6"_s, u"7 8 9 10 11 12"_s,
                            u"G1 13 14 15 16 17 18 19"_s};
}

void TestPageRules::pages()
{
    QFETCH(Build, build);
    QFETCH(QStringList, pages);
    CPageModel model;
    QVERIFY(Run(build, model));
    QCOMPARE(Pages(model), pages);
}

void TestPageRules::groupsNeverStranded_data()
{
    QTest::addColumn<int>("above");
    // A band above the groups of 4 rows moves every place where a page ends by 10 mm.
    for (int above = 0; above <= 9; ++above)
        QTest::addRow("%d mm above", above * 10) << above * 1000;
}

// Headers that keep with the next band and repeat: no page ends with a group header, and each
// page that a group goes on to starts with that group's header.
void TestPageRules::groupsNeverStranded()
{
    QFETCH(int, above);
    CPageModel model;
    QVERIFY(Run(
            [&](CVornReport &r) {
                r.GetBands().Add(new CVornBand(Contents, u"Above"_s));
                r.GetBands()[0]->SetHeight(above);
                Groups(r, 30, 4, Paging([](CBandPaging &p) {
                           p.keepWithNext = 1;
                           p.repeatHeader = 1;
                       }));
            },
            model));
    constexpr int header = 1;
    constexpr int detail = 2;
    int rows = 0;
    for (int i = 0; i < model.GetPageCount(); ++i) {
        const std::vector<CPageBand> &bands = model.GetPage(i)->GetBands();
        QVERIFY(!bands.empty());
        rows += int(std::count_if(bands.begin(), bands.end(),
                                  [](const CPageBand &b) { return b.band == detail; }));
        QVERIFY2(bands.back().band != header,
                 qPrintable(u"page %1 ends with a header"_s.arg(i + 1)));
        const CPageBand &top = bands.front();
        if (top.band == 0)
            continue;
        QCOMPARE(top.band, header);
        const auto next = std::find_if(bands.begin(), bands.end(),
                                       [](const CPageBand &b) { return b.band == detail; });
        QVERIFY(next != bands.end());
        const int row = next->values.front().text.toInt();
        QCOMPARE(top.values.front().text, u"G%1"_s.arg((row - 1) / 4));
        // Printed again where the group goes on, printed once where it starts.
        QCOMPARE(top.body, (row - 1) % 4 == 0);
    }
    QCOMPARE(rows, 30);
}

void TestPageRules::columns_data()
{
    QTest::addColumn<Build>("build");
    QTest::addColumn<int>("skip");
    QTest::addColumn<QStringList>("pages");

    // Three columns of 70 mm on a page 210 x 100 mm.
    const auto columns = [](CVornReport &r, int order, int rows, int size) {
        r.SetWidth(21000);
        CVornBand *d = size > 0 ? Groups(r, rows, size) : Band(r, Contents, u"D"_s, Numbers(rows));
        if (size == 0)
            Field(d, u"D"_s, u"i"_s);
        d->SetPaging(Paging([order](CBandPaging &p) {
            p.columns = 3;
            p.columnOrder = order;
        }));
    };
    QTest::newRow("across then down, group headers across the page")
            << Build([=](CVornReport &r) { columns(r, 0, 6, 4); }) << -1
            << QStringList {u"G0@0,0 1@0,1 2@1,1 3@2,1 4@0,2 G1@0,3 5@0,4 6@1,4"_s};
    QTest::newRow("down then across, to the next page")
            << Build([=](CVornReport &r) { columns(r, 1, 32, 0); }) << -1
            << QStringList {u"1@0,0 2@0,1 3@0,2 4@0,3 5@0,4 6@0,5 7@0,6 8@0,7 9@0,8 10@0,9 "
                            u"11@1,0 12@1,1 13@1,2 14@1,3 15@1,4 16@1,5 17@1,6 18@1,7 19@1,8 "
                            u"20@1,9 21@2,0 22@2,1 23@2,2 24@2,3 25@2,4 26@2,5 27@2,6 28@2,7 "
                            u"29@2,8 30@2,9"_s,
                            u"31@0,0 32@0,1"_s};
    QTest::newRow("labels skipped on a used sheet")
            << Build([=](CVornReport &r) { columns(r, 0, 2, 0); }) << 4
            << QStringList {u"1@1,1 2@2,1"_s};
}

void TestPageRules::columns()
{
    QFETCH(Build, build);
    QFETCH(int, skip);
    QFETCH(QStringList, pages);
    CPageModel model;
    QVERIFY(Run(build, model, skip));
    QStringList cells;
    for (int i = 0; i < model.GetPageCount(); ++i)
        cells << Cells(*model.GetPage(i));
    QCOMPARE(cells, pages);
}

void TestPageRules::labelSheets_data()
{
    QTest::addColumn<int>("preset");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("pages");
    QTest::newRow("59 addresses on A4 3 x 8") << 0 << 59 << 3;
    for (int i = 1; i < int(CLabelSheet::Presets().size()); ++i) {
        const CLabelSheet &sheet = CLabelSheet::Presets()[size_t(i)];
        QTest::newRow(qPrintable(sheet.name)) << i << 2 * sheet.across * sheet.down + 1 << 3;
    }
}

// A label report made for each sheet prints each row on its label, sheet after sheet.
void TestPageRules::labelSheets()
{
    QFETCH(int, preset);
    QFETCH(int, rows);
    QFETCH(int, pages);
    const CLabelSheet &sheet = CLabelSheet::Presets()[size_t(preset)];
    QString problem;
    QVERIFY2(sheet.Check(problem), qPrintable(problem));
    CPageModel model;
    QVERIFY(Run(
            [&](CVornReport &r) {
                const QString connect = r.GetConnectString();
                sheet.MakeReport(r);
                r.SetDatabaseType(0);
                r.SetConnectString(connect);
                CVornBand *labels = r.GetBands()[sheet.top > 0 ? 1 : 0];
                labels->SetDatabaseQuery(Numbers(rows));
                Field(labels, u"Labels"_s, u"i"_s)
                        ->SetRect(sheet.left + 200, 200, sheet.left + 2200, 700);
            },
            model));
    QCOMPARE(model.GetPageCount(), pages);
    const int perSheet = sheet.across * sheet.down;
    for (int i = 0; i < model.GetPageCount(); ++i) {
        for (const CPageItem &item : model.GetPage(i)->GetItems()) {
            const auto &text = std::get<CPageText>(item);
            const int row = text.text.toInt() - 1;
            QCOMPARE(row / perSheet, i);
            QCOMPARE(text.box.left, sheet.LabelLeft(row) + 200);
            QCOMPARE(text.box.top, sheet.LabelTop(row) + 200);
            // A click on the label in the live preview finds the item in any column.
            QCOMPARE(text.source, (CPageSource {sheet.top > 0 ? 1 : 0, 0}));
        }
    }
}

void TestPageRules::sheetThatDoesNotFit()
{
    CLabelSheet sheet = CLabelSheet::Presets().front();
    sheet.gapAcross = 100;
    QString problem;
    QVERIFY(!sheet.Check(problem));
    QCOMPARE(problem,
             u"The labels need 212 x 296.5 mm with the margins; the page is 210 x 297 mm"_s);
}

// Every invoice of the example shop, numbered on its own: the last one has two pages.
void TestPageRules::invoiceRunExample()
{
    const QDir examples(QStringLiteral(VANTEL_EXAMPLES_DIR));
    CVornReport report;
    QString message;
    QVERIFY2(VornTemplate::Load(report, examples.filePath(u"invoices.vnt"_s), message),
             qPrintable(message));
    CRunOptions options;
    options.reportFolder = examples.path();
    CPageModel model;
    QVERIFY2(RunReport(report, options, model, message), qPrintable(message));
    QStringList numbers;
    for (int i = 0; i < model.GetPageCount(); ++i) {
        numbers << QRegularExpression(u"Page \\d+ of \\d+"_s).match(PageText(model, i)).captured();
    }
    QStringList expected(7, u"Page 1 of 1"_s);
    expected << u"Page 1 of 2"_s << u"Page 2 of 2"_s;
    QCOMPARE(numbers, expected);
}

VANTEL_TEST_CLASS(TestPageRules)
#include "tst_pagerules.moc"
