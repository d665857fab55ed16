#include "numbertext.h"
#include "testregistry.h"

#include <QTest>

#include <climits>

using namespace Qt::StringLiterals;

class TestNumberText : public QObject
{
    Q_OBJECT

private slots:
    void readInt_data();
    void readInt();
    void readColor_data();
    void readColor();
    void intTextRoundTrip_data();
    void intTextRoundTrip();
};

void TestNumberText::readInt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    const QString manyDigits(1000, u'9');
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("not a number") << u"abc"_s << 0;
    QTest::newRow("a sign alone") << u"-"_s << 0;
    QTest::newRow("two signs") << u"+-5"_s << 0;
    QTest::newRow("leading white space") << u" \t\r\n 42"_s << 42;
    QTest::newRow("digits up to the first other character") << u"-17abc"_s << -17;
    QTest::newRow("a blank ends the digits") << u"12 34"_s << 12;
    QTest::newRow("plus sign") << u"+5"_s << 5;
    QTest::newRow("leading zeros") << u"000000000000000000000000123"_s << 123;
    QTest::newRow("only ASCII digits") << u"\uFF11\uFF12"_s << 0;
    QTest::newRow("largest int") << u"2147483647"_s << INT_MAX;
    QTest::newRow("one above is clamped") << u"2147483648"_s << INT_MAX;
    QTest::newRow("smallest int") << u"-2147483648"_s << INT_MIN;
    QTest::newRow("one below is clamped") << u"-2147483649"_s << INT_MIN;
    QTest::newRow("a thousand digits") << manyDigits << INT_MAX;
    QTest::newRow("a thousand digits, negative") << u"-"_s + manyDigits << INT_MIN;
}

void TestNumberText::readInt()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(ReadInt(text), value);
    QCOMPARE(ReadInt(QByteArrayView(text.toUtf8())), value);
}

void TestNumberText::readColor_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("value");
    QTest::newRow("white") << u"16777215"_s << quint32(0xFFFFFF);
    QTest::newRow("above the int range") << u"3000000000"_s << quint32(3000000000u);
    QTest::newRow("largest") << u"4294967295"_s << quint32(0xFFFFFFFF);
    QTest::newRow("one above is clamped") << u"4294967296"_s << quint32(0xFFFFFFFF);
    QTest::newRow("a thousand digits") << QString(1000, u'7') << quint32(0xFFFFFFFF);
    QTest::newRow("white space and a tail") << u"  255px"_s << quint32(255);
    QTest::newRow("minus one is all bits") << u"-1"_s << quint32(0xFFFFFFFF);
    QTest::newRow("smallest int") << u"-2147483648"_s << quint32(0x80000000);
    QTest::newRow("below the int range is clamped first")
            << u"-99999999999"_s << quint32(0x80000000);
    QTest::newRow("not a number") << u"red"_s << quint32(0);
}

void TestNumberText::readColor()
{
    QFETCH(QString, text);
    QFETCH(quint32, value);
    QCOMPARE(ReadColor(text), value);
    QCOMPARE(ReadColor(QByteArrayView(text.toUtf8())), value);
}

void TestNumberText::intTextRoundTrip_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0 << u"0"_s;
    QTest::newRow("negative") << -250 << u"-250"_s;
    QTest::newRow("smallest") << INT_MIN << u"-2147483648"_s;
    QTest::newRow("largest") << INT_MAX << u"2147483647"_s;
}

void TestNumberText::intTextRoundTrip()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(IntText(value), text);
    QCOMPARE(ReadInt(text), value);
}

VANTEL_TEST_CLASS(TestNumberText)
#include "tst_numbertext.moc"
