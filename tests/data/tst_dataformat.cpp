#include "dataformat.h"
#include "testregistry.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestDataFormat : public QObject
{
    Q_OBJECT

private slots:
    void format_data();
    void format();
    void refused_data();
    void refused();
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
    QTest::newRow("d of a large integer") << u"%d"_s << QVariant(1234567890123LL)
                                          << u"1234567890123"_s;
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
    QTest::newRow("length letters are ignored") << u"%lld"_s << QVariant(5) << u"5"_s;
    QTest::newRow("width 255") << u"%255d"_s << QVariant(1) << QString(254, u' ') + u"1"_s;
    QTest::newRow("precision 255") << u"%.255f"_s << QVariant(1.5) << u"1.5"_s + QString(254, u'0');
    QTest::newRow("largest double")
            << u"%.0f"_s << QVariant(1.7976931348623157e308)
            << QString::fromUtf16(u"17976931348623157081452742373170435679807056752584499659891747680315726078002853"
                       u"87605895586327668781715404589535143824642343213268894641827684675467035375169860"
                       u"49910576551282076245490090389328944075868508455133942304583236903222948165808559"
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
    QTest::newRow("precision above 255") << u"%.256f"_s
                                         << u"the precision in \"%.256\" is above 255"_s;
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

VANTEL_TEST_CLASS(TestDataFormat)
#include "tst_dataformat.moc"
