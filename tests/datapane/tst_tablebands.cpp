#include "columndiscovery.h"
#include "musicdatabase.h"
#include "pagemodel.h"
#include "reportbuilder.h"
#include "reportchecks.h"
#include "reportrun.h"
#include "tablebands.h"
#include "testregistry.h"
#include "testservers.h"
#include "vorndocument.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace TableBands;

// Queries and bands built from the music database's tables: the queries as text, what a drop
// becomes, and reports built by three drops that the checks accept and that print the
// database's rows on every route.
class TestTableBands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void queries_data();
    void queries();
    void plans_data();
    void plans();
    void dropIsOneStep();
    void masterDetailLookUp_data();
    void masterDetailLookUp();
    void shopExample();

private:
    const CCatalogueTable &Table(const QString &name) const { return *m_music.Find(name); }

    QTemporaryDir m_folder;
    CCatalogue m_music;
    TestServers m_servers;
    QString m_serverProblem;
};

void TestTableBands::initTestCase()
{
    const QString path = m_folder.filePath(u"music.db"_s);
    QString problem;
    QVERIFY2(MusicDatabase::CreateSqlite(path, problem), qPrintable(problem));
    QVERIFY2(ReadCatalogue(0, path, {}, m_music, problem), qPrintable(problem));
    bool missing = false;
    if (!m_servers.Start(problem, missing))
        m_serverProblem = problem;
    else if (!MusicDatabase::CreateOnServers(m_servers, problem))
        QFAIL(qPrintable(problem));
    QVERIFY2(m_serverProblem.isEmpty() || missing, qPrintable(m_serverProblem));
}

void TestTableBands::cleanupTestCase()
{
    m_servers.Stop();
}

void TestTableBands::queries_data()
{
    // Each row: what is built (select, detail, lookup or ensure), from which table or query,
    // with which columns, and the query expected. A look-up takes the path from the band's
    // table to the first column's table ("Artist.Name").
    QTest::addColumn<bool>("lowerCase");
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole table") << false << u"select"_s << u"Album"_s << QStringList()
                                 << u"SELECT AlbumId, Title, ArtistId FROM Album"_s;
    QTest::newRow("columns quoted where names fold")
            << true << u"select"_s << u"Album"_s << QStringList {u"title"_s}
            << u"SELECT \"Title\" FROM \"Album\""_s;
    QTest::newRow("detail") << false << u"detail"_s << u"Track"_s
                            << QStringList {u"TrackId"_s, u"Name"_s}
                            << u"SELECT TrackId, Name FROM Track WHERE AlbumId = {AlbumId}"_s;
    QTest::newRow("look-up through two keys, a shared name qualified")
            << false << u"lookup"_s << u"SELECT TrackId, Name FROM Track"_s
            << QStringList {u"Artist"_s, u"Name"_s}
            << u"SELECT TrackId, Track.Name, Artist.Name AS ArtistName FROM Track "
               u"LEFT JOIN Album ON Album.AlbumId = Track.AlbumId "
               u"LEFT JOIN Artist ON Artist.ArtistId = Album.ArtistId"_s;
    QTest::newRow("look-up into a detail query keeps its condition apart")
            << false << u"lookup"_s
            << u"SELECT Name, Price FROM Track WHERE AlbumId = {AlbumId} ORDER BY Name;"_s
            << QStringList {u"Album"_s, u"Title"_s}
            << u"SELECT Name, Price, Album.Title FROM Track LEFT JOIN Album ON Album.AlbumId = "
               u"Track.AlbumId WHERE Track.AlbumId = {AlbumId} ORDER BY Name;"_s;
    QTest::newRow("look-up with an alias and a star")
            << false << u"lookup"_s << u"SELECT * FROM Track t"_s
            << QStringList {u"Genre"_s, u"Name"_s}
            << u"SELECT t.*, Genre.Name AS GenreName FROM Track t "
               u"LEFT JOIN Genre ON Genre.GenreId = t.GenreId"_s;
    QTest::newRow("second look-up reuses the join")
            << false << u"lookup"_s
            << u"SELECT Name, Album.Title FROM Track LEFT JOIN Album ON Album.AlbumId = "
               u"Track.AlbumId"_s
            << QStringList {u"Artist"_s, u"Name"_s}
            << u"SELECT Track.Name, Album.Title, Artist.Name AS ArtistName FROM Track LEFT JOIN "
               u"Album ON Album.AlbumId = Track.AlbumId LEFT JOIN Artist ON Artist.ArtistId = "
               u"Album.ArtistId"_s;
    QTest::newRow("look-up refused on a union")
            << false << u"lookup"_s << u"SELECT Name FROM Track UNION SELECT Name FROM Genre"_s
            << QStringList {u"Album"_s, u"Title"_s} << QString();
    QTest::newRow("key column added to a master")
            << false << u"ensure"_s << u"SELECT Title FROM Album ORDER BY Title"_s
            << QStringList {u"AlbumId"_s} << u"SELECT Title, AlbumId FROM Album ORDER BY Title"_s;
    QTest::newRow("key column selected already")
            << false << u"ensure"_s << u"SELECT a.albumid, Title FROM Album a"_s
            << QStringList {u"AlbumId"_s} << u"SELECT a.albumid, Title FROM Album a"_s;
}

