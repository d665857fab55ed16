#pragma once

#include "exprvalue.h"

#include <QString>

#include <vector>

// What went wrong in an expression and where: the character offset (from 0) in its text, and a
// message that says what was expected or what failed.
struct CExprError
{
    int position = 0;
    QString message;

    // The message with its place for a person: "expected ")" but found the end (at character 7)".
    QString Describe() const;
    bool operator==(const CExprError &other) const = default;
};

// The operators, lowest binding first.
enum class ExprOp {
    Or,
    And,
    Not,
    Equal,
    NotEqual,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    Join,
    Plus,
    Minus,
    Times,
    Divide,
    Mod,
    Negate,
};

// One node of a parsed expression. Its children are its operands or arguments, in text order.
struct CExprNode
{
    enum class Kind { Literal, Name, Operator, Function, Total };

    Kind kind = Kind::Literal;
    int position = 0; // where the node starts (an operator: the operator itself)
    ExprOp op = ExprOp::Or; // of an operator
    int function = -1; // of a function: its index in ExprFunctions()
    int index = -1; // of a name: its index in the names; of a total: in the totals
    CExprValue value; // of a literal
    std::vector<CExprNode> children;
};

// A name an expression reads: a column of a band's current row, a parameter value of the item's
// band, or a number the run keeps. One entry per different name (letter case ignored).
struct CExprName
{
    enum class Kind { Field, Parameter, PageNumber, PageCount, RowNumber };

    Kind kind = Kind::Field;
    QString band; // of a field written [Band].[FIELD]; empty for [FIELD], the item's own band
    QString name; // of a field or a parameter
    int position = 0; // of its first use
};

// A total the engine keeps over the rows of one band, as a DB Text's Aggregate does: the values
// of its argument taken row by row. The function and scope codes are those of a DB Text's
// Aggregate and Aggregate Over.
struct CExprTotal
{
    enum Function { Sum = 1, Count = 2, Average = 3, Minimum = 4, Maximum = 5 };
    enum Over { OverBand = 0, OverPage = 1, OverReport = 2 };

    int function = Sum;
    int over = OverBand;
    // The band whose rows it takes: the one its fields name as [Band].[FIELD], empty when they
    // name none (the item's own data source band).
    QString band;
    // Whether it also names fields as [FIELD], which must then be of that same band.
    bool ownFields = false;
    int position = 0;
    const CExprNode *argument = nullptr;
};
