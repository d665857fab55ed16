#include "datapane.h"
#include "musicdatabase.h"
#include "schemareader.h"
#include "schemarows.h"
#include "schematree.h"
#include "tabledrop.h"
#include "testregistry.h"
#include "vorndocument.h"
#include "vornitems.h"

#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The user opens a report on the music database: the Data pane lists its tables with their
// columns and keys, the filter narrows them, and tables dragged from it become bands.
class TestSchemaPane : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void treeShowsTablesAndKeys();
    void failureShowsTheDriversMessage();
    void schemasGroupTables();
    void dropsAskAndConfirm();

private:
    // A document on the music database with a Data pane showing it, the catalogue read.
    void Open(CVornDocument &document, CDataPane &pane, CSchemaReader &reader,
              const QString &connect);

    QTemporaryDir m_folder;
};

void TestSchemaPane::initTestCase()
{
    QString problem;
    QVERIFY2(MusicDatabase::CreateSqlite(m_folder.filePath(u"music.db"_s), problem),
             qPrintable(problem));
}

void TestSchemaPane::Open(CVornDocument &document, CDataPane &pane, CSchemaReader &reader,
                          const QString &connect)
{
    document.GetReport().SetDatabaseType(0);
    document.GetReport().SetConnectString(connect);
    reader.SetDocument(&document);
    pane.SetSchemaReader(&reader);
    pane.show();
    QTRY_VERIFY_WITH_TIMEOUT(!reader.IsRunning(), 10000);
}

void TestSchemaPane::treeShowsTablesAndKeys()
{
    CVornDocument document;
    CDataPane pane;
    CSchemaReader reader;
    Open(document, pane, reader, m_folder.filePath(u"music.db"_s));
    QCOMPARE(reader.GetError(), QString());
    CSchemaTree *tree = pane.GetSchemaTree();
    QCOMPARE(tree->topLevelItemCount(), 8);
    QTreeWidgetItem *line = tree->topLevelItem(6);
    QCOMPARE(line->text(0), u"InvoiceLine"_s);
    QCOMPARE(line->data(0, Qt::AccessibleTextRole).toString(), u"Table InvoiceLine, 4 columns"_s);
    QCOMPARE(line->child(0)->data(0, Qt::AccessibleTextRole).toString(),
             u"InvoiceLineId INTEGER, primary key"_s);
    QCOMPARE(line->child(1)->data(0, Qt::AccessibleTextRole).toString(),
             u"InvoiceId INTEGER, not null, -> Invoice.InvoiceId"_s);
    QCOMPARE(line->child(1)->text(1), u"INTEGER -> Invoice.InvoiceId"_s);
    QVERIFY(!line->child(1)->icon(0).isNull());
    QVERIFY(line->child(3)->icon(0).isNull());

    // Typing in the filter keeps the tables and columns whose names hold it.
    QTest::keyClicks(pane.GetFilter(), u"artist"_s);
    QStringList shown;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        shown << (*it)->text(0);
    QCOMPARE(shown,
             QStringList({u"Album"_s, u"ArtistId"_s, u"Artist"_s, u"ArtistId"_s, u"Name"_s}));

    // Dragging two columns of Artist carries them in table order.
    tree->topLevelItem(1)->child(1)->setSelected(true);
    tree->topLevelItem(1)->child(0)->setSelected(true);
    std::unique_ptr<QMimeData> data(tree->mimeData(tree->selectedItems()));
    QVERIFY(data);
    const CTableChoice choice
            = TableChoice::Decode(data->data(QString::fromLatin1(TableChoice::MimeType)));
    QCOMPARE(choice, CTableChoice({{}, u"Artist"_s, {u"ArtistId"_s, u"Name"_s}}));
}