void TestTableBands::queries()
{
    QFETCH(bool, lowerCase);
    QFETCH(QString, what);
    QFETCH(QString, from);
    QFETCH(QStringList, columns);
    QFETCH(QString, expected);
    CCatalogue catalogue = m_music;
    if (lowerCase)
        catalogue.folding = IdentifierFolding::Lower;
    QString query;
    if (what == u"select") {
        query = SelectQuery(catalogue, *catalogue.Find(from), columns);
    } else if (what == u"detail") {
        const CCatalogueTable &track = *catalogue.Find(from);
        const auto keys = KeysTo(track, *catalogue.Find(u"Album"_s));
        QCOMPARE(keys.size(), 1);
        query = DetailQuery(catalogue, track, columns, keys.first());
    } else if (what == u"ensure") {
        query = EnsureSelected(catalogue, from, columns.first());
    } else {
        const CCatalogueTable *base = QueryTable(catalogue, from);
        QVERIFY(base);
        const auto path = LookUpPath(catalogue, *base, *catalogue.Find(columns[0]));
        QVERIFY(!path.isEmpty());
        QString field;
        QString message;
        const bool built = AddLookUp(catalogue, from, path, columns[1], query, field, message);
        QCOMPARE(built, !expected.isEmpty());
        if (!built)
            QVERIFY(!message.isEmpty());
    }
    QCOMPARE(query, expected);
}

void TestTableBands::plans_data()
{
    QTest::addColumn<QString>("bandQuery"); // the query of the band dropped on; none: no band
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("choices"); // keys for a detail, steps for a look-up
    using Kind = CDropPlan::Kind;
    QTest::newRow("below the bands")
            << QString() << u"Album"_s << QStringList() << int(Kind::NewBand) << 0;
    QTest::newRow("band without a query")
            << u" "_s << u"Genre"_s << QStringList() << int(Kind::SetQuery) << 0;
    QTest::newRow("table referring to the band's")
            << u"SELECT * FROM Album"_s << u"Track"_s << QStringList() << int(Kind::Detail) << 1;
    QTest::newRow("two keys to choose from")
            << u"SELECT * FROM Client"_s << u"Invoice"_s << QStringList() << int(Kind::Detail) << 2;
    QTest::newRow("column reached through two keys")
            << u"SELECT * FROM Track"_s << u"Artist"_s << QStringList {u"Name"_s}
            << int(Kind::LookUp) << 2;
    QTest::newRow("columns of the band's own table")
            << u"SELECT Title FROM Album"_s << u"Album"_s << QStringList {u"ArtistId"_s}
            << int(Kind::Fields) << 0;
    QTest::newRow("unrelated table")
            << u"SELECT * FROM Genre"_s << u"Client"_s << QStringList() << int(Kind::NewBand) << 0;
    QTest::newRow("unknown table")
            << QString() << u"Nowhere"_s << QStringList() << int(Kind::Refused) << 0;
}

void TestTableBands::plans()
{
    QFETCH(QString, bandQuery);
    QFETCH(QString, table);
    QFETCH(QStringList, columns);
    QFETCH(int, kind);
    QFETCH(int, choices);
    CVornReport report;
    if (!bandQuery.isNull())
        ReportBuilder::Band(report, VornKind::ReportContents, u"Target"_s, bandQuery);
    const CDropPlan plan
            = PlanDrop(m_music, report, bandQuery.isNull() ? -1 : 0, {{}, table, columns});
    QCOMPARE(int(plan.kind), kind);
    QCOMPARE(int(kind == int(CDropPlan::Kind::LookUp) ? plan.path.size() : plan.keys.size()),
             choices);
    if (plan.kind == CDropPlan::Kind::Refused)
        QVERIFY(plan.message.contains(table));
}

