#include "exprfunctions.h"

#include "displayformat.h"
#include "expression.h"

#include <QCoreApplication>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("Expression", text);
}

using F = CExprFunction;

// clang-format off
const std::vector<CExprFunction> Functions = {
    {F::If, u"IF", 3, 3, "BAA", 'A', "IF(condition, a, b)",
     QT_TRANSLATE_NOOP("Expression", "a when the condition is true, otherwise b (NULL counts as false)")},
    {F::IsNull, u"ISNULL", 1, 1, "A", 'B', "ISNULL(x)",
     QT_TRANSLATE_NOOP("Expression", "true when x is NULL")},
    {F::Coalesce, u"COALESCE", 1, -1, "A", 'A', "COALESCE(a, b, ...)",
     QT_TRANSLATE_NOOP("Expression", "the first value that is not NULL")},
    {F::Round, u"ROUND", 1, 2, "NN", 'N', "ROUND(x, n)",
     QT_TRANSLATE_NOOP("Expression", "x rounded to n decimals (0 when left out), halves away from zero")},
    {F::Floor, u"FLOOR", 1, 1, "N", 'N', "FLOOR(x)",
     QT_TRANSLATE_NOOP("Expression", "the largest whole number not above x")},
    {F::Ceiling, u"CEILING", 1, 1, "N", 'N', "CEILING(x)",
     QT_TRANSLATE_NOOP("Expression", "the smallest whole number not below x")},
    {F::Abs, u"ABS", 1, 1, "N", 'N', "ABS(x)",
     QT_TRANSLATE_NOOP("Expression", "x without its sign")},
    {F::Min, u"MIN", 1, -1, "A", 'A', "MIN(a, b, ...)",
     QT_TRANSLATE_NOOP("Expression", "the smallest of the values that are not NULL")},
    {F::Max, u"MAX", 1, -1, "A", 'A', "MAX(a, b, ...)",
     QT_TRANSLATE_NOOP("Expression", "the largest of the values that are not NULL")},
    {F::Upper, u"UPPER", 1, 1, "T", 'T', "UPPER(t)",
     QT_TRANSLATE_NOOP("Expression", "the text in capitals")},
    {F::Lower, u"LOWER", 1, 1, "T", 'T', "LOWER(t)",
     QT_TRANSLATE_NOOP("Expression", "the text in small letters")},
    {F::Trim, u"TRIM", 1, 1, "T", 'T', "TRIM(t)",
     QT_TRANSLATE_NOOP("Expression", "the text without blanks at its start and end")},
    {F::Left, u"LEFT", 2, 2, "TN", 'T', "LEFT(t, n)",
     QT_TRANSLATE_NOOP("Expression", "the first n characters of the text")},
    {F::Right, u"RIGHT", 2, 2, "TN", 'T', "RIGHT(t, n)",
     QT_TRANSLATE_NOOP("Expression", "the last n characters of the text")},
    {F::Mid, u"MID", 3, 3, "TNN", 'T', "MID(t, start, n)",
     QT_TRANSLATE_NOOP("Expression", "n characters of the text from start (the first is 1)")},
    {F::Len, u"LEN", 1, 1, "T", 'N', "LEN(t)",
     QT_TRANSLATE_NOOP("Expression", "the number of characters of the text")},
    {F::Replace, u"REPLACE", 3, 3, "TTT", 'T', "REPLACE(t, a, b)",
     QT_TRANSLATE_NOOP("Expression", "the text with every a replaced by b")},
    {F::Contains, u"CONTAINS", 2, 2, "TT", 'B', "CONTAINS(t, s)",
     QT_TRANSLATE_NOOP("Expression", "true when the text holds s (letter case counts)")},
    {F::StartsWith, u"STARTSWITH", 2, 2, "TT", 'B', "STARTSWITH(t, s)",
     QT_TRANSLATE_NOOP("Expression", "true when the text starts with s (letter case counts)")},
    {F::Text, u"TEXT", 1, 2, "AT", 'T', "TEXT(x, format)",
     QT_TRANSLATE_NOOP("Expression", "x as text in a display format such as '#,##0.00' or 'dd.MM.yyyy'")},
    {F::Year, u"YEAR", 1, 1, "D", 'N', "YEAR(d)",
     QT_TRANSLATE_NOOP("Expression", "the year of a date")},
    {F::Month, u"MONTH", 1, 1, "D", 'N', "MONTH(d)",
     QT_TRANSLATE_NOOP("Expression", "the month of a date, 1 to 12")},
    {F::Day, u"DAY", 1, 1, "D", 'N', "DAY(d)",
     QT_TRANSLATE_NOOP("Expression", "the day of the month of a date")},
    {F::AddDays, u"ADDDAYS", 2, 2, "DN", 'D', "ADDDAYS(d, n)",
     QT_TRANSLATE_NOOP("Expression", "the date n days after d (before it when n is negative)")},
    {F::DaysBetween, u"DAYSBETWEEN", 2, 2, "DD", 'N', "DAYSBETWEEN(a, b)",
     QT_TRANSLATE_NOOP("Expression", "the days from date a to date b")},
    {F::Today, u"TODAY", 0, 0, "", 'D', "TODAY()",
     QT_TRANSLATE_NOOP("Expression", "the date the run started")},
    {F::Date, u"DATE", 3, 3, "NNN", 'D', "DATE(year, month, day)",
     QT_TRANSLATE_NOOP("Expression", "the date of a year, month and day")},
    {F::Sum, u"SUM", 1, 2, "NS", 'N', "SUM(x, 'Band')",
     QT_TRANSLATE_NOOP("Expression", "the sum of x over the rows of its band: since the band printed ('Band'), on the 'Page' or in the 'Report'")},
    {F::Count, u"COUNT", 1, 2, "AS", 'N', "COUNT(x, 'Band')",
     QT_TRANSLATE_NOOP("Expression", "the number of rows where x is not NULL")},
    {F::Average, u"AVG", 1, 2, "NS", 'N', "AVG(x, 'Band')",
     QT_TRANSLATE_NOOP("Expression", "the average of x over the rows of its band")},
    {F::MinOf, u"MIN_OF", 1, 2, "NS", 'N', "MIN_OF(x, 'Band')",
     QT_TRANSLATE_NOOP("Expression", "the smallest x over the rows of its band")},
    {F::MaxOf, u"MAX_OF", 1, 2, "NS", 'N', "MAX_OF(x, 'Band')",
     QT_TRANSLATE_NOOP("Expression", "the largest x over the rows of its band")},
};
// clang-format on

