#include "expression.h"
#include "exprfunctions.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("Expression", text);
}

// The kinds a value may have before any data is read. A text may read as a number or a date
// where one is needed: a literal text only when it does, any other text perhaps.
enum Kinds : unsigned {
    Null = 1,
    Number = 2,
    Text = 4,
    TextNumber = 8, // a text that may read as a number
    TextDate = 16, // a text that may read as a date
    Date = 32,
    Boolean = 64,
    AnyText = Text | TextNumber | TextDate,
    Any = Null | Number | AnyText | Date | Boolean,
};

unsigned KindsOf(char letter)
{
    switch (letter) {
    case 'N':
        return Number | Null;
    case 'D':
        return Date | Null;
    case 'B':
        return Boolean | Null;
    case 'T':
        return AnyText | Null;
    default:
        return Any;
    }
}

// Where each letter's values may come from: a number from a text that reads as one.
unsigned Accepted(char letter)
{
    switch (letter) {
    case 'N':
        return Number | TextNumber | Null;
    case 'D':
        return Date | TextDate | Null;
    case 'B':
        return Boolean | Null;
    default:
        return Any;
    }
}

QString LetterName(char letter)
{
    switch (letter) {
    case 'N':
        return Tr("a number");
    case 'D':
        return Tr("a date");
    default:
        return Tr("true or false");
    }
}

class TypeCheck
{
public:
    explicit TypeCheck(std::vector<CExprError> &problems)
        : m_problems(problems)
    { }

    unsigned Infer(const CExprNode &node);

private:
    // Checks that an operand can be of the letter's kind.
    void Need(const CExprNode &node, unsigned kinds, char letter, const QString &who)
    {
        // A value that may be NULL is still checked for what else it may be.
        const unsigned values = kinds & ~unsigned(Null);
        if (!values || (values & Accepted(letter)))
            return;
        const QString what = node.kind == CExprNode::Kind::Literal ? DescribeValue(node.value)
                : kinds & Number                                   ? Tr("a number")
                : kinds & Date                                     ? Tr("a date")
                : kinds & Boolean                                  ? Tr("true or false")
                                                                   : Tr("a text");
        m_problems.push_back(
                {node.position, Tr("%1 needs %2, not %3").arg(who, LetterName(letter), what)});
    }

    unsigned Operator(const CExprNode &node);
    unsigned Function(const CExprNode &node);

    std::vector<CExprError> &m_problems;
};

unsigned TypeCheck::Infer(const CExprNode &node)
{
    switch (node.kind) {
    case CExprNode::Kind::Literal:
        switch (node.value.GetType()) {
        case CExprValue::Type::Null:
            return Null;
        case CExprValue::Type::Number:
            return Number;
        case CExprValue::Type::Text: {
            CExactDecimal number;
            QDate date;
            return Text | (node.value.ToNumber(number) ? unsigned(TextNumber) : 0u)
                    | (node.value.ToDate(date) ? unsigned(TextDate) : 0u);
        }
        case CExprValue::Type::Boolean:
            return Boolean;
        default:
            return Date;
        }
    case CExprNode::Kind::Name:
        return Any;
    case CExprNode::Kind::Total:
        // The argument is checked as a value of its own function.
        Function(node);
        return Number | Null;
    case CExprNode::Kind::Operator:
        return Operator(node);
    case CExprNode::Kind::Function:
        return Function(node);
    }
    return Any;
}

unsigned TypeCheck::Operator(const CExprNode &node)
{
    std::vector<unsigned> kinds;
    for (const CExprNode &child : node.children)
        kinds.push_back(Infer(child));
    static const char16_t *const texts[] = {u"OR", u"AND", u"NOT", u"=", u"<>", u"<", u"<=",  u">",
                                            u">=", u"&",   u"+",   u"-", u"*",  u"/", u"MOD", u"-"};
    const QString who = u"\""_s + QString::fromUtf16(texts[int(node.op)]) + u"\""_s;
    switch (node.op) {
    case ExprOp::Or:
    case ExprOp::And:
    case ExprOp::Not:
        for (size_t i = 0; i < kinds.size(); ++i)
            Need(node.children[i], kinds[i], 'B', who);
        return Boolean | Null;
    case ExprOp::Join:
        return Text | TextNumber | TextDate;
    case ExprOp::Equal:
    case ExprOp::NotEqual:
    case ExprOp::Less:
    case ExprOp::LessEqual:
    case ExprOp::Greater:
    case ExprOp::GreaterEqual: {
        const unsigned a = kinds[0] & ~unsigned(Null);
        const unsigned b = kinds[1] & ~unsigned(Null);
        // Some pair of kinds that compare, or only NULL, which makes the result NULL.
        const auto meets = [](unsigned x, unsigned y) {
            return ((x & Number) && (y & (Number | TextNumber))) || ((x & Text) && (y & Text))
                    || ((x & Date) && (y & (Date | TextDate))) || ((x & Boolean) && (y & Boolean));
        };
        if (a && b && !meets(a, b) && !meets(b, a))
            m_problems.push_back({node.position,
                                  Tr("%1 cannot compare %2 with %3")
                                          .arg(who,
                                               node.children[0].kind == CExprNode::Kind::Literal
                                                       ? DescribeValue(node.children[0].value)
                                                       : Tr("another kind of value"),
                                               node.children[1].kind == CExprNode::Kind::Literal
                                                       ? DescribeValue(node.children[1].value)
                                                       : Tr("another kind of value"))});
        return Boolean | Null;
    }
    default:
        for (size_t i = 0; i < kinds.size(); ++i)
            Need(node.children[i], kinds[i], 'N', who);
        return Number | Null;
    }
}

unsigned TypeCheck::Function(const CExprNode &node)
{
    const CExprFunction &function = ExprFunctions()[size_t(node.function)];
    const QString who = QString::fromUtf16(function.name);
    unsigned values = 0;
    for (size_t i = 0; i < node.children.size(); ++i) {
        const unsigned kinds = Infer(node.children[i]);
        const char letter = function.Argument(int(i));
        Need(node.children[i], kinds, letter, who);
        // The values an IF, COALESCE, MIN or MAX may give.
        if (letter == 'A' && !(function.id == CExprFunction::If && i == 0))
            values |= kinds;
    }
    if (function.id == CExprFunction::IsNull)
        return Boolean;
    return function.result == 'A' ? values : KindsOf(function.result);
}

} // namespace

std::vector<CExprError> CExpression::TypeProblems() const
{
    std::vector<CExprError> problems;
    TypeCheck(problems).Infer(*m_root);
    std::stable_sort(
            problems.begin(), problems.end(),
            [](const CExprError &a, const CExprError &b) { return a.position < b.position; });
    return problems;
}

bool CExpression::CanBeCondition() const
{
    std::vector<CExprError> problems;
    const unsigned kinds = TypeCheck(problems).Infer(*m_root);
    return (kinds & Boolean) || kinds == Null;
}
