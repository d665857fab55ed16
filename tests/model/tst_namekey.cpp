#include "namekey.h"
#include "testregistry.h"

#include <QTest>

// Names as case-blind hash keys: equal keys must hash alike, or a duplicate
// name would slip through validation.
class TestNameKey : public QObject
{
    Q_OBJECT

private slots:
    void equalNamesHashAlike_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("equal");
        QTest::newRow("ascii") << QStringLiteral("Report Contents 1")
                               << QStringLiteral("report CONTENTS 1") << true;
        QTest::newRow("latin letters")
                << QStringLiteral("Ärger") << QStringLiteral("äRGER") << true;
        QTest::newRow("cyrillic") << QStringLiteral("Итого") << QStringLiteral("ИТОГО") << true;
        QTest::newRow("outside the basic plane")
                << QString::fromUcs4(U"\U00010400x") << QString::fromUcs4(U"\U00010428X") << true;
        QTest::newRow("different") << QStringLiteral("Total") << QStringLiteral("Totals") << false;
        QTest::newRow("empty") << QString() << QStringLiteral("") << true;
    }
    void equalNamesHashAlike()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, equal);
        // The key agrees with the comparison every other name check uses.
        QCOMPARE(a.compare(b, Qt::CaseInsensitive) == 0, equal);
        QCOMPARE(CNameKey {a} == CNameKey {b}, equal);
        if (equal)
            QCOMPARE(qHash(CNameKey {a}, 7), qHash(CNameKey {b}, 7));
    }
};

VANTEL_TEST_CLASS(TestNameKey)
#include "tst_namekey.moc"
