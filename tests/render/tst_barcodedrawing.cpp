#include "barcodedrawing.h"
#include "modulegrid.h"
#include "pagecontent.h"
#include "pagepainting.h"
#include "qrmask.h"
#include "testregistry.h"
#include "zintlibrary.h"

#include <QImage>
#include <QPainter>
#include <QTest>

#include <cmath>
#include <random>

using namespace Qt::StringLiterals;

namespace {

// A QR Code (mask pattern chosen by the library, or pattern mask) or a square DataMatrix of
// value as the library encodes it, kept in the symbol.
struct CLibrarySymbol
{
    const CZintLibrary *library = nullptr;
    zint_symbol *symbol = nullptr;

    CLibrarySymbol(int symbology, int eccLevel, const QString &value, bool vector, int mask = -1)
    {
        QString message;
        library = CZintLibrary::Shared(message);
        symbol = library->create();
        const bool qr = symbology == 3;
        symbol->symbology = qr ? BARCODE_QRCODE : BARCODE_DATAMATRIX;
        symbol->option_1 = qr ? eccLevel + 1 : 0;
        symbol->option_3 = qr ? (mask + 1) << 8 : DM_SQUARE;
        symbol->input_mode = UNICODE_MODE;
        symbol->scale = 0.5f;
        symbol->output_options |= BARCODE_QUIET_ZONES;
        const QByteArray data = value.toUtf8();
        const auto *bytes = reinterpret_cast<const unsigned char *>(data.constData());
        const int result = vector ? library->encodeVector(symbol, bytes, int(data.size()), 0)
                                  : library->encode(symbol, bytes, int(data.size()));
        QVERIFY2(result < ZINT_ERROR, symbol->errtxt);
    }
    ~CLibrarySymbol() { library->destroy(symbol); }

    // Laid out as every two-dimensional symbol is, square and centred in the box.
    CBarcodeDrawing Drawing(double width, double height) const
    {
        CBarcodeDrawing drawing;
        const zint_vector &vector = *symbol->vector;
        drawing.scale = std::min(width / vector.width, height / vector.height);
        drawing.origin = {(width - vector.width * drawing.scale) / 2,
                          (height - vector.height * drawing.scale) / 2};
        drawing.area = {drawing.origin.x(), drawing.origin.y(), vector.width * drawing.scale,
                        vector.height * drawing.scale};
        for (const zint_vector_rect *rect = vector.rectangles; rect; rect = rect->next)
            drawing.bars.emplace_back(rect->x, rect->y, rect->width, rect->height);
        return drawing;
    }

    CModuleGrid Modules() const
    {
        CModuleGrid grid(symbol->width, symbol->rows);
        for (int y = 0; y < grid.rows; ++y)
            for (int x = 0; x < grid.width; ++x)
                if ((symbol->encoded_data[y][x / 8] >> (x % 8)) & 1)
                    grid.SetDark(y, x);
        return grid;
    }
};

} // namespace

// The symbols of the barcode library as the pages hold them: the bars of a two-dimensional one
// on whole modules inside the white area, and one drawing for a value that repeats.
class TestBarcodeDrawing : public QObject
{
    Q_OBJECT

private slots:
    void wholeModules_data()
    {
        QTest::addColumn<int>("symbology");
        QTest::addColumn<QString>("value");
        QTest::newRow("QR Code") << 3 << u"C-0000001"_s;
        QTest::newRow("DataMatrix") << 4 << u"LOT 2026-12 BIN 7"_s;
        QTest::newRow("PDF417") << 5 << u"TICKET 0815 ROW 12 SEAT 7"_s;
    }

