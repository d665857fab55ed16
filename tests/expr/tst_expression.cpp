#include "exprfixture.h"
#include "testregistry.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The expression language as a report author meets it: what an expression gives for the row of
// the fixture, and where and why one that is wrong is refused.
class TestExpression : public QObject
{
    Q_OBJECT

private slots:
    void evaluate_data();
    void evaluate();
    void parseErrors_data();
    void parseErrors();
    void runErrors_data();
    void runErrors();
    void typeProblems_data();
    void typeProblems();
    void namesAndTotals();
};

void TestExpression::evaluate_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("result");
    const auto row = [](const char *expression, const QString &result) {
        QTest::newRow(expression) << QString::fromUtf8(expression) << result;
    };
    // Precedence, lowest first: OR, AND, NOT, comparisons, &, + -, * / MOD, unary minus.
    row("1 + 2 * 3", u"N:7"_s);
    row("(1 + 2) * 3", u"N:9"_s);
    row("10 - 4 - 3", u"N:3"_s);
    row("2 * 3 MOD 4", u"N:2"_s);
    row("-2 * 3", u"N:-6"_s);
    row("- -2", u"N:2"_s);
    row("'a' & 1 + 2", u"T:a3"_s);
    row("1 + 2 = 3", u"B:TRUE"_s);
    row("NOT 1 = 2", u"B:TRUE"_s);
    row("NOT FALSE AND FALSE", u"B:FALSE"_s);
    row("TRUE OR FALSE AND FALSE", u"B:TRUE"_s);
    row("not false and true or false", u"B:TRUE"_s);
    // Exact decimals.
    row("0.1 + 0.2", u"N:0.3"_s);
    row("0.1 + 0.2 = 0.3", u"B:TRUE"_s);
    row("1 / 3", u"N:0."_s + u"3"_s.repeated(30));
    row("[Lines].[QTY] * [Lines].[PRICE]", u"N:13.86"_s);
    row("12.50", u"N:12.50"_s);
    // NULL propagates through arithmetic and comparisons and counts as false.
    row("[EMPTY] + 1", u"NULL"_s);
    row("[EMPTY] = NULL", u"NULL"_s);
    row("-[EMPTY]", u"NULL"_s);
    row("[EMPTY] & 'x'", u"T:x"_s);
    row("FALSE AND [EMPTY]", u"B:FALSE"_s);
    row("TRUE AND NULL", u"NULL"_s);
    row("TRUE OR NULL", u"B:TRUE"_s);
    row("NOT NULL", u"NULL"_s);
    row("IF(NULL, 1, 2)", u"N:2"_s);
    // Only the branch taken, and only the side that decides, is evaluated.
    row("IF([QTY] = 3, 0, 1 / ([QTY] - 3))", u"N:0"_s);
    row("FALSE AND 1 / 0 = 1", u"B:FALSE"_s);
    // Names.
    row("#PAGE & ' of ' & #PAGES", u"T:2 of 5"_s);
    row("#row", u"N:7"_s);
    row("{INVOICE_NO} + 1", u"N:1043"_s);
    row("[code] = 12", u"B:TRUE"_s);
    row("'It''s ' & [NAME]", u"T:It's Ada Lovelace"_s);
    row("[Name]", u"T:Ada Lovelace"_s);
    row("[DUE] > DATE(2026, 1, 1)", u"B:TRUE"_s);
    row("[STAMP] > [DUE]", u"B:TRUE"_s);
    row("TRUE", u"B:TRUE"_s);
    row("NULL", u"NULL"_s);
    // Every function.
    row("IF(TRUE, 'a', 'b')", u"T:a"_s);
    row("ISNULL([EMPTY])", u"B:TRUE"_s);
    row("ISNULL(0)", u"B:FALSE"_s);
    row("COALESCE([EMPTY], NULL, 'x')", u"T:x"_s);
    row("COALESCE(NULL)", u"NULL"_s);
    row("ROUND(2.345, 2)", u"N:2.35"_s);
    row("round(-2.5)", u"N:-3"_s);
    row("ROUND(1234, -2)", u"N:1200"_s);
    row("ROUND(1 / 3, 2) * 3", u"N:0.99"_s);
    row("FLOOR(-2.5)", u"N:-3"_s);
    row("CEILING(2.1)", u"N:3"_s);
    row("ABS(-4.5)", u"N:4.5"_s);
    row("MIN(3, [EMPTY], 1.5)", u"N:1.5"_s);
    row("MAX('b', 'a')", u"T:b"_s);
    row("MAX(DATE(2026, 1, 1), [DUE])", u"T:2026-03-14"_s);
    row("MIN([EMPTY])", u"NULL"_s);
    row("UPPER('straße')", u"T:STRASSE"_s);
    row("LOWER('ABC')", u"T:abc"_s);
    row("TRIM('  a b  ')", u"T:a b"_s);
    row("LEFT('Vantel', 3)", u"T:Van"_s);
    row("RIGHT('Vantel', 2)", u"T:el"_s);
    row("MID('Vantel', 2, 3)", u"T:ant"_s);
    row("MID('abc', 5, 2)", u"T:"_s);
    row("LEN('Vantel')", u"N:6"_s);
    row("LEN([EMPTY])", u"NULL"_s);
    row("REPLACE('a-b-c', '-', '+')", u"T:a+b+c"_s);
    row("CONTAINS([NAME], 'Love')", u"B:TRUE"_s);
    row("STARTSWITH([NAME], 'ada')", u"B:FALSE"_s);
    row("TEXT(1234.5, '#,##0.00')", u"T:1,234.50"_s);
    row("TEXT(12)", u"T:12"_s);
    row("TEXT([DUE], 'dd.MM.yyyy')", u"T:14.03.2026"_s);
    row("YEAR([DUE])", u"N:2026"_s);
    row("MONTH([STAMP])", u"N:3"_s);
    row("DAY(DATE(2026, 3, 14))", u"N:14"_s);
    row("ADDDAYS([DUE], 20)", u"D:2026-04-03"_s);
    row("ADDDAYS([STAMP], -1)", u"DT:2026-03-13 09:30:00"_s);
    row("DAYSBETWEEN(DATE(2026, 1, 1), [DUE])", u"N:72"_s);
    row("TODAY()", u"D:2026-03-14"_s);
    row("DATE(2000 + 26, 3, 14)", u"D:2026-03-14"_s);
    row("SUM([Lines].[QTY])", u"N:100"_s);
    row("SUM([QTY]) + count([QTY], 'page')", u"N:201"_s);
}

