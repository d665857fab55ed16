#include "dialogunits.h"
#include "testregistry.h"

#include <QTest>

// Dialog units to pixels: edges rounded one by one, so neighbours stay neighbours.
class TestDialogUnits : public QObject
{
    Q_OBJECT

private slots:
    void toPixels_data()
    {
        QTest::addColumn<int>("lettersWidth");
        QTest::addColumn<int>("lineHeight");
        QTest::addColumn<QRect>("units");
        QTest::addColumn<QRect>("pixels");
        // 52 letters 364 px wide: 7 px a character; 16 px a line.
        QTest::newRow("origin") << 364 << 16 << QRect(0, 0, 4, 8) << QRect(0, 0, 7, 16);
        QTest::newRow("rounded edges")
                << 364 << 16 << QRect(7, 6, 303, 155) << QRect(QPoint(12, 12), QPoint(542, 321));
        QTest::newRow("average width rounds to nearest")
                << 390 << 13 << QRect(0, 0, 4, 8) << QRect(0, 0, 8, 13);
        QTest::newRow("degenerate font") << 0 << 0 << QRect(0, 0, 8, 8) << QRect(0, 0, 2, 1);
    }
    void toPixels()
    {
        QFETCH(int, lettersWidth);
        QFETCH(int, lineHeight);
        QFETCH(QRect, units);
        QFETCH(QRect, pixels);
        QCOMPARE(CDialogUnits(lettersWidth, lineHeight).ToPixels(units), pixels);
    }

    void neighboursShareAnEdge()
    {
        // OK at x 206 and Cancel at x 260, each 50 wide: 4 units apart in both.
        const CDialogUnits units(371, 15);
        const QRect ok = units.ToPixels(206, 163, 50, 14);
        const QRect cancel = units.ToPixels(260, 163, 50, 14);
        QCOMPARE(cancel.left() - ok.right() - 1, units.ToPixelsX(260) - units.ToPixelsX(256));
        QCOMPARE(ok.bottom(), cancel.bottom());
    }
};

VANTEL_TEST_CLASS(TestDialogUnits)
#include "tst_dialogunits.moc"
