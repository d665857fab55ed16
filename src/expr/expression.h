#pragma once

#include "exprtree.h"

#include <QDate>
#include <QLocale>

#include <memory>
#include <vector>

// What an expression reads while it is evaluated; the engine answers for the row, band and
// page it prints, the designer for the first row of a band's data.
class CExprContext
{
public:
    virtual ~CExprContext() = default;

    // The value of a name of the expression, by its index in GetNames(). False with a message
    // when it has none to give (a field the query does not return).
    virtual bool NameValue(int index, CExprValue &value, QString &problem) = 0;
    // The value of a total, by its index in GetTotals(): its rows so far.
    virtual bool TotalValue(int index, CExprValue &value, QString &problem) = 0;
    // The date TODAY() gives: the day the run started, the same on every page.
    virtual QDate Today() const = 0;
    // The report's locale, for TEXT(x, format).
    virtual QLocale Locale() const = 0;
};

// A parsed expression: the tree with the place of every node in the text, the names it reads
// and the totals it needs. Parsed once, evaluated any number of times; evaluation is pure and
// bounded by the size of the tree (no loops, no recursion the text can ask for).
class CExpression
{
public:
    // The bounds every expression keeps.
    static constexpr int MaxLength = 64 * 1024;
    static constexpr int MaxDepth = 256;
    static constexpr int MaxTextLength = 1024 * 1024;

    // Parses a text; false with the first error (its place and what was expected).
    static bool Parse(const QString &text, CExpression &result, CExprError &error);

    const QString &GetText() const { return m_text; }
    const CExprNode &GetRoot() const { return *m_root; }
    const std::vector<CExprName> &GetNames() const { return m_names; }
    const std::vector<CExprTotal> &GetTotals() const { return m_totals; }

    // The errors of types that show without any data (a date function on a number, a text
    // literal that is no number in a sum), in the order of the text.
    std::vector<CExprError> TypeProblems() const;
    // Whether the value can be true or false: what a condition must be.
    bool CanBeCondition() const;

    bool Evaluate(CExprContext &context, CExprValue &value, CExprError &error) const;
    // The argument of a total for the row the context stands on.
    bool EvaluateTotalArgument(int total, CExprContext &context, CExprValue &value,
                               CExprError &error) const;
    // A condition: true only for TRUE; NULL counts as false; any other value is an error.
    bool EvaluateCondition(CExprContext &context, bool &result, CExprError &error) const;

private:
    friend class CExprParser;

    QString m_text;
    std::unique_ptr<CExprNode> m_root = std::make_unique<CExprNode>();
    std::vector<CExprName> m_names;
    std::vector<CExprTotal> m_totals;
};
