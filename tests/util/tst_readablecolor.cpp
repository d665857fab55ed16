#include "readablecolor.h"
#include "testregistry.h"

#include <QTest>

// Fixed text colours on light and dark backgrounds.
class TestReadableColor : public QObject
{
    Q_OBJECT

private slots:
    void readable_data()
    {
        QTest::addColumn<quint32>("colour");
        QTest::addColumn<quint32>("background");
        QTest::addColumn<quint32>("expected");
        // 0x00BBGGRR throughout.
        QTest::newRow("light background keeps blue") << 0x00FF0000u << 0x00FFFFFFu << 0x00FF0000u;
        QTest::newRow("light grey background keeps navy")
                << 0x00800000u << 0x00F0F0F0u << 0x00800000u;
        QTest::newRow("dark background lightens blue") << 0x00FF0000u << 0x00202020u << 0x00FF9999u;
        QTest::newRow("dark background lightens dark green")
                << 0x00008000u << 0x00303030u << 0x0066FF66u;
        QTest::newRow("dark background lightens black to grey")
                << 0x00000000u << 0x00000000u << 0x00999999u;
        QTest::newRow("white stays white") << 0x00FFFFFFu << 0x00000000u << 0x00FFFFFFu;
    }
    void readable()
    {
        QFETCH(quint32, colour);
        QFETCH(quint32, background);
        QFETCH(quint32, expected);
        QCOMPARE(ReadableColorRef(colour, background), expected);
    }
};

VANTEL_TEST_CLASS(TestReadableColor)
#include "tst_readablecolor.moc"
