#include "dataformat.h"
#include "testregistry.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <cstdio>

using namespace Qt::StringLiterals;

class TestDataFormat : public QObject
{
    Q_OBJECT

private slots:
    void format_data();
    void format();
    void refused_data();
    void refused();
    void matchesTheCLibrary();
};

void TestDataFormat::format_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");
    const QVariant null;
    QTest::newRow("empty format, number") << QString() << QVariant(42) << u"42"_s;
    QTest::newRow("empty format, text") << QString() << QVariant(u"abc"_s) << u"abc"_s;
    QTest::newRow("empty format, NULL") << QString() << null << QString();
    QTest::newRow("d") << u"%d"_s << QVariant(42) << u"42"_s;
    QTest::newRow("i, negative") << u"%i"_s << QVariant(-7LL) << u"-7"_s;
    QTest::newRow("width") << u"%5d"_s << QVariant(42) << u"   42"_s;
    QTest::newRow("left aligned") << u"%-5d|"_s << QVariant(42) << u"42   |"_s;
    QTest::newRow("zero padded") << u"%05d"_s << QVariant(42) << u"00042"_s;
    QTest::newRow("plus sign") << u"%+d"_s << QVariant(3) << u"+3"_s;
    QTest::newRow("d of a numeric text") << u"%d"_s << QVariant(u" 17 "_s) << u"17"_s;
    QTest::newRow("d of a decimal text cuts") << u"%d"_s << QVariant(u"2.9"_s) << u"2"_s;
    QTest::newRow("d of a text that is no number") << u"%d"_s << QVariant(u"abc"_s) << u"0"_s;
    QTest::newRow("d of NULL") << u"%d"_s << null << u"0"_s;
    QTest::newRow("d of a fraction cuts toward zero") << u"%d"_s << QVariant(-3.9) << u"-3"_s;
    QTest::newRow("d of a huge number is clamped")
            << u"%d"_s << QVariant(1e30) << u"9223372036854775807"_s;
    QTest::newRow("d of a large integer")
            << u"%d"_s << QVariant(1234567890123LL) << u"1234567890123"_s;
    QTest::newRow("u of a negative") << u"%u"_s << QVariant(-1) << u"18446744073709551615"_s;
    QTest::newRow("x") << u"%x"_s << QVariant(255) << u"ff"_s;
    QTest::newRow("X with #") << u"%#X"_s << QVariant(255) << u"0XFF"_s;
    QTest::newRow("o") << u"%o"_s << QVariant(8) << u"10"_s;
    QTest::newRow("f with precision") << u"%.2f"_s << QVariant(3.14159) << u"3.14"_s;
    QTest::newRow("F of a text") << u"%F"_s << QVariant(u"2.5"_s) << u"2.500000"_s;
    QTest::newRow("f of an integer") << u"%8.1f"_s << QVariant(7) << u"     7.0"_s;
    QTest::newRow("e") << u"%e"_s << QVariant(12345.678) << u"1.234568e+04"_s;
    QTest::newRow("E") << u"%.2E"_s << QVariant(0.5) << u"5.00E-01"_s;
    QTest::newRow("g") << u"%g"_s << QVariant(0.0001) << u"0.0001"_s;
    QTest::newRow("G") << u"%G"_s << QVariant(1e-10) << u"1E-10"_s;
    QTest::newRow("s") << u"[%s]"_s << QVariant(u"Müller"_s) << u"[Müller]"_s;
    QTest::newRow("s with precision") << u"%.3s"_s << QVariant(u"abcdef"_s) << u"abc"_s;
    QTest::newRow("s left in a width") << u"%-6s|"_s << QVariant(u"ab"_s) << u"ab    |"_s;
    QTest::newRow("s of a number") << u"%s"_s << QVariant(2.5) << u"2.5"_s;
    QTest::newRow("s of NULL") << u"<%s>"_s << null << u"<>"_s;
    QTest::newRow("c of a number") << u"%c"_s << QVariant(65) << u"A"_s;
    QTest::newRow("c of a text") << u"%3c"_s << QVariant(u"xyz"_s) << u"  x"_s;
    QTest::newRow("literal around") << u"Total: %.2f EUR"_s << QVariant(5) << u"Total: 5.00 EUR"_s;
    QTest::newRow("percent signs") << u"%d%% of 100%%"_s << QVariant(50) << u"50% of 100%"_s;
    QTest::newRow("no conversion") << u"n/a"_s << QVariant(5) << u"n/a"_s;
    QTest::newRow("space flag") << u"% d"_s << QVariant(3) << u" 3"_s;
    QTest::newRow("hh narrows to a char") << u"%hhd"_s << QVariant(300) << u"44"_s;
    QTest::newRow("h narrows to a short") << u"%hu"_s << QVariant(70000) << u"4464"_s;
    QTest::newRow("hh of a negative, unsigned") << u"%hhx"_s << QVariant(-1) << u"ff"_s;
    QTest::newRow("h wraps to negative") << u"%hd"_s << QVariant(32768) << u"-32768"_s;
    QTest::newRow("h of a text") << u"%hi"_s << QVariant(u"65537"_s) << u"1"_s;
    QTest::newRow("ll keeps 64 bits") << u"%lld"_s << QVariant(5000000000LL) << u"5000000000"_s;
    QTest::newRow("j") << u"%jd"_s << QVariant(-5) << u"-5"_s;
    QTest::newRow("z") << u"%zu"_s << QVariant(7) << u"7"_s;
    QTest::newRow("t") << u"%5td"_s << QVariant(7) << u"    7"_s;
    QTest::newRow("L") << u"%.1Lf"_s << QVariant(2.25) << u"2.2"_s;
    QTest::newRow("l before s") << u"%ls"_s << QVariant(u"ab"_s) << u"ab"_s;
    QTest::newRow("width 63") << u"%63d"_s << QVariant(1) << QString(62, u' ') + u"1"_s;
    QTest::newRow("width 64") << u"%64d"_s << QVariant(1) << QString(63, u' ') + u"1"_s;
    QTest::newRow("width 255") << u"%255d"_s << QVariant(1) << QString(254, u' ') + u"1"_s;
    QTest::newRow("precision 255") << u"%.255f"_s << QVariant(1.5) << u"1.5"_s + QString(254, u'0');
    QTest::newRow("largest double")
            << u"%.0f"_s << QVariant(1.7976931348623157e308)
            << QString::fromUtf16(
                       u"17976931348623157081452742373170435679807056752584499659891747680315726078"
                       u"002853"
                       u"87605895586327668781715404589535143824642343213268894641827684675467035375"
                       u"169860"
                       u"49910576551282076245490090389328944075868508455133942304583236903222948165"
                       u"808559"
                       u"332123348274797826204144723168738177180919299881250404026184124858368");
}

