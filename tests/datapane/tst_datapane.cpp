#include "columnlookup.h"
#include "datapane.h"
#include "fieldplacement.h"
#include "queryrunner.h"
#include "reportedit.h"
#include "reportfixture.h"
#include "testregistry.h"
#include "vorndocument.h"
#include "vornitems.h"

#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString endless = u"WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) "
                        u"SELECT max(x) AS X FROM c"_s;

// The tree as indented lines: "text | detail".
QStringList Lines(const QTreeWidget *tree)
{
    QStringList lines;
    std::function<void(const QTreeWidgetItem *, int)> add
            = [&](const QTreeWidgetItem *item, int depth) {
                  QString line = QString(depth * 2, u' ') + item->text(0);
                  if (!item->text(1).isEmpty())
                      line += u" | "_s + item->text(1);
                  lines << line;
                  for (int i = 0; i < item->childCount(); ++i)
                      add(item->child(i), depth + 1);
              };
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        add(tree->topLevelItem(i), 0);
    return lines;
}

} // namespace

// A user designs with the Data pane open: the columns of every band's query show up as the
// report is edited, without the designer waiting for the database; a wrong query or field shows
// its problem; columns are dragged onto the page and copied; Run Query runs what is being edited.
class TestDataPane : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QCOMPARE(
                ReportFixture::CreateDatabase(
                        m_dir.filePath(u"shop.db"_s),
                        {u"CREATE TABLE Customers (Id INTEGER PRIMARY KEY, Name TEXT, Logo BLOB)"_s,
                         u"WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n "
                         u"WHERE x < 150) INSERT INTO Customers SELECT x, 'Customer ' || x, "
                         u"NULL FROM n"_s}),
                QString());
    }

    void init()
    {
        m_document = std::make_unique<CVornDocument>();
        CVornReport &report = m_document->GetReport();
        report.SetDatabaseType(0);
        report.SetConnectString(m_dir.filePath(u"shop.db"_s));
        auto *customers = new CVornBand(VornKind::ReportContents, u"Customers"_s);
        customers->SetDatabaseQuery(u"SELECT Id, Name AS NAME, Logo FROM Customers"_s);
        report.GetBands().Add(customers);
        ReportFixture::AddDbText(*customers, u"Name"_s, u"NAME"_s, 0, 3000);
        // A detail without a query of its own lists nothing.
        auto *notes = new CVornBand(VornKind::ReportContents, u"Notes"_s);
        notes->SetParentDataSource(u"Customers"_s);
        report.GetBands().Add(notes);
        m_lookup = std::make_unique<CColumnLookup>();
        m_pane = std::make_unique<CDataPane>();
        m_pane->SetLookup(m_lookup.get());
        m_lookup->SetDocument(m_document.get());
    }

    void cleanup()
    {
        m_pane.reset();
        m_lookup.reset();
        m_document.reset();
    }

    // Docked in a window that is still being built, the pane is filled when the window shows.
    void fillsWhenItsWindowShows()
    {
        QMainWindow window;
        auto *pane = new CDataPane;
        window.addDockWidget(Qt::LeftDockWidgetArea, pane);
        pane->SetLookup(m_lookup.get());
        QCOMPARE(pane->GetTree()->topLevelItemCount(), 0);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(pane->GetTree()->topLevelItemCount() > 0);
    }

    void followsTheEdits()
    {
        QTRY_VERIFY(m_lookup->IsCurrent());
        const QString connection = u"SQLite: "_s + m_dir.filePath(u"shop.db"_s);
        QCOMPARE(Lines(m_pane->GetTree()),
                 (QStringList {connection, u"Customers | Report Contents"_s, u"  Id | integer"_s,
                               u"  NAME | text"_s, u"  Logo | binary"_s}));
        QVERIFY(m_lookup->GetProblems().isEmpty());
        QCOMPARE(m_lookup->ColumnsFor(Name()), (QStringList {u"Id"_s, u"NAME"_s, u"Logo"_s}));

        // A query edited to fail: the driver's message under the band, and the item's field
        // no longer known.
        SetQuery(u"SELECT Nme FROM Customers"_s);
        QTRY_VERIFY(m_lookup->IsCurrent());
        QCOMPARE(Lines(m_pane->GetTree()).mid(1),
                 (QStringList {u"Customers | Report Contents"_s, u"  no such column: Nme"_s}));
        QVERIFY(m_lookup->ColumnsFor(Name()).isEmpty());

        // A misspelt field is marked on its item, with the columns it could show.
        SetQuery(u"SELECT Id, Name AS NAMES FROM Customers"_s);
        QTRY_VERIFY(m_lookup->IsCurrent());
        const auto marks = m_lookup->ItemMarks();
        QCOMPARE(marks.size(), 1);
        QCOMPARE(marks.value(Name()),
                 u"No column NAME in the query of band Customers; it returns Id, NAMES"_s);
    }

    void aHeldLookUpWaitsForItsRelease()
    {
        QTRY_VERIFY(m_lookup->IsCurrent());
        m_lookup->SetHeld(true);
        SetQuery(u"SELECT Id FROM Customers"_s);
        // Due and shown as running, but not looked up while held (SQLite would answer in time).
        QTest::qWait(200);
        QVERIFY(m_lookup->IsRunning());
        QVERIFY(!m_lookup->IsCurrent());
        m_lookup->SetHeld(false);
        QTRY_VERIFY(m_lookup->IsCurrent());
        QCOMPARE(m_lookup->ColumnsFor(Name()), QStringList {u"Id"_s});
    }

    void aQueryThatDoesNotAnswerIsCancelled()
    {
        QTRY_VERIFY(m_lookup->IsCurrent());
        m_lookup->SetTimeout(300);
        SetQuery(endless);
        // The designer goes on while the database works.
        QVERIFY(m_lookup->IsRunning());
        QVERIFY(Lines(m_pane->GetTree()).contains(u"  Looking up the columns..."_s));
        QTRY_VERIFY_WITH_TIMEOUT(m_lookup->IsCurrent(), 5000);
        QVERIFY(Lines(m_pane->GetTree()).contains(u"  No answer within 1 second: cancelled"_s));
    }

    void dragAndCopy()
    {
        QTRY_VERIFY(m_lookup->IsCurrent());
        CDataTree *tree = m_pane->GetTree();
        QTreeWidgetItem *band = tree->topLevelItem(1);
        // Several columns drag as fields of their band, in query order; a band row adds nothing.
        const std::unique_ptr<QMimeData> data(
                tree->mimeData({band->child(2), band, band->child(1)}));
        QVERIFY(data);
        const QList<CFieldChoice> fields
                = FieldChoice::Decode(data->data(QString::fromLatin1(FieldChoice::MimeType)));
        QCOMPARE(fields.size(), 2);
        QCOMPARE(fields[0].dataSource + u'.' + fields[0].dataField, u"Customers.NAME"_s);
        QVERIFY(!fields[0].binary && fields[1].binary);
        QVERIFY(!tree->mimeData({band}));

        emit tree->itemDoubleClicked(band->child(1), 0);
        QCOMPARE(QApplication::clipboard()->text(), u"Customers.NAME"_s);
    }

    void runQuery_data()
    {
        QTest::addColumn<QString>("band");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("answer"); // the value the user gives {FROM}
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("more");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<QString>("message");
        QTest::newRow("the first hundred rows and the count")
                << u"Customers"_s << u"SELECT Id, Name FROM Customers"_s << QString() << 100 << true
                << qint64(150) << QString();
        QTest::newRow("an entry asked for")
                << u"Customers"_s << u"SELECT Id FROM Customers WHERE Id > {FROM}"_s << u"140"_s
                << 10 << false << qint64(10) << QString();
        // A detail takes its entries from its parent's first row, without asking.
        QTest::newRow("a detail's entry from the parent's row")
                << u"Notes"_s << u"SELECT Name FROM Customers WHERE Id = {ID} + 1"_s << QString()
                << 1 << false << qint64(1) << QString();
        QTest::newRow("the driver's message")
                << u"Customers"_s << u"SELECT Id FORM Customers"_s << QString() << 0 << false
                << qint64(-1) << u"near \"Customers\": syntax error"_s;
        QTest::newRow("never a write") << u"Customers"_s << u"DELETE FROM Customers"_s << QString()
                                       << 0 << false << qint64(-1) << u"*"_s;
    }

    void runQuery()
    {
        QFETCH(QString, band);
        QFETCH(QString, sql);
        QFETCH(QString, answer);
        QFETCH(int, rows);
        QFETCH(bool, more);
        QFETCH(qint64, total);
        QFETCH(QString, message);
        CQueryRunner runner(m_document->GetReport(), m_dir.path(), band);
        QStringList asked;
        runner.askValues = [&](CVornParameters &missing, QWidget *) {
            for (CVornParameter *parameter : missing) {
                asked << parameter->GetName() + u'=' + parameter->GetValue();
                parameter->SetValue(answer);
            }
            return true;
        };
        QSignalSpy finished(&runner, &CSqlQueryRunner::finished);
        QVERIFY(runner.Start(sql, nullptr));
        QTRY_COMPARE(finished.count(), 1);
        const auto result = finished.at(0).at(0).value<CSqlQueryResult>();
        QCOMPARE(asked, answer.isEmpty() ? QStringList() : QStringList {u"FROM="_s});
        QCOMPARE(result.rows.size(), rows);
        QCOMPARE(result.more, more);
        QCOMPARE(result.total, total);
        if (band == u"Notes"_s)
            QCOMPARE(result.rows.at(0).at(0), u"Customer 2"_s);
        if (message == u"*"_s)
            QVERIFY(!result.succeeded && !result.message.isEmpty());
        else
            QCOMPARE(result.message, message);
        QCOMPARE(result.succeeded, message.isEmpty());
        if (!message.isEmpty() && message != u"*"_s)
            QCOMPARE(result.errorPosition, sql.indexOf(u"Customers"_s));
        // The next run offers the value given before.
        if (!answer.isEmpty()) {
            asked.clear();
            QVERIFY(runner.Start(sql, nullptr));
            QTRY_COMPARE(finished.count(), 2);
            QCOMPARE(asked, QStringList {u"FROM="_s + answer});
        }
    }

private:
    CVornDbText *Name() const
    {
        return static_cast<CVornDbText *>(m_document->GetReport().GetBands()[0]->GetItems()[0]);
    }

    void SetQuery(const QString &sql)
    {
        CVornBand *band = m_document->GetReport().GetBands()[0];
        CReportEdit edit(*m_document, u"Properties"_s);
        edit.WillChange(band);
        band->SetDatabaseQuery(sql);
        edit.Commit();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<CVornDocument> m_document;
    std::unique_ptr<CColumnLookup> m_lookup;
    std::unique_ptr<CDataPane> m_pane;
};

VANTEL_TEST_CLASS(TestDataPane)

#include "tst_datapane.moc"
