#include "sqlcompletion.h"
#include "syntaxricheditctrl.h"
#include "testregistry.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QTest>

using namespace Qt::StringLiterals;

// What Ctrl+Space offers in the SQL editor: tables where a table goes, a table's columns after
// its name or alias and a dot, keywords and the query's columns elsewhere.
class TestSqlCompletion : public QObject
{
    Q_OBJECT

private slots:
    void candidates_data();
    void candidates();
    void ctrlSpaceCompletes();
};

namespace {

CSqlSchema Music()
{
    return {
            {{}, u"Album"_s, u"Album"_s, {u"AlbumId"_s, u"Title"_s, u"ArtistId"_s}},
            {{}, u"Artist"_s, u"Artist"_s, {u"ArtistId"_s, u"Name"_s}},
            {u"sales"_s,
             u"Invoice Line"_s,
             u"sales.\"Invoice Line\""_s,
             {u"InvoiceId"_s, u"\"Unit Price\""_s}},
    };
}

} // namespace

void TestSqlCompletion::candidates_data()
{
    // The caret is where "|" is.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("after FROM") << u"SELECT * FROM |"_s
                                << QStringList {u"Album"_s, u"Artist"_s,
                                                u"sales.\"Invoice Line\""_s};
    QTest::newRow("after FROM, begun") << u"SELECT * FROM ar|"_s << QStringList {u"Artist"_s};
    QTest::newRow("after a comma of the table list")
            << u"SELECT * FROM Album a, Art|"_s << QStringList {u"Artist"_s};
    QTest::newRow("after JOIN") << u"SELECT * FROM Album JOIN s|"_s
                                << QStringList {u"sales.\"Invoice Line\""_s};
    QTest::newRow("alias and dot") << u"SELECT a.| FROM Album a"_s
                                   << QStringList {u"AlbumId"_s, u"ArtistId"_s, u"Title"_s};
    QTest::newRow("table and dot, begun")
            << u"SELECT * FROM Artist WHERE Artist.n|"_s << QStringList {u"Name"_s};
    QTest::newRow("quoted column begun") << u"SELECT l.\"Un| FROM sales.\"Invoice Line\" l"_s
                                         << QStringList {u"\"Unit Price\""_s};
    QTest::newRow("keywords and the query's columns")
            << u"SELECT * FROM Artist WHERE n|"_s << QStringList {u"Name"_s, u"NOT"_s, u"NULL"_s};
    QTest::newRow("comma of a select list is no table list")
            << u"SELECT Title, ti| FROM Album"_s << QStringList {u"Title"_s};
    QTest::newRow("unknown alias") << u"SELECT x.| FROM Album"_s << QStringList();
}

void TestSqlCompletion::candidates()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    const int caret = int(text.indexOf(u'|'));
    text.remove(caret, 1);
    const CSqlCompletion completion = SqlCompletion(text, caret, Music());
    QCOMPARE(completion.candidates, expected);
    QVERIFY(completion.start <= caret);
}

void TestSqlCompletion::ctrlSpaceCompletes()
{
    // The user types a query, presses Ctrl+Space after "FROM Alb" (one candidate: put in at
    // once), then after "WHERE Al" takes the first entry of the list with Return.
    CSyntaxRichEditCtrl edit;
    edit.SetCompletionSchema(Music());
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    QTest::keyClicks(&edit, u"SELECT * FROM Alb"_s);
    QTest::keyClick(&edit, Qt::Key_Space, Qt::ControlModifier);
    QCOMPARE(edit.toPlainText(), u"SELECT * FROM Album"_s);
    QTest::keyClicks(&edit, u" WHERE Al"_s);
    QTest::keyClick(&edit, Qt::Key_Space, Qt::ControlModifier);
    QAbstractItemView *list = edit.Completer()->popup();
    QTRY_VERIFY(list->isVisible());
    QCOMPARE(list->model()->rowCount(), 2); // AlbumId, ALL
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(edit.toPlainText(), u"SELECT * FROM Album WHERE AlbumId"_s);
}

VANTEL_TEST_CLASS(TestSqlCompletion)
#include "tst_sqlcompletion.moc"
