#include "displayformat.h"
#include "testregistry.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Display formats as a DB Text and TEXT(x, format) use them: numbers from their exact decimals,
// dates with the report's locale, and the patterns and values they refuse.
class TestDisplayFormat : public QObject
{
    Q_OBJECT

private slots:
    void format_data();
    void format();
    void refused_data();
    void refused();
};

namespace {

// "N:12.5", "T:abc", "D:2026-03-14", "DT:2026-03-14 21:05", or "NULL".
CExprValue ValueOf(const QString &text)
{
    const QString rest = text.section(u':', 1);
    if (text.startsWith(u"N:")) {
        CExactDecimal number;
        CExactDecimal::FromText(rest, number);
        return CExprValue(number);
    }
    if (text.startsWith(u"T:"))
        return CExprValue(rest);
    if (text.startsWith(u"D:"))
        return CExprValue(QDate::fromString(rest, Qt::ISODate));
    if (text.startsWith(u"DT:"))
        return CExprValue(QDateTime::fromString(rest, u"yyyy-MM-dd HH:mm"_s));
    return {};
}

} // namespace

void TestDisplayFormat::format_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("text"); // "!" and the problem when the value is refused
    const auto row = [](const char *name, const QString &pattern, const QString &locale,
                        const QString &value, const QString &text) {
        QTest::newRow(name) << pattern << locale << value << text;
    };
    row("thousands", u"#,##0.00"_s, {}, u"N:1234567.891"_s, u"1,234,567.89"_s);
    row("thousands in German", u"#,##0.00"_s, u"de_DE"_s, u"N:1234567.891"_s, u"1.234.567,89"_s);
    row("decimals padded", u"0.000"_s, {}, u"N:2.5"_s, u"2.500"_s);
    row("unit in quotes", u"#,##0 \"pcs\""_s, {}, u"N:1500"_s, u"1,500 pcs"_s);
    row("percent", u"0%"_s, {}, u"N:0.256"_s, u"26%"_s);
    row("optional decimal", u"0.0#"_s, {}, u"N:2.5"_s, u"2.5"_s);
    row("optional decimal used", u"0.0#"_s, {}, u"N:2.555"_s, u"2.56"_s);
    row("no sign on a zero", u"#,##0.00"_s, {}, u"N:-0.001"_s, u"0.00"_s);
    row("negative", u"#,##0.00"_s, {}, u"N:-1234.5"_s, u"-1,234.50"_s);
    row("no whole digit", u"#.##"_s, {}, u"N:0.5"_s, u".5"_s);
    row("leading zeros", u"00000"_s, {}, u"N:42"_s, u"00042"_s);
    row("beyond a double", u"0.00"_s, {}, u"N:12345678901234567890.125"_s,
        u"12345678901234567890.13"_s);
    row("text that reads as a number", u"0.00"_s, {}, u"T:12.5"_s, u"12.50"_s);
    row("NULL prints nothing", u"0.00"_s, {}, u"NULL"_s, QString());
    row("text that is no number", u"0.00"_s, {}, u"T:abc"_s, u"!the text \"abc\" is no number"_s);
    row("ISO date", u"yyyy-MM-dd"_s, {}, u"D:2026-03-14"_s, u"2026-03-14"_s);
    row("German date of a text", u"dd.MM.yyyy"_s, u"de_DE"_s, u"T:2026-03-14"_s, u"14.03.2026"_s);
    row("month name", u"d MMMM yyyy"_s, {}, u"D:2026-03-14"_s, u"14 March 2026"_s);
    row("German month name", u"d MMMM yyyy"_s, u"de_DE"_s, u"D:2026-03-14"_s, u"14 März 2026"_s);
    row("weekday", u"dddd, d MMM yy"_s, {}, u"D:2026-03-14"_s, u"Saturday, 14 Mar 26"_s);
    row("time", u"HH:mm"_s, {}, u"DT:2026-03-14 09:30"_s, u"09:30"_s);
    row("12-hour clock", u"h:mm AP"_s, {}, u"DT:2026-03-14 21:05"_s, u"9:05 PM"_s);
    row("quoted text in a date", u"\"week of\" d.M."_s, {}, u"D:2026-03-14"_s, u"week of 14.3."_s);
    row("number under a date pattern", u"yyyy-MM-dd"_s, {}, u"N:12"_s,
        u"!the number 12 is no date"_s);
}

void TestDisplayFormat::format()
{
    QFETCH(QString, pattern);
    QFETCH(QString, locale);
    QFETCH(QString, value);
    QFETCH(QString, text);
    CDisplayFormat format;
    QString problem;
    QVERIFY2(CDisplayFormat::Parse(pattern, format, problem), qPrintable(problem));
    QString written;
    const bool done = format.Format(
            ValueOf(value), locale.isEmpty() ? QLocale::c() : QLocale(locale), written, problem);
    QCOMPARE(done ? written : u"!"_s + problem, text);
}

void TestDisplayFormat::refused_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("problem");
    QTest::newRow("empty") << QString() << u"the display format is empty"_s;
    QTest::newRow("two points") << u"0.0.0"_s
                                << u"\".\" at character 4 stands outside the one run of digit "
                                   "places of the number"_s;
    QTest::newRow("two numbers") << u"0 0"_s
                                 << u"\"0\" at character 3 stands outside the one run of digit "
                                    "places of the number"_s;
    QTest::newRow("letters unquoted")
            << u"#,##0 pcs"_s
            << u"put the letter \"p\" at character 7 in double quotes to print it"_s;
    QTest::newRow("capital years")
            << u"YYYY-MM-DD"_s
            << u"\"YYYY\" at character 1 is no date field (yyyy, MM, dd, HH, mm, ss...); put text "
               "in double quotes"_s;
    QTest::newRow("comma before the point")
            << u"0,.00"_s << u"a comma at character 2 must stand between digit places"_s;
    QTest::newRow("no field") << u"--"_s
                              << u"\"--\" is neither a number pattern (0, #) nor a date pattern "
                                 "(yyyy, MM, dd...)"_s;
    QTest::newRow("quote not closed")
            << u"0 \"pcs"_s << u"the text in double quotes at character 3 is not closed"_s;
    QTest::newRow("too long") << u"0"_s.repeated(300)
                              << u"a display format is at most 256 characters long"_s;
}

void TestDisplayFormat::refused()
{
    QFETCH(QString, pattern);
    CDisplayFormat format;
    QString problem;
    QVERIFY(!CDisplayFormat::Parse(pattern, format, problem));
    QTEST(problem, "problem");
}

VANTEL_TEST_CLASS(TestDisplayFormat)
#include "tst_displayformat.moc"