void TestDataFormat::format()
{
    QFETCH(QString, format);
    QFETCH(QVariant, value);
    QFETCH(QString, expected);
    CDataFormat parsed;
    QString problem;
    QVERIFY2(CDataFormat::Parse(format, parsed, problem), qPrintable(problem));
    QCOMPARE(parsed.Format(value), expected);
}

void TestDataFormat::refused_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("problem");
    QTest::newRow("%n") << u"%n"_s << u"\"%n\" is not an allowed conversion"_s;
    QTest::newRow("star width") << u"%*d"_s << u"\"%*\" is not an allowed conversion"_s;
    QTest::newRow("argument number") << u"%1$d"_s << u"\"%1$\" is not an allowed conversion"_s;
    QTest::newRow("unknown letter") << u"%5.2q"_s << u"\"%5.2q\" is not an allowed conversion"_s;
    QTest::newRow("pointer") << u"%p"_s << u"\"%p\" is not an allowed conversion"_s;
    QTest::newRow("two conversions") << u"%d of %d"_s << u"a format may hold only one conversion"_s;
    QTest::newRow("width above 255") << u"%256d"_s << u"the width in \"%256\" is above 255"_s;
    QTest::newRow("huge width") << u"%99999999999999999999d"_s
                                << u"the width in \"%99999999999999999999\" is above 255"_s;
    QTest::newRow("precision above 255")
            << u"%.256f"_s << u"the precision in \"%.256\" is above 255"_s;
    QTest::newRow("cut off") << u"Total %-5"_s << u"\"%-5\" at the end is not a whole conversion"_s;
}

void TestDataFormat::refused()
{
    QFETCH(QString, format);
    QFETCH(QString, problem);
    CDataFormat parsed;
    QString text;
    QVERIFY(!CDataFormat::Parse(format, parsed, text));
    QCOMPARE(text, problem);
}

void TestDataFormat::matchesTheCLibrary()
{
    // Random conversions with flags, width, precision and length, against the C library's own
    // snprintf given the value in the type that C would pass.
    QRandomGenerator random(20240607);
    const QByteArray flagSet = "-+ #0";
    const char *integerLengths[] = {"", "hh", "h", "l", "ll", "j", "z", "t"};
    const char *floatingLengths[] = {"", "l", "L"};
    for (int round = 0; round < 3000; ++round) {
        const bool integer = random.bounded(2) == 0;
        const char conversion = integer ? "diuxXo"[random.bounded(6)] : "eEfFgG"[random.bounded(6)];
        QByteArray head = "%";
        for (int i = random.bounded(3); i > 0; --i)
            head += flagSet.at(random.bounded(flagSet.size()));
        if (random.bounded(2))
            head += QByteArray::number(random.bounded(30));
        if (random.bounded(2))
            head += '.' + QByteArray::number(random.bounded(integer ? 25 : 40));
        const QByteArray length
                = integer ? integerLengths[random.bounded(8)] : floatingLengths[random.bounded(3)];
        const QByteArray format = head + length + conversion;
        char expected[512];
        QVariant value;
        if (integer) {
            const int digits = random.bounded(19);
            qint64 number = qint64(random.generate64() % quint64(std::pow(10.0, digits) + 1));
            if (random.bounded(2))
                number = -number;
            value = number;
            // C passes an int for hh, h and no length; the 64-bit forms take the value whole.
            if (length == "hh" || length == "h")
                std::snprintf(expected, sizeof expected, format.constData(), int(number));
            else
                std::snprintf(expected, sizeof expected, (head + "ll" + conversion).constData(),
                              number);
        } else {
            const double number
                    = (random.generateDouble() - 0.5) * std::pow(10.0, random.bounded(-8, 20));
            value = number;
            if (length == "L")
                std::snprintf(expected, sizeof expected, format.constData(), (long double)number);
            else
                std::snprintf(expected, sizeof expected, format.constData(), number);
        }
        CDataFormat parsed;
        QString problem;
        QVERIFY2(CDataFormat::Parse(QString::fromLatin1(format), parsed, problem),
                 format.constData());
        QCOMPARE(parsed.Format(value), QString::fromLatin1(expected));
    }
}

VANTEL_TEST_CLASS(TestDataFormat)
#include "tst_dataformat.moc"