// The arguments of one call, converted as the function needs them; a conversion that fails
// leaves an error that points at the argument.
class Arguments
{
public:
    Arguments(const CExprFunction &function, const std::vector<CExprValue> &values,
              const std::vector<int> &positions, CExprError &error)
        : m_function(function)
        , m_values(values)
        , m_positions(positions)
        , m_error(error)
    { }

    int Count() const { return int(m_values.size()); }
    const CExprValue &operator[](int i) const { return m_values[size_t(i)]; }
    bool AnyNull() const
    {
        return std::any_of(m_values.begin(), m_values.end(),
                           [](const CExprValue &v) { return v.IsNull(); });
    }

    bool Fail(int i, const QString &message)
    {
        m_error = {m_positions[size_t(i)], message};
        return false;
    }
    bool Wrong(int i, const QString &wanted)
    {
        return Fail(i,
                    Tr("%1 needs %2, not %3")
                            .arg(QString::fromUtf16(m_function.name), wanted,
                                 DescribeValue(m_values[size_t(i)])));
    }
    bool Number(int i, CExactDecimal &number)
    {
        return m_values[size_t(i)].ToNumber(number) || Wrong(i, Tr("a number"));
    }
    // A whole number within the bounds.
    bool Whole(int i, qint64 low, qint64 high, qint64 &whole)
    {
        CExactDecimal number;
        if (!Number(i, number))
            return false;
        if (!number.ToWhole(whole) || whole < low || whole > high)
            return Wrong(i, Tr("a whole number from %1 to %2").arg(low).arg(high));
        return true;
    }
    bool Date(int i, QDate &date)
    {
        return m_values[size_t(i)].ToDate(date) || Wrong(i, Tr("a date"));
    }
    QString Text(int i) const { return m_values[size_t(i)].ToText(); }

private:
    const CExprFunction &m_function;
    const std::vector<CExprValue> &m_values;
    const std::vector<int> &m_positions;
    CExprError &m_error;
};

