#include "exactdecimal.h"
#include "testregistry.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The exact decimal that totals and expressions compute in: sums kept to the last decimal,
// quotients to 30 significant digits, nothing through binary floating point.
class TestExactDecimal : public QObject
{
    Q_OBJECT

private slots:
    void exactDecimal_data()
    {
        QTest::addColumn<QStringList>("terms");
        QTest::addColumn<QString>("sum");
        QTest::addColumn<QString>("average");
        QTest::newRow("binary drift") << QStringList {u"0.1"_s, u"0.2"_s} << u"0.3"_s << u"0.15"_s;
        QTest::newRow("most decimals kept") << QStringList {u"325.45"_s, u"10"_s, u"0.05"_s}
                                            << u"335.50"_s << u"111.833333333333333333333333333"_s;
        QTest::newRow("cancelling out")
                << QStringList {u"325.45"_s, u"-325.45"_s} << u"0.00"_s << u"0.00"_s;
        QTest::newRow("exponent and blanks")
                << QStringList {u" 1e3"_s, u"+2.5E-1 "_s} << u"1000.25"_s << u"500.125"_s;
        QTest::newRow("thirty digits")
                << QStringList {u"12345678901234567890.123456789"_s, u"0.000000001"_s}
                << u"12345678901234567890.123456790"_s << u"6172839450617283945.061728395"_s;
        QTest::newRow("thirds") << QStringList {u"1"_s, u"1"_s, u"2"_s} << u"4"_s
                                << u"1.33333333333333333333333333333"_s;
        QTest::newRow("38 digits, once")
                << QStringList {u"9"_s.repeated(38)} << u"9"_s.repeated(38) << u"9"_s.repeated(38);
        QTest::newRow("38 digits, twice")
                << QStringList {u"9"_s.repeated(38), u"9"_s.repeated(38)} << QString() << QString();
        QTest::newRow("no number") << QStringList {u"12abc"_s} << QString() << QString();
        QTest::newRow("two points") << QStringList {u"1.2.3"_s} << QString() << QString();
        QTest::newRow("empty exponent") << QStringList {u"1e"_s} << QString() << QString();
        QTest::newRow("39 digits") << QStringList {u"123456789012345678901234567890123456789"_s}
                                   << QString() << QString();
    }
    void exactDecimal()
    {
        QFETCH(QStringList, terms);
        QFETCH(QString, sum);
        QFETCH(QString, average);
        CExactDecimal total;
        for (const QString &term : terms) {
            CExactDecimal number;
            if (!CExactDecimal::FromText(term, number)) {
                QVERIFY2(sum.isEmpty(), qPrintable(term));
                return;
            }
            if (!total.Add(number)) {
                QVERIFY2(sum.isEmpty(), "the sum has more than 38 digits");
                return;
            }
        }
        QCOMPARE(total.ToString(), sum);
        QCOMPARE(total.DividedBy(terms.size()).ToString(), average);
    }

