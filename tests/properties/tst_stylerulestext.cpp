#include "propertypage.h"
#include "stylerulestext.h"
#include "testregistry.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(CStyleRule)

// The lines of the Styles dialog read into rules and written back, and the Display Format
// row's sample.
class TestStyleRulesText : public QObject
{
    Q_OBJECT

private slots:
    void lines_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<CStyleRule>("rule");
        QTest::addColumn<QString>("problem");
        QTest::newRow("every property")
                << QStringList {u" [A] > 1 "_s, u"#ff0000"_s, u"#00FF00"_s, u"Yes"_s, u"No"_s}
                << CStyleRule {u"[A] > 1"_s, 0x0000FFu, 0x00FF00u, 1, 0} << QString();
        QTest::newRow("unset cells stay unset")
                << QStringList {u"TRUE"_s, QString(), QString(), QString(), u"Yes"_s}
                << CStyleRule {u"TRUE"_s, {}, {}, {}, 1} << QString();
        QTest::newRow("a colour by its name")
                << QStringList {u"TRUE"_s, u"red"_s, {}, {}, {}}
                << CStyleRule {u"TRUE"_s, 0x0000FFu, {}, {}, {}} << QString();
        QTest::newRow("a colour that is none")
                << QStringList {u"TRUE"_s, u"#12"_s, {}, {}, {}} << CStyleRule() << u"#12"_s;
    }
    void lines()
    {
        QFETCH(QStringList, texts);
        QFETCH(CStyleRule, rule);
        QFETCH(QString, problem);
        CStyleRule read;
        QString message;
        QCOMPARE(StyleRulesText::Parse(texts, read, message), problem.isEmpty());
        QVERIFY2(message.contains(problem), qPrintable(message));
        if (!problem.isEmpty())
            return;
        QVERIFY(read == rule);
        CStyleRule again;
        QVERIFY(StyleRulesText::Parse(StyleRulesText::Texts(read), again, message));
        QVERIFY(again == rule);
    }

    void samples_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("sample");
        QTest::newRow("number") << u"#,##0.00"_s << QString() << u"1,234.50"_s;
        QTest::newRow("number in a locale") << u"#,##0.00"_s << u"de_DE"_s << u"1.234,50"_s;
        QTest::newRow("date") << u"d MMMM yyyy"_s << QString() << u"14 March 2026"_s;
        QTest::newRow("time") << u"HH:mm"_s << QString() << u"14:30"_s;
    }
    void samples()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, locale);
        QTEST(DisplayFormatSample(pattern, locale), "sample");
    }
};

VANTEL_TEST_CLASS(TestStyleRulesText)
#include "tst_stylerulestext.moc"