// The functions of numbers.
bool CallNumber(const CExprFunction &function, Arguments &arguments, CExprValue &result)
{
    CExactDecimal x;
    if (!arguments.Number(0, x))
        return false;
    CExactDecimal value;
    bool fits = true;
    switch (function.id) {
    case F::Round: {
        qint64 decimals = 0;
        if (arguments.Count() > 1 && !arguments.Whole(1, -38, 38, decimals))
            return false;
        fits = x.Rounded(int(decimals), value);
        break;
    }
    case F::Floor:
        fits = x.Floor(value);
        break;
    case F::Ceiling:
        fits = x.Ceiling(value);
        break;
    default:
        value = x.IsNegative() ? x.Negated() : x;
        break;
    }
    if (!fits)
        return arguments.Fail(0, Tr("the number has more than 38 digits"));
    result = CExprValue(value);
    return true;
}

// The functions of texts.
bool CallText(const CExprFunction &function, Arguments &arguments, CExprValue &result)
{
    const QString text = arguments.Text(0);
    qint64 count = 0;
    switch (function.id) {
    case F::Upper:
        result = CExprValue(text.toUpper());
        return true;
    case F::Lower:
        result = CExprValue(text.toLower());
        return true;
    case F::Trim:
        result = CExprValue(text.trimmed());
        return true;
    case F::Len:
        result = CExprValue::Whole(text.size());
        return true;
    case F::Left:
    case F::Right:
        if (!arguments.Whole(1, 0, CExpression::MaxTextLength, count))
            return false;
        result = CExprValue(function.id == F::Left ? text.left(count) : text.right(count));
        return true;
    case F::Mid: {
        qint64 start = 0;
        if (!arguments.Whole(1, 1, CExpression::MaxTextLength, start)
            || !arguments.Whole(2, 0, CExpression::MaxTextLength, count))
            return false;
        result = CExprValue(text.mid(start - 1, count));
        return true;
    }
    case F::Replace: {
        const QString from = arguments.Text(1);
        const QString to = arguments.Text(2);
        // The length is known before the text is made, so that no call builds a huge one.
        const qsizetype found = from.isEmpty() ? 0 : text.count(from);
        if (text.size() + found * (to.size() - from.size()) > CExpression::MaxTextLength)
            return arguments.Fail(0, Tr("a text is at most 1,048,576 characters long"));
        result = CExprValue(from.isEmpty() ? text : QString(text).replace(from, to));
        return true;
    }
    case F::Contains:
        result = CExprValue::Boolean(text.contains(arguments.Text(1)));
        return true;
    case F::StartsWith:
        result = CExprValue::Boolean(text.startsWith(arguments.Text(1)));
        return true;
    default:
        return false;
    }
}

// The functions of dates.
bool CallDate(const CExprFunction &function, Arguments &arguments, CExprContext &context,
              CExprValue &result)
{
    QDate date;
    if (function.id == F::Today) {
        result = CExprValue(context.Today());
        return true;
    }
    if (function.id == F::Date) {
        qint64 parts[3] = {};
        for (int i = 0; i < 3; ++i) {
            if (!arguments.Whole(i, i == 0 ? 1 : 0, 9999, parts[i]))
                return false;
        }
        date = QDate(int(parts[0]), int(parts[1]), int(parts[2]));
        if (!date.isValid())
            return arguments.Fail(
                    0, Tr("DATE(%1, %2, %3) is no date").arg(parts[0]).arg(parts[1]).arg(parts[2]));
        result = CExprValue(date);
        return true;
    }
    if (!arguments.Date(0, date))
        return false;
    switch (function.id) {
    case F::Year:
        result = CExprValue::Whole(date.year());
        return true;
    case F::Month:
        result = CExprValue::Whole(date.month());
        return true;
    case F::Day:
        result = CExprValue::Whole(date.day());
        return true;
    case F::AddDays: {
        qint64 days = 0;
        if (!arguments.Whole(1, -3660000, 3660000, days))
            return false;
        QDateTime dateTime;
        const bool withTime = arguments[0].ToDateTime(dateTime)
                && (arguments[0].GetType() == CExprValue::Type::DateTime
                    || dateTime.time() != QTime(0, 0));
        if (date.addDays(days).year() < 1 || date.addDays(days).year() > 9999)
            return arguments.Fail(1, Tr("the date lies before the year 1 or after 9999"));
        result = withTime ? CExprValue(dateTime.addDays(days)) : CExprValue(date.addDays(days));
        return true;
    }
    case F::DaysBetween: {
        QDate to;
        if (!arguments.Date(1, to))
            return false;
        result = CExprValue::Whole(date.daysTo(to));
        return true;
    }
    default:
        return false;
    }
}

} // namespace

