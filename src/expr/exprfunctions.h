#pragma once

#include "exprtree.h"

#include <QStringView>

#include <vector>

class CExprContext;

// The functions of the language, each described once: its name, how many values it takes, the
// types it wants (for the checks without data), its result and one line of help for the editor.
struct CExprFunction
{
    enum Id {
        If,
        IsNull,
        Coalesce,
        Round,
        Floor,
        Ceiling,
        Abs,
        Min,
        Max,
        Upper,
        Lower,
        Trim,
        Left,
        Right,
        Mid,
        Len,
        Replace,
        Contains,
        StartsWith,
        Text,
        Year,
        Month,
        Day,
        AddDays,
        DaysBetween,
        Today,
        Date,
        Sum,
        Count,
        Average,
        MinOf,
        MaxOf,
    };

    Id id;
    const char16_t *name;
    int minArguments;
    int maxArguments; // -1: any number
    // One letter per argument, the last one repeated: N a number, T a text (any value is one),
    // D a date, B a condition, A any value, S a scope ('Band', 'Page' or 'Report').
    const char *arguments;
    // N, T, D or B; A for the type of its values (IF, COALESCE, MIN, MAX).
    char result;
    const char *signature; // "ROUND(x, n)"
    const char *help; // one line, translated in the context "Expression"

    bool IsTotal() const { return id >= Sum; }
    // The letter of argument i.
    char Argument(int i) const;
    QString Help() const;
};

const std::vector<CExprFunction> &ExprFunctions();
// The function of a name (letter case ignored), or -1.
int FindExprFunction(QStringView name);

// A value as a message names it: the text "abc", the number 12.5, the date 2026-03-14, NULL.
QString DescribeValue(const CExprValue &value);

// Calls a function whose arguments are all evaluated (every function but IF, COALESCE and the
// totals); positions holds where each argument starts, for an error to point at.
bool CallExprFunction(const CExprFunction &function, const std::vector<CExprValue> &arguments,
                      const std::vector<int> &positions, CExprContext &context, CExprValue &result,
                      CExprError &error);
