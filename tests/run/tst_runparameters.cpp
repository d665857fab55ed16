#include "runparameters.h"
#include "runtestsupport.h"
#include "testregistry.h"

#include <QTest>

using namespace RunTest;
using namespace Qt::StringLiterals;

using ParameterRows = QList<QStringList>;

// Gathering the parameters from the queries, carrying stored values over, and
// deciding whether the user changed any value.
class TestRunParameters : public QObject
{
    Q_OBJECT

private slots:
    void gather_data()
    {
        // Each band is "name|own query|DB Text query|DB Text query...".
        QTest::addColumn<QStringList>("bands");
        QTest::addColumn<ParameterRows>("expected");
        QTest::addColumn<QString>("message");

        QTest::newRow("band query, then its DB Text items")
                << QStringList {u"Lines|SELECT * FROM t WHERE a = {A}|SELECT {B}|SELECT {C}"_s}
                << ParameterRows {{u"Lines"_s, u"A"_s, {}},
                                  {u"Lines"_s, u"B"_s, {}},
                                  {u"Lines"_s, u"C"_s, {}}}
                << QString();
        QTest::newRow("a name repeated in a band keeps its first spelling")
                << QStringList {u"Lines|{Id} {x}|SELECT {ID}|{X}"_s}
                << ParameterRows {{u"Lines"_s, u"Id"_s, {}}, {u"Lines"_s, u"x"_s, {}}} << QString();
        QTest::newRow("the same name in two bands gives two parameters")
                << QStringList {u"Header|{Id}"_s, u"Lines|{id}"_s}
                << ParameterRows {{u"Header"_s, u"Id"_s, {}}, {u"Lines"_s, u"id"_s, {}}}
                << QString();
        QTest::newRow("braces in quotes are no entries")
                << QStringList {u"Lines|SELECT '{a}' FROM t|"_s} << ParameterRows {} << QString();
        QTest::newRow("no queries")
                << QStringList {u"Lines|"_s, u"Footer|"_s} << ParameterRows {} << QString();
        QTest::newRow("a close bracket without an open one")
                << QStringList {u"Lines|{A}"_s, u"Footer|SELECT }"_s} << ParameterRows {}
                << u"A close bracket without an open one in position 7"_s;
        QTest::newRow("two open brackets in a DB Text query")
                << QStringList {u"Lines|{A}|{b {c}"_s} << ParameterRows {}
                << u"Two open brackets in positions 0 and 3"_s;
    }

    void gather()
    {
        QFETCH(QStringList, bands);
        QFETCH(ParameterRows, expected);
        QFETCH(QString, message);

        CVornDocument document;
        for (const QString &description : bands) {
            const QStringList parts = description.split(u'|');
            CVornBand *band = AddBand(document, parts[0], parts[1]);
            for (qsizetype i = 2; i < parts.size(); ++i)
                AddDbText(band, u"Field %1"_s.arg(i), parts[i]);
        }
        CVornParameters gathered;
        QString error;
        QCOMPARE(RunParameters::Gather(document.GetReport(), gathered, error), message.isEmpty());
        QCOMPARE(error, message);
        if (message.isEmpty())
            QCOMPARE(Rows(gathered), expected);
    }

    void carryOverMatchesIgnoringCase()
    {
        CVornParameters gathered = Parameters(
                {{u"Lines"_s, u"Id"_s}, {u"Lines"_s, u"From"_s}, {u"Header"_s, u"Id"_s}});
        const CVornParameters stored = Parameters({{u"LINES"_s, u"id"_s, u"42"_s},
                                                   {u"Gone"_s, u"From"_s, u"2020"_s},
                                                   {u"header"_s, u"ID"_s, u"Mixed Case"_s}});
        RunParameters::CarryOver(stored, gathered);
        QCOMPARE(Rows(gathered),
                 (ParameterRows {{u"Lines"_s, u"Id"_s, u"42"_s},
                                 {u"Lines"_s, u"From"_s, {}},
                                 {u"Header"_s, u"Id"_s, u"Mixed Case"_s}}));
    }

    void sameValues_data()
    {
        QTest::addColumn<ParameterRows>("a");
        QTest::addColumn<ParameterRows>("b");
        QTest::addColumn<bool>("same");

        const ParameterRows base {{u"Lines"_s, u"Id"_s, u"abc"_s}, {u"Lines"_s, u"Empty"_s, {}}};
        QTest::newRow("identical") << base << base << true;
        QTest::newRow("value differs only in letter case")
                << base
                << ParameterRows {{u"Lines"_s, u"Id"_s, u"ABC"_s}, {u"Lines"_s, u"Empty"_s, {}}}
                << true;
        QTest::newRow("band and name differ only in letter case")
                << base << ParameterRows {{u"LINES"_s, u"ID"_s, u"abc"_s}} << true;
        QTest::newRow("an empty value equals a missing parameter")
                << base << ParameterRows {{u"Lines"_s, u"Id"_s, u"abc"_s}} << true;
        QTest::newRow("value changed")
                << base
                << ParameterRows {{u"Lines"_s, u"Id"_s, u"abd"_s}, {u"Lines"_s, u"Empty"_s, {}}}
                << false;
        QTest::newRow("value cleared")
                << base << ParameterRows {{u"Lines"_s, u"Id"_s, {}}, {u"Lines"_s, u"Empty"_s, {}}}
                << false;
        QTest::newRow("empty value filled in")
                << base
                << ParameterRows {{u"Lines"_s, u"Id"_s, u"abc"_s}, {u"Lines"_s, u"Empty"_s, u"0"_s}}
                << false;
        QTest::newRow("stored value of a parameter no query holds any more")
                << base
                << ParameterRows {{u"Lines"_s, u"Id"_s, u"abc"_s}, {u"Old"_s, u"Id"_s, u"1"_s}}
                << false;
        QTest::newRow("same value under another band")
                << base << ParameterRows {{u"Header"_s, u"Id"_s, u"abc"_s}} << false;
    }

    void sameValues()
    {
        QFETCH(ParameterRows, a);
        QFETCH(ParameterRows, b);
        QFETCH(bool, same);
        QCOMPARE(RunParameters::SameValues(Parameters(a), Parameters(b)), same);
        QCOMPARE(RunParameters::SameValues(Parameters(b), Parameters(a)), same);
    }
};

VANTEL_TEST_CLASS(TestRunParameters)
#include "tst_runparameters.moc"
