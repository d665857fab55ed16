#include "pdffontcut.h"
#include "pdfobjects.h"
#include "testregistry.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Map = std::map<int, QByteArray>;

} // namespace

Q_DECLARE_METATYPE(Map)

// The glyph widths and text maps a PDF's fonts are written with, read back for the glyphs a few
// pages use: every form the PDF writer writes them in, and the maps written anew for those
// glyphs renumbered.
class TestPdfFontCut : public QObject
{
    Q_OBJECT

private slots:
    void readsTextMaps_data()
    {
        QTest::addColumn<QByteArray>("cmap");
        QTest::addColumn<Map>("expected");
        QTest::newRow("a range with a text for each")
                << "2 beginbfrange\n<0000> <0000> <0000>\n<0001> <0003> [<0042> <006F> "
                   "<00E9> ]\nendbfrange\n"_ba
                << Map {{0, "0000"}, {1, "0042"}, {2, "006F"}, {3, "00E9"}};
        QTest::newRow("a range counting up from one text")
                << "1 beginbfrange\n<0010> <0012> <0061>\nendbfrange\n"_ba
                << Map {{16, "0061"}, {17, "0062"}, {18, "0063"}};
        QTest::newRow("single codes and two sections")
                << "1 beginbfchar\n<0005> <20AC>\nendbfchar\n1 beginbfrange\n<0007> <0007> "
                   "<0041>\nendbfrange\n"_ba
                << Map {{5, "20AC"}, {7, "0041"}};
    }
    void readsTextMaps()
    {
        QFETCH(QByteArray, cmap);
        QFETCH(Map, expected);
        QCOMPARE(PdfFontCut::ReadToUnicode(cmap), expected);
    }

    void readsWidths_data()
    {
        QTest::addColumn<QByteArray>("array");
        QTest::addColumn<Map>("expected");
        QTest::newRow("a list") << "[0 [750 278 556]\n]"_ba
                                << Map {{0, "750"}, {1, "278"}, {2, "556"}};
        QTest::newRow("a run of one width after a list")
                << "[0 [750]\n1 3 600\n]"_ba
                << Map {{0, "750"}, {1, "600"}, {2, "600"}, {3, "600"}};
    }
    void readsWidths()
    {
        QFETCH(QByteArray, array);
        QFETCH(Map, expected);
        CPdfValue value;
        qsizetype pos = 0;
        QVERIFY(ParsePdfValue(array, pos, value));
        QCOMPARE(PdfFontCut::ReadWidths(value), expected);
    }

    // The maps for glyphs 0, 3 and 1 of the whole font, renumbered 0, 1 and 2.
    void writesMapsForTheGlyphsKept()
    {
        const std::vector<int> glyphs {0, 3, 1};
        const QByteArray cmap = PdfFontCut::WriteToUnicode({{1, "0042"}, {3, "00E9"}}, glyphs);
        QCOMPARE(PdfFontCut::ReadToUnicode(cmap), (Map {{1, "00E9"}, {2, "0042"}}));
        QByteArray widths;
        PdfFontCut::WriteWidths({{0, "750"}, {3, "500"}}, glyphs, "1000").Write(widths);
        QCOMPARE(widths, "[0 [750 500 1000]]"_ba);
        QCOMPARE(PdfFontCut::CidSet(10), "\xff\xc0"_ba);
    }
};

VANTEL_TEST_CLASS(TestPdfFontCut)
#include "tst_pdffontcut.moc"