    void wholeModules()
    {
        QFETCH(int, symbology);
        QFETCH(QString, value);
        CBarcodeDrawing drawing;
        QString problem;
        QVERIFY2(MakeBarcodeDrawing({symbology, 1, true}, value, 2300, 900, drawing, problem),
                 qPrintable(problem));
        QVERIFY(!drawing.bars.empty());
        const auto whole = [](double v) {
            return v == std::floor(v);
        };
        // The area's own corner is the symbol's origin; small differences are rounding.
        const QRectF area = drawing.area.adjusted(-1e-6, -1e-6, 1e-6, 1e-6);
        for (const QRectF &bar : drawing.bars) {
            QVERIFY(whole(bar.x()) && whole(bar.y()) && whole(bar.width()) && whole(bar.height()));
            QVERIFY(area.contains(drawing.InBox(bar)));
        }
    }

    // QR Code and DataMatrix are drawn from their modules, QR Code's mask pattern chosen by the
    // program: the drawing is the one of the library's own vector output and choice of pattern,
    // for the sizes of symbol whose rows take one, two or three words, the version information
    // of the larger QR Codes and every error correction level.
    void matrixAsTheLibraryDrawsIt_data()
    {
        QTest::addColumn<int>("symbology");
        QTest::addColumn<int>("eccLevel");
        QTest::addColumn<QString>("value");
        QTest::newRow("QR version 1, M") << 3 << 1 << u"C-0000001"_s;
        QTest::newRow("QR version 3, L") << 3 << 0 << u"https://vantel.example/invoice/2026-0042"_s;
        QTest::newRow("QR version 9, Q, version information")
                << 3 << 2 << u"Ticket 0815, row 12, seat 7: \u00e9t\u00e9 2026 "_s.repeated(3);
        QTest::newRow("QR version 11, H, two words a row") << 3 << 3 << QString(300, u'7');
        QTest::newRow("QR version 32, M, three words a row")
                << 3 << 1 << u"Lorem ipsum dolor sit amet 0123456789 "_s.repeated(40);
        QTest::newRow("DataMatrix 18 x 18") << 4 << 1 << u"LOT 2026-12 BIN 7"_s;
        QTest::newRow("DataMatrix 120 x 120") << 4 << 1 << QString(1500, u'A');
    }

    void matrixAsTheLibraryDrawsIt()
    {
        QFETCH(int, symbology);
        QFETCH(int, eccLevel);
        QFETCH(QString, value);
        CBarcodeDrawing drawing;
        QString problem;
        QVERIFY2(
                MakeBarcodeDrawing({symbology, eccLevel, true}, value, 2300, 900, drawing, problem),
                qPrintable(problem));
        QCOMPARE(drawing, CLibrarySymbol(symbology, eccLevel, value, true).Drawing(2300, 900));
    }

    // The program's choice of mask pattern is the library's for values of every length, kind of
    // character and error correction level.
    void qrMaskAsTheLibraryChooses()
    {
        std::mt19937 random(2026);
        const QString alphanumeric = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:"_s;
        for (int i = 0; i < 300; ++i) {
            const int eccLevel = int(random() % 4);
            const int length = 1 + int(random() % (i % 3 == 0 ? 600 : 80));
            const int kind = int(random() % 3);
            QString value;
            for (int c = 0; c < length; ++c)
                value += kind == 0  ? QChar(char16_t(u'0' + random() % 10))
                        : kind == 1 ? alphanumeric[qsizetype(random() % alphanumeric.size())]
                                    : QChar(char16_t(0x20 + random() % 0xE0));
            CModuleGrid modules = CLibrarySymbol(3, eccLevel, value, false, 0).Modules();
            QVERIFY(ChooseQrMask(modules));
            QCOMPARE(modules, CLibrarySymbol(3, eccLevel, value, false).Modules());
        }
    }

