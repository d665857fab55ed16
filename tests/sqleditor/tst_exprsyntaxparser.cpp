#include "colourmap.h"
#include "exprsyntaxparser.h"
#include "testregistry.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Colours and end states of expression lines: what the expression editor shows.
class TestExprSyntaxParser : public QObject
{
    Q_OBJECT

private slots:
    void colours_data()
    {
        QTest::addColumn<uint>("state");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("colours");
        QTest::addColumn<uint>("endState");
        QTest::newRow("fields, an operator and a parameter")
                << 0u << u"[Lines].[QTY] * {RATE}"_s << u"TTTTTTT-TTTTTw-wPPPPPP"_s << 0u;
        QTest::newRow("functions, words, numbers, a text with a doubled quote")
                << 0u << u"IF(#ROW MOD 2 = 0, 'a''b', null)"_s
                << u"FF-####wKKKwNw-wN-wSSSSSS-wKKKK-"_s << 0u;
        QTest::newRow("a word that is no function, a decimal")
                << 0u << u"Total 12.50"_s << u"wwwwwwNNNNN"_s << 0u;
        QTest::newRow("a text left open goes on") << 0u << u"'abc"_s << u"SSSS"_s << 1u;
        QTest::newRow("and ends on the next line") << 1u << u"d' & x"_s << u"SSw-ww"_s << 0u;
        QTest::newRow("a bracket left open ends with the line")
                << 0u << u"[Band"_s << u"TTTTT"_s << 0u;
    }
    void colours()
    {
        QFETCH(uint, state);
        QFETCH(QString, line);
        std::vector<CSyntaxParser::Block> blocks {{0, CSyntaxParser::ColourNormalText}};
        const quint32 end = CExprSyntaxParser::Shared().ParseLine(state, line, &blocks);
        QTEST(ColourMap::FromBlocks(blocks, int(line.size())), "colours");
        QTEST(uint(end), "endState");
    }
};

VANTEL_TEST_CLASS(TestExprSyntaxParser)
#include "tst_exprsyntaxparser.moc"
