#include "barcodeunits.h"
#include "ean13.h"
#include "ean13layout.h"
#include "testregistry.h"

#include <QImage>
#include <QPainter>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QRgb Grey = qRgb(128, 128, 128);
const QRgb Black = qRgb(0, 0, 0);
const QRgb White = qRgb(255, 255, 255);
const QString Sample = u"2000000000015"_s;

// The 95 modules of the sample: guards, six digits in sets A and B, centre guard, six digits in
// set C, guards.
const QString SampleSymbol = u"101 0001101 0001101 0100111 0100111 0001101 0100111 01010 "
                             "1110010 1110010 1110010 1110010 1100110 1001110 101"_s.remove(u' ');

// A grey canvas at 96 dpi, so that painted spaces show as white.
QImage Canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Grey);
    return image;
}

void Draw(QImage &image, const QString &value, int left, int top, int right, int bottom)
{
    QPainter painter(&image);
    DrawEan13(painter, value, left, top, right, bottom);
}

} // namespace

class Ean13Test : public QObject
{
    Q_OBJECT

private slots:
    void checkDigit_data()
    {
        QTest::addColumn<QString>("first12");
        QTest::addColumn<int>("digit");
        QTest::newRow("sample") << u"200000000001"_s << 5;
        QTest::newRow("4006381333931") << u"400638133393"_s << 1;
        QTest::newRow("5901234123457") << u"590123412345"_s << 7;
        QTest::newRow("9780201379624") << u"978020137962"_s << 4;
        QTest::newRow("sum divisible by ten") << u"200000000006"_s << 0;
        QTest::newRow("characters below '0' still give a digit") << u"            "_s << 4;
    }
    void checkDigit()
    {
        QFETCH(QString, first12);
        QFETCH(int, digit);
        QCOMPARE(Ean13CheckDigit(first12), digit);
    }