void TestExpression::evaluate()
{
    QFETCH(QString, expression);
    CExpression parsed;
    CExprError error;
    QVERIFY2(CExpression::Parse(expression, parsed, error), qPrintable(error.Describe()));
    CTestContext context(parsed);
    CExprValue value;
    QVERIFY2(parsed.Evaluate(context, value, error), qPrintable(error.Describe()));
    QTEST(Shown(value), "result");
}

void TestExpression::parseErrors_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("message");
    const auto row = [](const char *name, const QString &expression, int position,
                        const QString &message) {
        QTest::newRow(name) << expression << position << message;
    };
    row("empty", QString(), 0, u"expected a value but found the end"_s);
    row("operand missing", u"1 +"_s, 3, u"expected a value but found the end"_s);
    row("parenthesis not closed", u"(1 + 2"_s, 6, u"expected \")\" but found the end"_s);
    row("two values", u"1 2"_s, 2, u"expected an operator but found a number"_s);
    row("two operators", u"1 = = 2"_s, 4, u"expected a value but found \"=\""_s);
    row("text not closed", u"'abc"_s, 0, u"the text is not closed with '"_s);
    row("name not closed", u"1 + [abc"_s, 4, u"the name is not closed with ]"_s);
    row("empty name", u"[ ]"_s, 0, u"expected a name between [ and ]"_s);
    row("parameter not closed", u"{X"_s, 0, u"the parameter is not closed with }"_s);
    row("unknown special", u"#PAG"_s, 0, u"expected #PAGE, #PAGES or #ROW"_s);
    row("point without digits", u"1."_s, 2, u"expected a digit after the decimal point"_s);
    row("letters after a number", u"12abc"_s, 2, u"expected an operator after the number"_s);
    row("39 digits", u"1"_s.repeated(39), 0, u"a number has at most 38 digits"_s);
    row("stray character", u"1 $ 2"_s, 2, u"the character \"$\" has no meaning here"_s);
    row("unknown function", u"FOO(1)"_s, 0, u"unknown function \"FOO\""_s);
    row("bare name", u"amount * 2"_s, 0,
        u"unknown name \"amount\": a field is written [amount], a parameter {amount}"_s);
    row("function without parentheses", u"TODAY"_s, 5, u"expected \"(\" but found the end"_s);
    row("too many arguments", u"ROUND(1, 2, 3)"_s, 0, u"ROUND(x, n) takes 1 or 2 values, not 3"_s);
    row("too few arguments", u"IF(TRUE, 1)"_s, 0, u"IF(condition, a, b) takes 3 values, not 2"_s);
    row("comma missing", u"LEFT('a' 1)"_s, 9, u"expected \",\" or \")\" but found a number"_s);
    row("band without field", u"[Band]."_s, 7,
        u"expected a field name in brackets after the band name but found the end"_s);
    row("total in a total", u"SUM(SUM([A]))"_s, 4, u"a total cannot hold another total"_s);
    row("total over two bands", u"SUM([A].[X] + [B].[Y])"_s, 14,
        u"a total takes the rows of one band, not of \"A\" and \"B\""_s);
    row("unknown scope", u"SUM([X], 'Week')"_s, 9, u"expected 'Band', 'Page' or 'Report'"_s);
    row("no such date", u"DATE(2026, 2, 30)"_s, 0, u"DATE(2026, 2, 30) is no date"_s);
    row("NOT alone", u"NOT"_s, 3, u"expected a value but found the end"_s);
    row("nested too deep", u"("_s.repeated(300) + u"1"_s + u")"_s.repeated(300), 256,
        u"an expression is nested at most 256 levels deep"_s);
    // The 256th "+" of a chain makes the tree 257 levels deep.
    row("chain too deep", u"1"_s + u"+1"_s.repeated(300), 511,
        u"an expression is nested at most 256 levels deep"_s);
    row("longer than 64 KB", u"1"_s + u"+1"_s.repeated(CExpression::MaxLength / 2), 65536,
        u"an expression is at most 64 KB long"_s);
}