QString DescribeValue(const CExprValue &value)
{
    switch (value.GetType()) {
    case CExprValue::Type::Null:
        return u"NULL"_s;
    case CExprValue::Type::Boolean:
        return value.ToText();
    case CExprValue::Type::Number:
        return Tr("the number %1").arg(value.ToText());
    case CExprValue::Type::Date:
        return Tr("the date %1").arg(value.ToText());
    case CExprValue::Type::DateTime:
        return Tr("the date and time %1").arg(value.ToText());
    case CExprValue::Type::Text:
        break;
    }
    const QString text = value.GetText();
    return Tr("the text \"%1\"").arg(text.size() > 40 ? text.left(40) + u"..."_s : text);
}

bool CallExprFunction(const CExprFunction &function, const std::vector<CExprValue> &values,
                      const std::vector<int> &positions, CExprContext &context, CExprValue &result,
                      CExprError &error)
{
    Arguments arguments(function, values, positions, error);
    result = CExprValue();
    switch (function.id) {
    case F::IsNull:
        result = CExprValue::Boolean(values.front().IsNull());
        return true;
    case F::Min:
    case F::Max:
        for (int i = 0; i < arguments.Count(); ++i) {
            int order = 0;
            if (arguments[i].IsNull())
                continue;
            if (result.IsNull()) {
                result = arguments[i];
                continue;
            }
            if (!CExprValue::Compare(arguments[i], result, order))
                return arguments.Wrong(i, CExprValue::TypeName(result.GetType()));
            if (function.id == F::Min ? order < 0 : order > 0)
                result = arguments[i];
        }
        return true;
    case F::Today:
        return CallDate(function, arguments, context, result);
    default:
        break;
    }
    // Every other function gives NULL for a NULL value.
    if (arguments.AnyNull())
        return true;
    switch (function.id) {
    case F::Round:
    case F::Floor:
    case F::Ceiling:
    case F::Abs:
        return CallNumber(function, arguments, result);
    case F::Text: {
        if (arguments.Count() == 1) {
            result = CExprValue(arguments.Text(0));
            return true;
        }
        CDisplayFormat format;
        QString problem;
        QString text;
        if (!CDisplayFormat::Parse(arguments.Text(1), format, problem))
            return arguments.Fail(1, problem);
        if (!format.Format(arguments[0], context.Locale(), text, problem))
            return arguments.Fail(0, problem);
        result = CExprValue(text);
        return true;
    }
    case F::Year:
    case F::Month:
    case F::Day:
    case F::AddDays:
    case F::DaysBetween:
    case F::Date:
        return CallDate(function, arguments, context, result);
    default:
        return CallText(function, arguments, result);
    }
}

char CExprFunction::Argument(int i) const
{
    const int count = int(qstrlen(arguments));
    return count == 0 ? 'A' : arguments[std::min(i, count - 1)];
}

QString CExprFunction::Help() const
{
    return Tr(help);
}

const std::vector<CExprFunction> &ExprFunctions()
{
    return Functions;
}

int FindExprFunction(QStringView name)
{
    for (size_t i = 0; i < Functions.size(); ++i) {
        if (name.compare(QStringView(Functions[i].name), Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}