void TestTableBands::dropIsOneStep()
{
    // A new report: the Album table dropped on the empty page, then Track on its band.
    CVornDocument document;
    CVornReport &report = document.GetReport();
    QString message;
    const CLayout layout;
    CVornBand *albums
            = Apply(document, m_music, PlanDrop(m_music, report, -1, {{}, u"Album"_s, {}}), -1, 0,
                    {}, {}, layout, message);
    QVERIFY2(albums, qPrintable(message));
    QCOMPARE(document.GetUndoStack()->count(), 1);
    QCOMPARE(report.GetBands().GetCount(), 2);
    const CVornBand *headings = report.GetBands()[0];
    QCOMPARE(headings->GetName(), u"Report Contents 1"_s);
    QCOMPARE(albums->GetName(), u"Report Contents 2"_s);
    QCOMPARE(headings->GetItems().GetCount(), 3);
    QCOMPARE(albums->GetItems().GetCount(), 3);
    QVERIFY(albums->GetItems()[2]->IsSelected());
    QCOMPARE(albums->GetItems()[0]->GetRight(), headings->GetItems()[1]->GetLeft());

    const CDropPlan detail = PlanDrop(m_music, report, 1, {{}, u"Track"_s, {}});
    CVornBand *tracks = Apply(document, m_music, detail, 1, 0, {}, {}, layout, message);
    QVERIFY2(tracks, qPrintable(message));
    QCOMPARE(report.GetBands().GetCount(), 4);
    QCOMPARE(tracks->GetParentDataSource(), albums->GetName());
    QCOMPARE(report.GetBands()[2]->GetParentDataSource(), albums->GetName());
    // A field's name is new to the report and is none of its band's entries.
    QCOMPARE(tracks->GetItems()[2]->GetName(), u"AlbumId 2"_s);
    QCOMPARE(document.GetUndoStack()->count(), 2);
    QVERIFY(report.Validate(message));

    // A column of the band's own table: one more field, right of the others.
    const CDropPlan fields = PlanDrop(m_music, report, 1, {{}, u"Album"_s, {u"Title"_s}});
    QVERIFY(Apply(document, m_music, fields, 1, 0, {}, {}, layout, message));
    QCOMPARE(albums->GetItems().GetCount(), 4);
    QCOMPARE(albums->GetItems()[3]->GetLeft(), albums->GetItems()[2]->GetRight());
    QCOMPARE(albums->GetDatabaseQuery(), u"SELECT AlbumId, Title, ArtistId FROM Album"_s);
    document.GetUndoStack()->undo();
    QCOMPARE(albums->GetItems().GetCount(), 3);

    document.GetUndoStack()->undo();
    QCOMPARE(report.GetBands().GetCount(), 2);
    document.GetUndoStack()->undo();
    QCOMPARE(report.GetBands().GetCount(), 0);
}

void TestTableBands::masterDetailLookUp_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("connect");
    QTest::newRow("SQLite") << 0 << m_folder.filePath(u"music.db"_s);
    if (!m_serverProblem.isEmpty())
        return;
    QTest::newRow("PostgreSQL ODBC") << 2 << m_servers.PostgresOdbc(m_servers.Password());
    QTest::newRow("FireBird server") << 1 << m_servers.FireBirdServer(m_servers.Password());
}