void TestSchemaPane::failureShowsTheDriversMessage()
{
    CVornDocument document;
    CDataPane pane;
    CSchemaReader reader;
    Open(document, pane, reader, m_folder.filePath(u"missing.db"_s));
    QCOMPARE(pane.GetSchemaTree()->topLevelItemCount(), 1);
    QVERIFY(pane.GetSchemaTree()->topLevelItem(0)->text(0).contains(u"does not exist"_s));
    // No database at all says so, without a read.
    document.GetReport().SetDatabaseType(-1);
    document.NotifyChanged(CReportChange::Report);
    QVERIFY(!reader.IsRunning());
    QCOMPARE(pane.GetSchemaTree()->topLevelItem(0)->text(0), u"The report has no database"_s);
}

void TestSchemaPane::schemasGroupTables()
{
    // PostgreSQL with a schema beside "public": every table goes under its schema.
    CCatalogue catalogue;
    catalogue.defaultSchema = u"public"_s;
    catalogue.tables = {{u"public"_s, u"Album"_s, false, {{u"AlbumId"_s, u"INT4"_s, false, 1}}, {}},
                        {u"shop"_s, u"Label"_s, false, {}, {}}};
    QStringList lines;
    for (const CSchemaRow &row : SchemaRows(catalogue, {}, {}, false, true))
        lines << QString(row.depth * 2, u' ') + row.text;
    QCOMPARE(lines,
             QStringList({u"public"_s, u"  Album"_s, u"    AlbumId"_s, u"shop"_s, u"  Label"_s}));
    // Only the default schema: no schema rows.
    catalogue.tables.removeLast();
    QCOMPARE(SchemaRows(catalogue, {}, {}, false, true).first().text, u"Album"_s);
}

void TestSchemaPane::dropsAskAndConfirm()
{
    // Clients from the empty page, then their invoices (two keys lead to Client: the user
    // picks the bill-to one), the tracks, then a look-up the user first refuses, then takes.
    CVornDocument document;
    CDataPane pane;
    CSchemaReader reader;
    Open(document, pane, reader, m_folder.filePath(u"music.db"_s));
    QWidget window;
    CTableDrop drop(&document, &reader, &window);
    QStringList offered;
    drop.chooseKey = [&offered](const QStringList &keys) {
        offered = keys;
        return int(keys.indexOf(u"BillToId -> Client.ClientId"_s));
    };
    QStringList shownQueries;
    bool take = false;
    drop.confirmQuery = [&](const QString &query) {
        shownQueries << query;
        return take;
    };
    QStringList told;
    drop.tell = [&told](const QString &message) {
        told << message;
    };

    QVERIFY(drop.Drop(-1, {{}, u"Client"_s, {}}));
    QVERIFY(drop.Drop(1, {{}, u"Invoice"_s, {}}));
    offered.sort();
    QCOMPARE(offered,
             QStringList({u"BillToId -> Client.ClientId"_s, u"ClientId -> Client.ClientId"_s}));
    const CVornBand *invoices = drop.GetLastBand();
    QCOMPARE(invoices->GetDatabaseQuery(),
             u"SELECT InvoiceId, ClientId, BillToId, Total FROM Invoice "
             u"WHERE BillToId = {ClientId}"_s);
    // Track leads nowhere from Client: it becomes a list of its own after Client's details.
    QVERIFY(drop.Drop(1, {{}, u"Track"_s, {u"Name"_s}}));
    QCOMPARE(document.GetReport().GetBands()[5], drop.GetLastBand());
    const int steps = document.GetUndoStack()->count();
    QVERIFY(!drop.Drop(3, {{}, u"Client"_s, {u"Name"_s}}));
    QCOMPARE(shownQueries.size(), 1);
    QCOMPARE(document.GetUndoStack()->count(), steps);
    take = true;
    QVERIFY(drop.Drop(3, {{}, u"Client"_s, {u"Name"_s}}));
    QCOMPARE(document.GetReport().GetBands()[3]->GetDatabaseQuery(), shownQueries.last());
    QCOMPARE(document.GetUndoStack()->count(), steps + 1);
    QVERIFY(told.isEmpty());
}

VANTEL_TEST_CLASS(TestSchemaPane)
#include "tst_schemapane.moc"
