#include "barcodedrawing.h"
#include "testregistry.h"

#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

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