void TestTableBands::masterDetailLookUp()
{
    // Albums from the empty page, their tracks under them, and each album's artist looked up:
    // three drops, checked as vantel-render --check does and laid out.
    QFETCH(int, type);
    QFETCH(QString, connect);
    CVornDocument document;
    CVornReport &report = document.GetReport();
    report.SetDatabaseType(type);
    report.SetConnectString(connect);
    CCatalogue catalogue;
    QString message;
    QVERIFY2(ReadCatalogue(type, connect, {}, catalogue, message), qPrintable(message));
    const CLayout layout;
    const auto drop = [&](int band, const QString &table, const QStringList &columns) {
        return PlanDrop(catalogue, report, band, {{}, catalogue.Find(table)->name, columns});
    };
    CVornBand *albums
            = Apply(document, catalogue, drop(-1, u"Album"_s, {}), -1, 0, {}, {}, layout, message);
    QVERIFY2(albums, qPrintable(message));
    QVERIFY(Apply(document, catalogue, drop(1, u"Track"_s, {u"Name"_s}), 1, 0, {}, {}, layout,
                  message));
    const CDropPlan lookUp = drop(1, u"Artist"_s, {catalogue.Find(u"Artist"_s)->columns[1].name});
    QCOMPARE(int(lookUp.kind), int(CDropPlan::Kind::LookUp));
    QString query;
    QString field;
    QVERIFY2(AddLookUp(catalogue, albums->GetDatabaseQuery(), lookUp.path, lookUp.columns[0], query,
                       field, message),
             qPrintable(message));
    QVERIFY(Apply(document, catalogue, lookUp, 1, 0, query + u" ORDER BY 1"_s, field, layout,
                  message));

    CDiscoveryOptions options;
    const CReportProblems problems = CheckReport(report, DiscoverColumns(report, options));
    QStringList said;
    for (const CReportProblem &problem : problems)
        said << problem.message;
    QVERIFY2(problems.isEmpty(), qPrintable(said.join(u'\n')));

    CPageModel model;
    QVERIFY2(RunReport(report, CRunOptions(), model, message), qPrintable(message));
    const QString text = ReportBuilder::Pages(model).join(u' ');
    // FireBird gives the names in capitals, and the headings say them so.
    QVERIFY2(QRegularExpression(u"First Light \\S+ Ada Quartet .*Name Dawn Noon .*"
                                u"Night Roads \\S+ Bo Trio .*Name Dusk$"_s,
                                QRegularExpression::CaseInsensitiveOption)
                     .match(text)
                     .hasMatch(),
             qPrintable(text));
}

void TestTableBands::shopExample()
{
    // The example shop: a key of two columns, invoices with their lines and each invoice's
    // customer looked up, and the customers' logos as pictures.
    const QString shop = QStringLiteral(VANTEL_EXAMPLES_DIR "/shop.db");
    CCatalogue catalogue;
    QString message;
    QVERIFY2(ReadCatalogue(0, shop, {}, catalogue, message), qPrintable(message));
    QCOMPARE(catalogue.Find(u"InvoiceLines"_s)->PrimaryKey(),
             QStringList({u"InvoiceNo"_s, u"LineNo"_s}));
    CVornDocument document;
    CVornReport &report = document.GetReport();
    report.SetDatabaseType(0);
    report.SetConnectString(shop);
    const CLayout layout;
    const auto drop = [&](int band, const QString &table, const QStringList &columns) {
        const CDropPlan plan = PlanDrop(catalogue, report, band, {{}, table, columns});
        QString query;
        QString field;
        if (plan.kind == CDropPlan::Kind::LookUp)
            AddLookUp(catalogue, report.GetBands()[band]->GetDatabaseQuery(), plan.path, columns[0],
                      query, field, message);
        return Apply(document, catalogue, plan, band, 0, query, field, layout, message);
    };
    QVERIFY(drop(-1, u"Invoices"_s, {u"InvoiceNo"_s, u"InvoiceDate"_s}));
    QVERIFY(drop(1, u"InvoiceLines"_s, {u"Description"_s, u"Quantity"_s}));
    QVERIFY(drop(1, u"Customers"_s, {u"Name"_s}));
    QCOMPARE(report.GetBands()[1]->GetDatabaseQuery(),
             u"SELECT InvoiceNo, InvoiceDate, Customers.Name FROM Invoices LEFT JOIN Customers "
             u"ON Customers.Id = Invoices.CustomerId"_s);
    CVornBand *customers = drop(-1, u"Customers"_s, {});
    QVERIFY(customers);
    const CVornItem *logo = customers->GetItems()[4];
    QCOMPARE(logo->GetKind(), int(VornKind::DbImage));
    QVERIFY(customers->GetHeight() >= logo->GetBottom());

    const CReportProblems problems = CheckReport(report, DiscoverColumns(report, {}));
    QVERIFY2(problems.isEmpty(), qPrintable(problems.isEmpty() ? QString() : problems[0].message));
    CPageModel model;
    QVERIFY2(RunReport(report, CRunOptions(), model, message), qPrintable(message));
    QVERIFY(ReportBuilder::Pages(model).join(u' ').contains(u"1038 2026-02-27 Corner Café"_s));
}

VANTEL_TEST_CLASS(TestTableBands)
#include "tst_tablebands.moc"
