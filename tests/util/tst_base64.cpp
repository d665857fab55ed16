#include "base64.h"
#include "testregistry.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestBase64 : public QObject
{
    Q_OBJECT

private slots:
    void encode_data();
    void encode();
    void decode_data();
    void decode();
    void roundTrip_data();
    void roundTrip();
};

void TestBase64::encode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("no bytes give no text") << QByteArray() << QByteArray();
    QTest::newRow("one byte: two characters and ==") << QByteArray("M") << QByteArray("TQ==");
    QTest::newRow("two bytes: three characters and =") << QByteArray("Ma") << QByteArray("TWE=");
    QTest::newRow("three bytes: four characters") << QByteArray("Man") << QByteArray("TWFu");
    QTest::newRow("high bits and both extra characters")
            << QByteArray::fromHex("00fbff") << QByteArray("APv/");
    QTest::newRow("several groups and a partial one")
            << QByteArray("hello world") << QByteArray("aGVsbG8gd29ybGQ=");
}

void TestBase64::encode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, text);
    QCOMPARE(Base64Encode(bytes), text);
}

void TestBase64::decode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("full groups") << u"aGVsbG8g"_s << QByteArray("hello ");
    QTest::newRow("padding ends the run") << u"TQ==TWFu"_s << QByteArray("M");
    QTest::newRow("trailing two characters give one byte") << u"TQ"_s << QByteArray("M");
    QTest::newRow("trailing three characters give two bytes") << u"TWE"_s << QByteArray("Ma");
    QTest::newRow("trailing single character gives its six bits")
            << u"TWFuT"_s << QByteArray("Man\x4C");
    QTest::newRow("leading spaces and tabs are skipped") << u" \t \tTWFu"_s << QByteArray("Man");
    QTest::newRow("a leading line break is not skipped") << u"\nTWFu"_s << QByteArray();
    QTest::newRow("only the first line of a wrapped text")
            << u"TWFu\r\nTWFu"_s << QByteArray("Man");
    QTest::newRow("NUL ends the run") << QStringLiteral("TWFu\0TWFu") << QByteArray("Man");
    QTest::newRow("a blank inside ends the run") << u"TWFu TWFu"_s << QByteArray("Man");
    // U+0141 has 0x41 ('A') as its low byte: it must not pass for a letter.
    QTest::newRow("a character above U+007F ends the run")
            << u"TWFu\u0141AAA"_s << QByteArray("Man");
    QTest::newRow("high bits") << u"APv/"_s << QByteArray::fromHex("00fbff");
}

void TestBase64::decode()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    const QByteArray decoded = Base64Decode(text);
    QCOMPARE(decoded, bytes);
    // Callers may treat the result as a NUL-terminated buffer.
    QCOMPARE(decoded.constData()[decoded.size()], '\0');
    // The same text as UTF-8, as the template reader passes it.
    const QByteArray fromUtf8 = Base64Decode(QByteArrayView(text.toUtf8()));
    QCOMPARE(fromUtf8, bytes);
    QCOMPARE(fromUtf8.constData()[fromUtf8.size()], '\0');
}

void TestBase64::roundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    QTest::newRow("every byte value") << all;
    QTest::newRow("every value less one byte") << all.left(255);
    QTest::newRow("every value less two bytes") << all.left(254);
    QTest::newRow("100 bytes") << all.mid(100, 100);
}

void TestBase64::roundTrip()
{
    QFETCH(QByteArray, bytes);
    const QByteArray text = Base64Encode(bytes);
    QCOMPARE(text.size() % 4, 0);
    QCOMPARE(Base64Decode(QString::fromLatin1(text)), bytes);
    QCOMPARE(Base64Decode(QByteArrayView(text)), bytes);
}

VANTEL_TEST_CLASS(TestBase64)
#include "tst_base64.moc"
