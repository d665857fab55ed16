#include "barcodefont.h"
#include "testregistry.h"

#include <QImage>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString Digits = u"2000000000015"_s;

QImage Device()
{
    QImage image(1, 1, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    return image;
}

// The plain search: every height in turn up to the first that does not fit.
int LinearHeight(const QImage &device, const QString &text, int width, int height)
{
    for (int n = 1; n < BarcodeFontSearchLimit; ++n) {
        if (!BarcodeTextFits(device, text, n, width, height))
            return n - 1;
    }
    return BarcodeFontFallback;
}

} // namespace

class BarcodeFontTest : public QObject
{
    Q_OBJECT

private slots:
    void searchBoundaries_data()
    {
        QTest::addColumn<int>("largestFit");
        QTest::addColumn<int>("expected");
        QTest::newRow("nothing fits: default height") << 0 << 0;
        QTest::newRow("1") << 1 << 1;
        QTest::newRow("2") << 2 << 2;
        QTest::newRow("between probes") << 363 << 363;
        QTest::newRow("a probe") << 512 << 512;
        QTest::newRow("last probe below the limit") << 65536 << 65536;
        QTest::newRow("all but the last height") << 99998 << 99998;
        QTest::newRow("every height fits") << 99999 << BarcodeFontFallback;
    }
    void searchBoundaries()
    {
        QFETCH(int, largestFit);
        QFETCH(int, expected);
        int outside = 0;
        const int found = LargestFittingHeight([&](int n) {
            outside += n < 1 || n >= BarcodeFontSearchLimit;
            return n <= largestFit;
        });
        QCOMPARE(found, expected);
        QCOMPARE(outside, 0);
    }

    void searchMatchesLinear_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QList<int>>("heights");
        const QList<int> heights {1, 100, 364, 365, 500, 636, 801, 1200, 2500};
        for (int width : {0, 40, 300, 1000, 2000, 3560, 7000, 20000})
            QTest::addRow("%d units wide", width) << width << heights;
    }
    void searchMatchesLinear()
    {
        QFETCH(int, width);
        QFETCH(QList<int>, heights);
        const QImage device = Device();
        for (int height : heights) {
            const int found = LargestFittingHeight(
                    [&](int n) { return BarcodeTextFits(device, Digits, n, width, height); });
            QCOMPARE(found, LinearHeight(device, Digits, width, height));
        }
    }

    void cacheKeyedOnBoxSize()
    {
        const QImage device = Device();
        const QString longer = Digits + Digits;
        const int digitsHeight = LinearHeight(device, Digits, 3561, 801);
        const int longerHeight = LinearHeight(device, longer, 3561, 801);
        QVERIFY(longerHeight < digitsHeight);

        QCOMPARE(FitBarcodeFont(device, Digits, 0, 0, 3561, 801), digitsHeight);
        // Same size elsewhere: the remembered height, whatever the text.
        QCOMPARE(FitBarcodeFont(device, longer, 100, 200, 3661, 1001), digitsHeight);
        // Another size is measured, and then the first size is measured again.
        QCOMPARE(FitBarcodeFont(device, longer, 0, 0, 3561, 802),
                 LinearHeight(device, longer, 3561, 802));
        QCOMPARE(FitBarcodeFont(device, longer, 0, 0, 3561, 801), longerHeight);
    }
};

VANTEL_TEST_CLASS(BarcodeFontTest)
#include "tst_barcodefont.moc"
