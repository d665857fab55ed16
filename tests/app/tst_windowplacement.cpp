#include "testregistry.h"
#include "windowplacement.h"

#include <QTest>

class TestWindowPlacement : public QObject
{
    Q_OBJECT

private slots:
    void firstWindowRect_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("1600 x 1000") << QRect(0, 0, 1600, 1000) << QRect(160, 100, 1280, 800);
        // A panel takes the top of the screen; a second screen lies right of the first.
        QTest::newRow("below a panel") << QRect(0, 32, 1920, 1048) << QRect(192, 137, 1536, 838);
        QTest::newRow("second screen") << QRect(1920, 0, 1280, 1024) << QRect(2048, 102, 1024, 819);
        QTest::newRow("odd sizes") << QRect(0, 0, 1001, 767) << QRect(100, 77, 800, 613);
    }

    void firstWindowRect()
    {
        QFETCH(QRect, available);
        QFETCH(QRect, expected);
        const QRect rect = WindowPlacement::FirstWindowRect(available);
        QCOMPARE(rect, expected);
        QVERIFY(available.contains(rect));
    }
};

VANTEL_TEST_CLASS(TestWindowPlacement)
#include "tst_windowplacement.moc"
