// Parses any text as an expression and, where it parses, checks its types and evaluates it
// against a row whose values take every kind, twice, as a condition and for each total; the same
// text is also tried as a display format. Every refusal names a place inside the text, and what
// an evaluation gives stays within the bounds of the language.

#include "displayformat.h"
#include "expression.h"

#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

class FuzzContext : public CExprContext
{
public:
    explicit FuzzContext(const CExpression &expression)
        : m_expression(expression)
    { }

    bool NameValue(int index, CExprValue &value, QString &problem) override
    {
        const CExprName &name = m_expression.GetNames()[size_t(index)];
        // The name's length picks the kind of its value, so that every kind meets every operator.
        switch ((name.band.size() + name.name.size()) % 8) {
        case 0:
            value = CExprValue();
            return true;
        case 1:
            value = CExprValue::Whole(-7);
            return true;
        case 2:
            value = CExprValue(QStringLiteral("12.50"));
            return true;
        case 3:
            value = CExprValue(QDate(2026, 3, 14));
            return true;
        case 4:
            value = CExprValue(QDateTime(QDate(1, 1, 1), QTime(23, 59)));
            return true;
        case 5:
            value = CExprValue::Boolean(true);
            return true;
        case 6:
            value = CExprValue(QString(4096, QChar(u'\u00DF')));
            return true;
        default:
            problem = QStringLiteral("no such field");
            return false;
        }
    }
    bool TotalValue(int index, CExprValue &value, QString &) override
    {
        CExactDecimal number;
        CExactDecimal::FromText(QStringLiteral("99999999999999999999999999999999999.9"), number);
        value = index % 2 ? CExprValue(number) : CExprValue();
        return true;
    }
    QDate Today() const override { return QDate(9999, 12, 31); }
    QLocale Locale() const override { return QLocale(QStringLiteral("de_DE")); }

private:
    const CExpression &m_expression;
};

void Check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

void CheckError(const CExprError &error, qsizetype length)
{
    Check(!error.message.isEmpty(), "an error without a message");
    Check(error.position >= 0 && error.position <= length, "an error outside the text");
}

void CheckValue(const CExprValue &value)
{
    Check(value.GetType() != CExprValue::Type::Text
                  || value.GetText().size() <= CExpression::MaxTextLength,
          "a text over the bound");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));

    CDisplayFormat format;
    QString problem;
    if (CDisplayFormat::Parse(text, format, problem)) {
        QString written;
        CExactDecimal number;
        CExactDecimal::FromText(QStringLiteral("-1234567.891"), number);
        format.Format(CExprValue(number), QLocale(QStringLiteral("de_DE")), written, problem);
        format.Format(CExprValue(QDate(2026, 3, 14)), QLocale::c(), written, problem);
    } else {
        Check(!problem.isEmpty(), "a display format refused without a reason");
    }

    CExpression expression;
    CExprError error;
    if (!CExpression::Parse(text, expression, error)) {
        CheckError(error, text.size());
        return 0;
    }
    for (const CExprError &found : expression.TypeProblems())
        CheckError(found, text.size());
    expression.CanBeCondition();
    FuzzContext context(expression);
    CExprValue first;
    CExprError firstError;
    const bool evaluated = expression.Evaluate(context, first, firstError);
    if (evaluated)
        CheckValue(first);
    else
        CheckError(firstError, text.size());
    CExprValue second;
    CExprError secondError;
    Check(expression.Evaluate(context, second, secondError) == evaluated
                  && (evaluated ? second == first : secondError == firstError),
          "two evaluations differ");
    bool condition = false;
    if (!expression.EvaluateCondition(context, condition, error))
        CheckError(error, text.size());
    for (int i = 0; i < int(expression.GetTotals().size()); ++i) {
        CExprValue value;
        if (expression.EvaluateTotalArgument(i, context, value, error))
            CheckValue(value);
        else
            CheckError(error, text.size());
    }
    return 0;
}