    void validation_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<Ean13Layout::Kind>("kind");
        QTest::newRow("sample") << Sample << Ean13Layout::Kind::Symbol;
        QTest::newRow("4006381333931") << u"4006381333931"_s << Ean13Layout::Kind::Symbol;
        QTest::newRow("wrong check digit") << u"2000000000016"_s << Ean13Layout::Kind::CrossedBox;
        QTest::newRow("12 characters") << u"200000000001"_s << Ean13Layout::Kind::CrossedBox;
        QTest::newRow("14 characters") << u"20000000000150"_s << Ean13Layout::Kind::CrossedBox;
        QTest::newRow("letter inside, check matches")
                << u"20000000000A7"_s << Ean13Layout::Kind::CrossedBox;
        QTest::newRow("letter as check digit read as 0")
                << u"200000000006X"_s << Ean13Layout::Kind::CrossedBox;
        QTest::newRow("non-ASCII digit")
                << u"\u0662000000000015"_s << Ean13Layout::Kind::CrossedBox;
        QTest::newRow("empty") << QString() << Ean13Layout::Kind::Nothing;
    }
    void validation()
    {
        QFETCH(QString, value);
        QFETCH(Ean13Layout::Kind, kind);
        QCOMPARE(IsValidEan13(value), kind == Ean13Layout::Kind::Symbol);
        QCOMPARE(LayoutEan13(value, 0, 0, 3800, 2000, 96, 96).kind, kind);
    }

    void encode_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("modules");
        QTest::newRow("first digit 0") << u"0012345678905"_s
                                       << u"0001101 0011001 0010011 0111101 0100011 0110001 "
                                          "1010000 1000100 1001000 1110100 1110010 1001110"_s;
        QTest::newRow("first digit 1") << u"1234567890128"_s
                                       << u"0010011 0111101 0011101 0110001 0000101 0010001 "
                                          "1001000 1110100 1110010 1100110 1101100 1001000"_s;
        QTest::newRow("first digit 4") << u"4006381333931"_s
                                       << u"0001101 0100111 0101111 0111101 0001001 0110011 "
                                          "1000010 1000010 1000010 1110100 1000010 1100110"_s;
        QTest::newRow("first digit 5") << u"5901234123457"_s
                                       << u"0001011 0100111 0110011 0010011 0111101 0011101 "
                                          "1100110 1101100 1000010 1011100 1001110 1000100"_s;
        QTest::newRow("first digit 9") << u"9780201379624"_s
                                       << u"0111011 0001001 0100111 0010011 0100111 0011001 "
                                          "1000010 1000100 1110100 1010000 1101100 1011100"_s;
        QTest::newRow("letter leaves its modules blank")
                << u"20000X0000015"_s
                << u"0001101 0001101 0100111 0100111 0000000 0100111 "
                   "1110010 1110010 1110010 1110010 1100110 1001110"_s;
        QTest::newRow("letter first blanks the left half")
                << u"X000000000015"_s
                << u"0000000 0000000 0000000 0000000 0000000 0000000 "
                   "1110010 1110010 1110010 1110010 1100110 1001110"_s;
        QTest::newRow("missing characters are blank")
                << u"200000000"_s
                << u"0001101 0001101 0100111 0100111 0001101 0100111 "
                   "1110010 1110010 0000000 0000000 0000000 0000000"_s;
    }
    void encode()
    {
        QFETCH(QString, value);
        QFETCH(QString, modules);
        QString encoded;
        for (int m : EncodeEan13(value))
            encoded += QChar(u'0' + m);
        QCOMPARE(encoded, modules.remove(u' '));
    }

    void layout_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("pitch");
        QTest::addColumn<bool>("digits");
        QTest::addColumn<int>("innerBottom"); // below the box top
        QTest::addColumn<int>("textTop");
        QTest::newRow("9.99 mm: full bars, no digits") << 3800 << 999 << 40 << false << 999 << 0;
        QTest::newRow("10 mm: digits, bars divided first")
                << 3800 << 1000 << 40 << true << 630 << 636;
        QTest::newRow("22 mm") << 3800 << 2200 << 40 << true << 1400 << 1400;
        QTest::newRow("narrower than 95 units") << 94 << 2000 << 0 << true << 1267 << 1272;
    }
    void layout()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, pitch);
        QFETCH(bool, digits);
        QFETCH(int, innerBottom);
        QFETCH(int, textTop);
        const int left = 500;
        const int top = 300;
        const Ean13Layout layout
                = LayoutEan13(Sample, left, top, left + width, top + height, 96, 96);
        QCOMPARE(layout.pitch, pitch);
        QCOMPARE(layout.digits, digits);
        for (int i = 0; i < Ean13Layout::ModuleCount; ++i) {
            const Ean13Layout::Module &module = layout.modules[i];
            QCOMPARE(module.units.left, left + i * pitch);
            QCOMPARE(module.units.right, left + (i + 1) * pitch);
            QCOMPARE(module.units.top, top);
            const bool guard = i < 3 || i >= 92;
            QCOMPARE(module.units.bottom, top + (guard ? height : innerBottom));
            QCOMPARE(module.bar, SampleSymbol[i] == u'1');
        }
        if (digits) {
            const Ean13Layout::Box &text = layout.textUnits;
            const int d = pitch;
            QCOMPARE(text.left, left + 3 * d);
            QCOMPARE(text.right, left + width - 3 * d);
            QCOMPARE(text.top, top + textTop);
            QCOMPARE(text.bottom, top + height);
        }
        // An inverted box is the same box.
        const Ean13Layout inverted
                = LayoutEan13(Sample, left + width, top + height, left, top, 96, 96);
        QCOMPARE(inverted.modules[94].units.right, layout.modules[94].units.right);
        QCOMPARE(inverted.textUnits.top, layout.textUnits.top);
    }

    void symbolStaysInsideItsBox_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("dpi");
        QTest::newRow("38 mm on screen") << 3800 << 96;
        QTest::newRow("just under two pixels a module") << 5000 << 96;
        QTest::newRow("narrower than 95 pixels") << 2000 << 96;
        QTest::newRow("37.99 mm on a 600 dpi printer") << 3799 << 600;
        QTest::newRow("31.35 mm at 1200 dpi") << 3135 << 1200;
    }
    void symbolStaysInsideItsBox()
    {
        // The item's clip would cut off whatever passes the box: the end guard must be inside,
        // and every module as wide as every other on the device.
        QFETCH(int, width);
        QFETCH(int, dpi);
        const int left = 1234;
        const Ean13Layout layout = LayoutEan13(Sample, left, 0, left + width, 900, dpi, dpi);
        const int x0 = UnitsToPixels(left, dpi);
        const int x1 = UnitsToPixels(left + width, dpi);
        const int pitch = (x1 - x0) / 95;
        QCOMPARE(layout.modules[0].pixels.left(), x0);
        QVERIFY(layout.modules[94].pixels.right() < x1);
        QVERIFY(layout.modules[94].units.right <= left + width);
        for (int i = 0; i < Ean13Layout::ModuleCount; ++i) {
            const QRect &pixels = layout.modules[i].pixels;
            if (pitch > 0)
                QCOMPARE(pixels.width(), pitch);
            if (i > 0)
                QCOMPARE(pixels.left(),
                         layout.modules[i - 1].pixels.left()
                                 + layout.modules[i - 1].pixels.width());
        }
    }

    void symbolPixels()
    {
        // A 9 mm box: no digits, every module runs to the bottom.
        QImage image = Canvas(170, 40);
        Draw(image, Sample, 0, 0, 3800, 900);
        const int bottom = UnitsToPixels(900, 96);
        // 144 pixels wide: one pixel a module.
        for (int x = 0; x < image.width(); ++x) {
            const int module = std::min(x, 95);
            const QRgb expected
                    = module == 95 ? Grey : (SampleSymbol[module] == u'1' ? Black : White);
            QCOMPARE(image.pixel(x, bottom - 1), expected);
            QCOMPARE(image.pixel(x, bottom), Grey);
        }
    }

    void digitsPixels()
    {
        // 22 mm high: bars stop at 1400 units (pixel 53, rounded from 52.9), guards run to
        // 2200 (pixel 83).
        QImage image = Canvas(170, 100);
        Draw(image, Sample, 0, 0, 3800, 2200);
        QCOMPARE(image.pixel(0, 82), Black);
        QCOMPARE(image.pixel(0, 83), Grey);
        const int x = 43; // a bar of the left half's last digit, one pixel a module
        QCOMPARE(image.pixel(x, 52), Black);
        QCOMPARE(image.pixel(x, 53), White); // the digits' background
        int ink = 0;
        for (int y = 53; y < 83; ++y) {
            for (int column = 10; column < 130; ++column)
                ink += image.pixel(column, y) == Black;
        }
        QVERIFY(ink > 50);
    }

    void crossedBox_data()
    {
        QTest::addColumn<QPoint>("offset"); // translation of the painter
        QTest::addColumn<QPoint>("pixel");
        QTest::addColumn<QRgb>("colour");
        // The box 12.7 mm to 38.1 mm covers pixels 48 to 144 on both axes.
        QTest::newRow("top-left corner") << QPoint() << QPoint(48, 48) << Black;
        QTest::newRow("bottom-right corner") << QPoint() << QPoint(144, 144) << Black;
        QTest::newRow("top side") << QPoint() << QPoint(100, 48) << Black;
        QTest::newRow("right side") << QPoint() << QPoint(144, 100) << Black;
        QTest::newRow("bottom side") << QPoint() << QPoint(60, 144) << Black;
        QTest::newRow("left side") << QPoint() << QPoint(48, 130) << Black;
        QTest::newRow("falling diagonal") << QPoint() << QPoint(70, 70) << Black;
        QTest::newRow("rising diagonal") << QPoint() << QPoint(70, 122) << Black;
        QTest::newRow("inside, off the lines") << QPoint() << QPoint(60, 80) << Grey;
        QTest::newRow("outside") << QPoint() << QPoint(150, 150) << Grey;
        QTest::newRow("painter translation is kept") << QPoint(10, 5) << QPoint(58, 53) << Black;
        QTest::newRow("nothing at the untranslated place")
                << QPoint(10, 5) << QPoint(48, 48) << Grey;
    }
    void crossedBox()
    {
        QFETCH(QPoint, offset);
        QFETCH(QPoint, pixel);
        QFETCH(QRgb, colour);
        QImage image = Canvas(160, 160);
        QPainter painter(&image);
        painter.translate(offset);
        DrawEan13(painter, u"2000000000016"_s, 1270, 1270, 3810, 3810);
        painter.end();
        QCOMPARE(image.pixel(pixel), colour);
    }

    void painterState_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("empty") << QString();
        QTest::newRow("invalid") << u"123"_s;
        QTest::newRow("symbol with digits") << Sample;
    }
    void painterState()
    {
        QFETCH(QString, value);
        QImage image = Canvas(170, 100);
        QPainter painter(&image);
        painter.translate(3, 4);
        painter.setPen(QPen(Qt::red, 3));
        painter.setFont(QFont(u"Courier New"_s, 17));
        DrawEan13(painter, value, 0, 0, 3800, 2200);
        QCOMPARE(painter.transform(), QTransform::fromTranslate(3, 4));
        QCOMPARE(painter.pen(), QPen(Qt::red, 3));
        QCOMPARE(painter.font(), QFont(u"Courier New"_s, 17));
        QCOMPARE(painter.backgroundMode(), Qt::TransparentMode);
        painter.end();
        if (value.isEmpty())
            QCOMPARE(image, Canvas(170, 100));
    }
};

VANTEL_TEST_CLASS(Ean13Test)
#include "tst_ean13.moc"