void TestExpression::parseErrors()
{
    QFETCH(QString, expression);
    CExpression parsed;
    CExprError error;
    QVERIFY(!CExpression::Parse(expression, parsed, error));
    QTEST(error.message, "message");
    QTEST(error.position, "position");
}

void TestExpression::runErrors_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("message");
    const auto row = [](const char *name, const QString &expression, int position,
                        const QString &message) {
        QTest::newRow(name) << expression << position << message;
    };
    row("division by zero", u"1 / ([QTY] - 3)"_s, 2, u"division by zero"_s);
    row("remainder by zero", u"5 MOD 0"_s, 2, u"division by zero"_s);
    row("text in a product", u"'abc' * 2"_s, 0, u"\"*\" needs numbers, not the text \"abc\""_s);
    row("date function on a name", u"YEAR([NAME])"_s, 5,
        u"YEAR needs a date, not the text \"Ada Lovelace\""_s);
    row("negative count", u"LEFT('abc', -1)"_s, 12,
        u"LEFT needs a whole number from 0 to 1048576, not the number -1"_s);
    row("fraction of decimals", u"ROUND(1, 0.5)"_s, 9,
        u"ROUND needs a whole number from -38 to 38, not the number 0.5"_s);
    row("number with text", u"1 < 'abc'"_s, 2,
        u"\"<\" cannot compare the number 1 with the text \"abc\""_s);
    row("condition of a number", u"IF(1, 2, 3)"_s, 3,
        u"IF needs true or false, not the number 1"_s);
    row("NOT of a number", u"NOT 5"_s, 4, u"\"NOT\" needs true or false, not the number 5"_s);
    row("missing field", u"[MISSING] + 1"_s, 0, u"no field MISSING"_s);
    row("text over 1 MB", u"[BIG] & 'x'"_s, 6, u"a text is at most 1,048,576 characters long"_s);
    row("replaced text over 1 MB", u"REPLACE([BIG], 'x', 'xx')"_s, 8,
        u"a text is at most 1,048,576 characters long"_s);
    row("product over 38 digits", u"9"_s.repeated(38) + u" * 10"_s, 39,
        u"the result has more than 38 digits before the point"_s);
    row("date format of a number", u"TEXT(12, 'yyyy')"_s, 5, u"the number 12 is no date"_s);
    row("format that is none", u"TEXT(12, 'abc')"_s, 9,
        u"\"a\" at character 1 is no date field (yyyy, MM, dd, HH, mm, ss...); put text in "
        "double quotes"_s);
    row("month 15", u"DATE(2026, [QTY] * 5, 1)"_s, 5, u"DATE(2026, 15, 1) is no date"_s);
    row("days beyond the calendar", u"ADDDAYS([DUE], 99999999)"_s, 15,
        u"ADDDAYS needs a whole number from -3660000 to 3660000, not the number 99999999"_s);
}