    void arithmetic_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("result"); // empty: the operation fails
        const QString nines38 = u"9"_s.repeated(38);
        QTest::newRow("binary drift") << u"0.1"_s << u"+"_s << u"0.2"_s << u"0.3"_s;
        QTest::newRow("difference keeps decimals") << u"10"_s << u"-"_s << u"0.25"_s << u"9.75"_s;
        QTest::newRow("product keeps the decimals of both")
                << u"12.50"_s << u"*"_s << u"2"_s << u"25.00"_s;
        QTest::newRow("line amount") << u"4.62"_s << u"*"_s << u"3"_s << u"13.86"_s;
        QTest::newRow("product beyond 64 bits")
                << u"1234567890123456789.5"_s << u"*"_s << u"1234567890123456789"_s
                << u"1524157875323883675636335943811918915.5"_s;
        QTest::newRow("a third to 30 digits")
                << u"1"_s << u"/"_s << u"3"_s << u"0."_s + u"3"_s.repeated(30);
        QTest::newRow("two thirds round up")
                << u"2"_s << u"/"_s << u"3"_s << u"0."_s + u"6"_s.repeated(29) + u"7"_s;
        QTest::newRow("exact quotient loses its zeros") << u"10"_s << u"/"_s << u"4"_s << u"2.5"_s;
        QTest::newRow("but keeps the dividend's decimals")
                << u"10.00"_s << u"/"_s << u"4"_s << u"2.50"_s;
        QTest::newRow("negative quotient") << u"-7"_s << u"/"_s << u"2"_s << u"-3.5"_s;
        QTest::newRow("by a small fraction") << u"1"_s << u"/"_s << u"0.001"_s << u"1000"_s;
        QTest::newRow("large quotient keeps its whole digits")
                << u"1e20"_s << u"/"_s << u"3"_s << u"33333333333333333333.3333333333"_s;
        QTest::newRow("division by zero") << u"1"_s << u"/"_s << u"0"_s << QString();
        QTest::newRow("quotient too large") << u"1e37"_s << u"/"_s << u"1e-37"_s << QString();
        QTest::newRow("sum past 38 digits") << nines38 << u"+"_s << u"1"_s << QString();
        QTest::newRow("product past 38 digits") << u"1e20"_s << u"*"_s << u"1e20"_s << QString();
        QTest::newRow("decimals rounded to fit")
                << u"0."_s + nines38 << u"+"_s << u"1"_s << u"2."_s + u"0"_s.repeated(37);
        QTest::newRow("remainder") << u"7"_s << u"%"_s << u"3"_s << u"1"_s;
        QTest::newRow("remainder takes the dividend's sign")
                << u"-7"_s << u"%"_s << u"3"_s << u"-1"_s;
        QTest::newRow("remainder of decimals") << u"7.5"_s << u"%"_s << u"2"_s << u"1.5"_s;
        QTest::newRow("remainder by zero") << u"7"_s << u"%"_s << u"0"_s << QString();
    }
    void arithmetic()
    {
        QFETCH(QString, a);
        QFETCH(QString, op);
        QFETCH(QString, b);
        QFETCH(QString, result);
        CExactDecimal x;
        CExactDecimal y;
        QVERIFY(CExactDecimal::FromText(a, x));
        QVERIFY(CExactDecimal::FromText(b, y));
        CExactDecimal z;
        const bool done = op == u"+" ? x.Plus(y, z)
                : op == u"-"         ? x.Minus(y, z)
                : op == u"*"         ? x.Times(y, z)
                : op == u"/"         ? x.Divide(y, z)
                                     : x.Modulo(y, z);
        QCOMPARE(done, !result.isEmpty());
        if (done)
            QCOMPARE(z.ToString(), result);
    }

    void rounding_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("rounded");
        QTest::addColumn<QString>("floor");
        QTest::addColumn<QString>("ceiling");
        QTest::newRow("half away from zero") << u"2.5"_s << 0 << u"3"_s << u"2"_s << u"3"_s;
        QTest::newRow("negative half") << u"-2.5"_s << 0 << u"-3"_s << u"-3"_s << u"-2"_s;
        QTest::newRow("to one decimal") << u"2.45"_s << 1 << u"2.5"_s << u"2"_s << u"3"_s;
        QTest::newRow("padded to the decimals") << u"2.5"_s << 2 << u"2.50"_s << u"2"_s << u"3"_s;
        QTest::newRow("to hundreds") << u"1250"_s << -2 << u"1300"_s << u"1250"_s << u"1250"_s;
        QTest::newRow("small to zero") << u"0.004"_s << 2 << u"0.00"_s << u"0"_s << u"1"_s;
        QTest::newRow("small negative") << u"-0.005"_s << 2 << u"-0.01"_s << u"-1"_s << u"0"_s;
        QTest::newRow("rounding carries a digit")
                << u"9.99"_s << 1 << u"10.0"_s << u"9"_s << u"10"_s;
    }
    void rounding()
    {
        QFETCH(QString, value);
        QFETCH(int, decimals);
        CExactDecimal x;
        QVERIFY(CExactDecimal::FromText(value, x));
        CExactDecimal result;
        QVERIFY(x.Rounded(decimals, result));
        QTEST(result.ToString(), "rounded");
        QVERIFY(x.Floor(result));
        QTEST(result.ToString(), "floor");
        QVERIFY(x.Ceiling(result));
        QTEST(result.ToString(), "ceiling");
    }
};

VANTEL_TEST_CLASS(TestExactDecimal)
#include "tst_exactdecimal.moc"