    // A grid that is no QR Code with mask pattern 0 is left for the library to mask.
    void qrMaskRefused_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("mask"); // the pattern the symbol was masked with
        QTest::newRow("not a QR Code's size") << 22 << 0;
        QTest::newRow("masked with pattern 5 already") << 21 << 5;
    }

    void qrMaskRefused()
    {
        QFETCH(int, width);
        QFETCH(int, mask);
        CModuleGrid modules = CLibrarySymbol(3, 1, u"C-0000001"_s, false, mask).Modules();
        if (width != modules.width)
            modules = CModuleGrid(width, width);
        const CModuleGrid given = modules;
        QVERIFY(!ChooseQrMask(modules));
        QCOMPARE(modules, given);
    }

    // Runs across the 64-module words of a row and to its last module, one rectangle for the
    // same run in consecutive rows.
    void moduleRectangles()
    {
        CModuleGrid modules(130, 3);
        for (int y = 0; y < 2; ++y)
            for (int x = 60; x < 70; ++x)
                modules.SetDark(y, x);
        for (int x = 120; x < 130; ++x)
            modules.SetDark(1, x);
        modules.SetDark(2, 0);
        modules.SetDark(2, 64);
        std::vector<QRectF> rectangles;
        modules.AddRectangles(4, rectangles);
        QCOMPARE(rectangles,
                 (std::vector<QRectF> {
                         {64, 4, 10, 2}, {124, 5, 10, 1}, {4, 6, 1, 1}, {68, 6, 1, 1}}));
    }

    // A symbol whose box is cut short at the foot of a page is drawn only down to the cut.
    void cutBoxStaysClipped_data()
    {
        QTest::addColumn<int>("clipBottom");
        QTest::addColumn<bool>("darkBelowMiddle");
        QTest::newRow("whole box") << 1900 << true;
        QTest::newRow("cut at the middle") << 1450 << false;
    }

    void cutBoxStaysClipped()
    {
        QFETCH(int, clipBottom);
        QFETCH(bool, darkBelowMiddle);
        CPageBarcode barcode;
        barcode.box = {1000, 1000, 1900, 1900};
        barcode.clip = {1000, 1000, 1900, clipBottom};
        barcode.value = u"C-0000001"_s;
        QString problem;
        barcode.drawing = SharedBarcodeDrawing({3, 1, true}, barcode.value, 900, 900, problem);
        QVERIFY2(barcode.drawing, qPrintable(problem));
        CPage page;
        page.Add(barcode);
        constexpr int dpi = 254; // a pixel a tenth of a millimetre
        QImage image(250, 250, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        CPagePainting(painter, dpi, dpi).Paint(page, 1, 1);
        painter.end();
        const auto darkIn = [&image](int top, int bottom) {
            for (int y = top; y < bottom; ++y)
                for (int x = 100; x < 190; ++x)
                    if (image.pixel(x, y) == qRgb(0, 0, 0))
                        return true;
            return false;
        };
        QVERIFY(darkIn(100, 145));
        QCOMPARE(darkIn(146, 250), darkBelowMiddle);
    }

    // The same value in a box of the same size shares one drawing; another box, error
    // correction or value gets its own, and a value that cannot be encoded none.
    void sharedDrawings()
    {
        QString problem;
        const CBarcodeOptions qr {3, 1, true};
        const auto first = SharedBarcodeDrawing(qr, u"C-0000001", 900, 900, problem);
        QVERIFY2(first, qPrintable(problem));
        QCOMPARE(SharedBarcodeDrawing(qr, u"C-0000001", 900, 900, problem), first);
        for (const auto &other :
             {SharedBarcodeDrawing(qr, u"C-0000002", 900, 900, problem),
              SharedBarcodeDrawing(qr, u"C-0000001", 900, 1000, problem),
              SharedBarcodeDrawing({3, 3, true}, u"C-0000001", 900, 900, problem)}) {
            QVERIFY(other);
            QVERIFY(other != first);
            QVERIFY(!(*other == *first));
        }
        QVERIFY(!SharedBarcodeDrawing({6, 1, true}, u"12A4567", 900, 900, problem));
        QVERIFY(!problem.isEmpty());
    }
};

VANTEL_TEST_CLASS(TestBarcodeDrawing)
#include "tst_barcodedrawing.moc"