void TestExpression::runErrors()
{
    QFETCH(QString, expression);
    CExpression parsed;
    CExprError error;
    QVERIFY2(CExpression::Parse(expression, parsed, error), qPrintable(error.Describe()));
    CTestContext context(parsed);
    CExprValue value;
    QVERIFY(!parsed.Evaluate(context, value, error));
    QTEST(error.message, "message");
    QTEST(error.position, "position");
}

void TestExpression::typeProblems_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("problems");
    QTest::addColumn<bool>("condition");
    const auto row = [](const char *expression, const QString &problems, bool condition) {
        QTest::newRow(expression) << QString::fromUtf8(expression) << problems << condition;
    };
    row("YEAR(12)", u"5: YEAR needs a date, not the number 12"_s, false);
    row("'abc' + 1", u"0: \"+\" needs a number, not the text \"abc\""_s, false);
    row("'12' + [X] > 1", QString(), true);
    row("NOT 'x'", u"4: \"NOT\" needs true or false, not the text \"x\""_s, true);
    row("1 = 'abc'", u"2: \"=\" cannot compare the number 1 with the text \"abc\""_s, true);
    row("IF(1, [A], NULL)", u"3: IF needs true or false, not the number 1"_s, true);
    row("LEFT([X], 'a') & TODAY() * 2",
        u"10: LEFT needs a number, not the text \"a\"; 17: \"*\" needs a number, not a date"_s,
        false);
    row("ISNULL([X]) + 1", u"0: \"+\" needs a number, not true or false"_s, false);
    row("UPPER([X]) + SUM([Y])", QString(), false);
    row("[PAID]", QString(), true);
    row("IF([A], 'yes', 2)", QString(), false);
}

void TestExpression::typeProblems()
{
    QFETCH(QString, expression);
    CExpression parsed;
    CExprError error;
    QVERIFY2(CExpression::Parse(expression, parsed, error), qPrintable(error.Describe()));
    QStringList problems;
    for (const CExprError &problem : parsed.TypeProblems())
        problems << QString::number(problem.position) + u": "_s + problem.message;
    QTEST(problems.join(u"; "_s), "problems");
    QTEST(parsed.CanBeCondition(), "condition");
}

void TestExpression::namesAndTotals()
{
    // Names are listed once each, letter case ignored; a total knows its band and scope, and
    // its argument is evaluated for the row the engine stands on.
    CExpression parsed;
    CExprError error;
    QVERIFY(CExpression::Parse(u"[Lines].[QTY] * [qty] + {P} + [LINES].[qty] + "
                               "SUM([Lines].[QTY] * [Lines].[PRICE], 'Report') + COUNT([QTY])"_s,
                               parsed, error));
    QCOMPARE(parsed.GetNames().size(), size_t(4));
    QCOMPARE(parsed.GetNames()[0].band, u"Lines"_s);
    QCOMPARE(parsed.GetNames()[1].name, u"qty"_s);
    QCOMPARE(parsed.GetNames()[1].position, 16);
    QCOMPARE(parsed.GetNames()[2].kind, CExprName::Kind::Parameter);
    QCOMPARE(parsed.GetTotals().size(), size_t(2));
    const CExprTotal &sum = parsed.GetTotals()[0];
    QCOMPARE(sum.function, int(CExprTotal::Sum));
    QCOMPARE(sum.over, int(CExprTotal::OverReport));
    QCOMPARE(sum.band, u"Lines"_s);
    QVERIFY(!sum.ownFields);
    const CExprTotal &count = parsed.GetTotals()[1];
    QCOMPARE(count.function, int(CExprTotal::Count));
    QCOMPARE(count.over, int(CExprTotal::OverBand));
    QVERIFY(count.band.isEmpty() && count.ownFields);
    CTestContext context(parsed);
    CExprValue value;
    QVERIFY(parsed.EvaluateTotalArgument(0, context, value, error));
    QCOMPARE(Shown(value), u"N:13.86"_s);
    QVERIFY(parsed.Evaluate(context, value, error));
    QCOMPARE(Shown(value), u"N:1255"_s); // 9 + 1042 (a text read as a number) + 3 + 100 + 101
}

VANTEL_TEST_CLASS(TestExpression)
#include "tst_expression.moc"
