#include "colourmap.h"
#include "sqlsyntaxparser.h"
#include "syntaxricheditctrl.h"
#include "testregistry.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The SQL parser, counting the lines it is asked to parse.
class CountingParser final : public CSyntaxParser
{
public:
    quint32 ParseLine(quint32 state, QStringView line, std::vector<Block> *blocks) const override
    {
        ++calls;
        return CSQLSyntaxParser::Shared().ParseLine(state, line, blocks);
    }
    mutable int calls = 0;
};

} // namespace

// Colouring of whole texts in the editor: states carried from line to line,
// typing, re-colouring after edits, and the colour table.
class TestSyntaxRichEditCtrl : public QObject
{
    Q_OBJECT

private:
    static QStringList Colours(const CSyntaxRichEditCtrl &edit)
    {
        return ColourMap::FromDocument(*edit.document(), edit.palette());
    }

    static QList<uint> EndStates(const CSyntaxRichEditCtrl &edit)
    {
        QList<uint> states;
        for (int line = 0; line < edit.document()->blockCount(); ++line)
            states.append(edit.LineEndState(line));
        return states;
    }

private slots:
    void lines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("colours");
        QTest::addColumn<QList<uint>>("endStates");
        QTest::newRow("block comment over several lines")
                << u"a /* x\n* \n\n*\nend */ b"_s
                << QStringList {u"w-CCCC"_s, u"CC"_s, QString(), u"w"_s, u"CCCCCC-w"_s}
                << QList<uint> {4, 4, 4, 4, 0};
        QTest::newRow("backslash carries a string")
                << u"x = \"abc\\\nd\" y\nz"_s << QStringList {u"w---SSSSS"_s, u"SS-w"_s, u"w"_s}
                << QList<uint> {8, 0, 0};
        QTest::newRow("string ends at the line end")
                << u"x = \"abc\nd\" y"_s << QStringList {u"w---SSSS"_s, u"wSSS"_s}
                << QList<uint> {0, 0};
        QTest::newRow("empty line passes the state on")
                << u"x \"a\\\n\nb\" c"_s << QStringList {u"w-SSS"_s, QString(), u"SS-w"_s}
                << QList<uint> {8, 8, 0};
        QTest::newRow("backslash carries a line comment")
                << u"// a\\\nstill\nafter"_s << QStringList {u"CCCCC"_s, u"CCCCC"_s, u"wwwww"_s}
                << QList<uint> {1, 0, 0};
        QTest::newRow("CR LF line ends")
                << u"SELECT\r\n12"_s << QStringList {u"KKKKKK"_s, u"NN"_s} << QList<uint> {0, 0};
    }
    void lines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, colours);
        QFETCH(QList<uint>, endStates);
        CSyntaxRichEditCtrl edit;
        edit.SetParser(&CSQLSyntaxParser::Shared());
        edit.setPlainText(text);
        QCOMPARE(Colours(edit), colours);
        QCOMPARE(EndStates(edit), endStates);
    }

    // The user types a three-line query; every character takes its colour as
    // it is typed, and the comment opened on the first line ends on the second.
    void typing()
    {
        CSyntaxRichEditCtrl edit;
        edit.SetParser(&CSQLSyntaxParser::Shared());
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        QTest::keyClicks(&edit, u"SELECT a.Name, COUNT(*) /* total"_s);
        QTest::keyClick(&edit, Qt::Key_Return);
        QTest::keyClicks(&edit, u"   of rows */ FROM Items"_s);
        QTest::keyClick(&edit, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(&edit, u"WHERE Price > 1.5e3 AND Code = 'X''1' // done"_s);
        QTest::keyClick(&edit, Qt::Key_Return);
        QTest::keyClicks(&edit, u"AND Id IN (SELECT CAST(Id AS VARCHAR) FROM Tags)"_s);

        QCOMPARE(Colours(edit),
                 (QStringList {u"KKKKKK-w-wwww--FFFFF----CCCCCCCC"_s, u"CCCCCCCCCCCCC-KKKK-wwwww"_s,
                               u"KKKKK-wwwww---NNNNN-KKK-wwww---SSSSSS-CCCCCCC"_s,
                               u"KKK-ww-KK--KKKKKK-FFFF-ww-ww-TTTTTTT--KKKK-wwww-"_s}));
        QCOMPARE(EndStates(edit), (QList<uint> {4, 0, 0, 0}));
    }

    // Opening a block comment at the top re-colours every following line;
    // removing it restores them.
    void editRecoloursFollowingLines()
    {
        CSyntaxRichEditCtrl edit;
        edit.SetParser(&CSQLSyntaxParser::Shared());
        edit.setPlainText(u"SELECT a\nFROM b\nWHERE c = 1"_s);
        const QStringList before = Colours(edit);

        QTextCursor cursor(edit.document());
        cursor.insertText(u"/*"_s);
        QCOMPARE(Colours(edit), (QStringList {u"CCCCCCCCCC"_s, u"CCCCCC"_s, u"CCCCCCCCCCC"_s}));
        QCOMPARE(EndStates(edit), (QList<uint> {4, 4, 4}));

        cursor.deletePreviousChar();
        cursor.deletePreviousChar();
        QCOMPARE(Colours(edit), before);
        QCOMPARE(EndStates(edit), (QList<uint> {0, 0, 0}));
    }

    // A keystroke parses the edited line alone unless it changes the line's
    // end state; then it goes on while the following lines' states change.
    void keystrokeParsesOnlyWhatChanged()
    {
        CountingParser parser;
        CSyntaxRichEditCtrl edit;
        edit.setPlainText(QStringList(50, u"SELECT 1"_s).join(u'\n'));
        edit.SetParser(&parser);
        QCOMPARE(parser.calls, 50);

        QTextCursor cursor(edit.document()->findBlockByNumber(20));
        parser.calls = 0;
        cursor.insertText(u"/"_s);
        QCOMPARE(parser.calls, 1);
        parser.calls = 0;
        cursor.insertText(u"*"_s);
        QCOMPARE(parser.calls, 30);
        QCOMPARE(edit.LineEndState(49), 4u);
    }

    void parserSwitchesColouring()
    {
        CSyntaxRichEditCtrl edit;
        edit.setPlainText(u"SELECT 1"_s);
        QCOMPARE(Colours(edit), QStringList {u"        "_s});

        edit.SetParser(&CSQLSyntaxParser::Shared());
        QCOMPARE(Colours(edit), QStringList {u"KKKKKK-N"_s});

        edit.SetParser(nullptr);
        QCOMPARE(Colours(edit), QStringList {u"        "_s});
        QTest::keyClicks(&edit, u"x"_s);
        QCOMPARE(Colours(edit), QStringList {u"         "_s});
    }

    void paletteChangeRecolours()
    {
        CSyntaxRichEditCtrl edit;
        edit.SetParser(&CSQLSyntaxParser::Shared());
        edit.setPlainText(u"name"_s);
        QPalette palette = edit.palette();
        palette.setColor(QPalette::Text, QColor(1, 2, 3));
        edit.setPalette(palette);
        const QTextLayout::FormatRange range = edit.document()->begin().layout()->formats().at(0);
        QCOMPARE(range.format.foreground().color(), QColor(1, 2, 3));
    }

    void colourTable_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("0 text area background") << 0 << QColor(250, 250, 240);
        QTest::newRow("1 text area background") << 1 << QColor(250, 250, 240);
        QTest::newRow("2 text") << 2 << QColor(40, 50, 60);
        QTest::newRow("3 scroll bar") << 3 << QColor(70, 80, 90);
        QTest::newRow("4 black") << 4 << QColor(0, 0, 0);
        QTest::newRow("5 white") << 5 << QColor(255, 255, 255);
        QTest::newRow("6 keyword") << 6 << QColor(0, 0, 255);
        QTest::newRow("7 function") << 7 << QColor(128, 0, 128);
        QTest::newRow("8 comment") << 8 << QColor(0, 128, 0);
        QTest::newRow("9 number") << 9 << QColor(255, 0, 0);
        QTest::newRow("10 punctuation") << 10 << QColor(96, 96, 96);
        QTest::newRow("11 string") << 11 << QColor(128, 0, 0);
        QTest::newRow("12") << 12 << QColor(0, 128, 192);
        QTest::newRow("13 type name") << 13 << QColor(0, 0, 128);
        QTest::newRow("14") << 14 << QColor(0, 128, 192);
        QTest::newRow("15 outside") << 15 << QColor(128, 0, 0);
        QTest::newRow("-1 outside") << -1 << QColor(128, 0, 0);
    }
    void colourTable()
    {
        QFETCH(int, index);
        QFETCH(QColor, colour);
        QPalette palette;
        palette.setColor(QPalette::Base, QColor(250, 250, 240));
        palette.setColor(QPalette::Text, QColor(40, 50, 60));
        palette.setColor(QPalette::Button, QColor(70, 80, 90));
        QCOMPARE(CSyntaxHighlighter::TextColour(index, palette), colour);
        const QTextCharFormat format = CSyntaxHighlighter::CharFormat(index, palette);
        QCOMPARE(format.fontWeight() == QFont::Bold, index == 6);
        QVERIFY(!format.fontItalic());
    }

    void darkTextAreaLightensTheFixedColours()
    {
        // In a dark look the table's colours keep their hue and become readable; the
        // palette's own colours are used as they are.
        QPalette palette;
        palette.setColor(QPalette::Base, QColor(30, 30, 30));
        palette.setColor(QPalette::Text, QColor(220, 220, 220));
        QCOMPARE(CSyntaxHighlighter::TextColour(6, palette), QColor(153, 153, 255));
        QCOMPARE(CSyntaxHighlighter::TextColour(8, palette), QColor(102, 255, 102));
        QCOMPARE(CSyntaxHighlighter::TextColour(2, palette), QColor(220, 220, 220));
        QCOMPARE(CSyntaxHighlighter::TextColour(0, palette), QColor(30, 30, 30));
    }
};

VANTEL_TEST_CLASS(TestSyntaxRichEditCtrl)
#include "tst_syntaxricheditctrl.moc"
