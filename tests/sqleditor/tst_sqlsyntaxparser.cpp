#include "colourmap.h"
#include "sqlsyntaxparser.h"
#include "testregistry.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Colours and end states of single lines as the SQL parser gives them.
class TestSqlSyntaxParser : public QObject
{
    Q_OBJECT

private:
    static std::vector<CSyntaxParser::Block> Parse(quint32 state, const QString &line,
                                                   quint32 *endState)
    {
        std::vector<CSyntaxParser::Block> blocks {{0, CSyntaxParser::ColourNormalText}};
        *endState = CSQLSyntaxParser::Shared().ParseLine(state, line, &blocks);
        return blocks;
    }

private slots:
    void colours_data()
    {
        QTest::addColumn<uint>("state");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("colours");
        QTest::addColumn<uint>("endState");

        const auto row = [](const char *name, uint state, const QString &line,
                            const QString &colours, uint endState) {
            QTest::newRow(name) << state << line << colours << endState;
        };
        row("keywords, names and a number", 0, u"SELECT Name FROM Items WHERE Id = 10"_s,
            u"KKKKKK-wwww-KKKK-wwwww-KKKKK-ww---NN"_s, 0);
        row("keywords ignore case, not prefixes", 0, u"SeLeCt selected Order"_s,
            u"KKKKKK-wwwwwwww-KKKKK"_s, 0);
        row("only ASCII letters fold", 0, u"\u017Felect IN"_s, u"wwwwww-KK"_s, 0);
        row("function before a parenthesis", 0, u"count (*)"_s, u"FFFFF----"_s, 0);
        row("function across a tab", 0, u"MAX\t(x)"_s, u"FFF--w-"_s, 0);
        row("function name in any script", 0, u"gr\u00F6\u00DFe(1)"_s, u"FFFFF-N-"_s, 0);
        row("word alone is no function", 0, u"count"_s, u"wwwww"_s, 0);
        row("type name wins over function", 0, u"varchar(10) Varchars"_s, u"TTTTTTT-NN--wwwwwwww"_s,
            0);
        row("decimal with exponent", 0, u"1.5e3 1.5e+3"_s, u"NNNNN-NNNN-N"_s, 0);
        row("hexadecimal takes lower-case x", 0, u"0x1F 0X1F 0xfG 0x"_s, u"NNNN-wwww-wwww-ww"_s, 0);
        row("dot between names", 0, u"t.col"_s, u"w-www"_s, 0);
        row("leading dot", 0, u".5"_s, u"-N"_s, 0);
        row("double dash is punctuation", 0, u"-- note"_s, u"---wwww"_s, 0);
        row("line comment", 0, u"a // note"_s, u"w-CCCCCCC"_s, 0);
        row("line comment with backslash goes on", 0, u"// a\\"_s, u"CCCCC"_s, 1);
        row("carried line comment ends", 1, u"b; c"_s, u"CCCC"_s, 0);
        row("block comment stays open", 0, u"a /* x"_s, u"w-CCCC"_s, 4);
        row("slash star slash stays open", 0, u"/*/ x"_s, u"CCCCC"_s, 4);
        row("empty block comment", 0, u"/**/ x"_s, u"CCCC-w"_s, 0);
        row("block comment closes", 4, u"x */ SELECT"_s, u"CCCC-KKKKKK"_s, 0);
        row("block comment closes at once", 4, u"*/x"_s, u"CCw"_s, 0);
        row("doubled single quotes", 0, u"'it''s' x"_s, u"SSSSSSS-w"_s, 0);
        row("quote after a word", 0, u"x'y"_s, u"w-w"_s, 0);
        row("escaped double quote", 0, u"\"a\\\"b\" c"_s, u"SSSSSS-w"_s, 0);
        row("escaped single quote", 0, u"'a\\'b'"_s, u"SSSSSS"_s, 0);
        row("escaped backslash ends string", 0, u"\"a\\\\\" c"_s, u"SSSSS-w"_s, 0);
        row("string ends with the line", 0, u"x = \"abc"_s, u"w---SSSS"_s, 0);
        row("backslash carries string", 0, u"x = \"abc\\"_s, u"w---SSSSS"_s, 8);
        row("carried string closes", 8, u"def\" y"_s, u"SSSS-w"_s, 0);
        row("double quote inside a word", 0, u"ab\"cd\" ("_s, u"wwSSSS--"_s, 0);
        // A line of one character is normal text and carries only an open block comment.
        row("one punctuation character", 0, u")"_s, u"w"_s, 0);
        row("one digit", 0, u"5"_s, u"w"_s, 0);
        row("one star in a block comment", 4, u"*"_s, u"w"_s, 4);
        row("one backslash in a string", 8, u"\\"_s, u"w"_s, 0);
        row("one quote opens no string", 0, u"'"_s, u"w"_s, 0);
        row("empty line keeps a block comment", 4, QString(), QString(), 4);
        row("empty line ends a string", 8, QString(), QString(), 0);
    }
    void colours()
    {
        QFETCH(uint, state);
        QFETCH(QString, line);
        QFETCH(QString, colours);
        QFETCH(uint, endState);

        quint32 end = 0;
        const std::vector<CSyntaxParser::Block> blocks = Parse(state, line, &end);
        QCOMPARE(ColourMap::FromBlocks(blocks, int(line.size())), colours);
        QCOMPARE(end, endState);
        // Without a block list only the state is computed, and it is the same.
        QCOMPARE(CSQLSyntaxParser::Shared().ParseLine(state, line, nullptr), endState);
    }

    // The exact block lists: kept in order of their start, several blocks at
    // one start, a block just after the last character, dropped blocks.
    void blocks_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("blocks");
        QTest::newRow("word, operator, number") << u"a=1"_s << u"0:2 0:2 1:10 2:2 2:9"_s;
        QTest::newRow("empty string ends the line") << u"''"_s << u"0:2 0:10 0:11 0:11 2:10"_s;
        QTest::newRow("late function block is dropped")
                << u"ab\"cd\" ("_s << u"0:2 0:2 2:11 6:10 6:10 7:10"_s;
    }
    void blocks()
    {
        QFETCH(QString, line);
        QFETCH(QString, blocks);
        quint32 end = 0;
        QStringList text;
        for (const CSyntaxParser::Block &block : Parse(0, line, &end))
            text.append(u"%1:%2"_s.arg(block.start).arg(block.colour));
        QCOMPARE(text.join(u' '), blocks);
    }
};

VANTEL_TEST_CLASS(TestSqlSyntaxParser)
#include "tst_sqlsyntaxparser.moc"
