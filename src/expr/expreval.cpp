#include "expression.h"
#include "exprfunctions.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("Expression", text);
}

QString OperatorText(ExprOp op)
{
    static const char16_t *const texts[] = {u"OR", u"AND", u"NOT", u"=", u"<>", u"<", u"<=",  u">",
                                            u">=", u"&",   u"+",   u"-", u"*",  u"/", u"MOD", u"-"};
    return QString::fromUtf16(texts[int(op)]);
}

// Walks the tree once per evaluation. Its depth is bounded by the parser, so the recursion is.
class Evaluator
{
public:
    Evaluator(CExprContext &context, CExprError &error)
        : m_context(context)
        , m_error(error)
    { }

    bool Eval(const CExprNode &node, CExprValue &value);
    // A value that must be true, false or NULL.
    bool Condition(const CExprNode &node, CExprValue &value, const QString &what);

private:
    bool Fail(int position, const QString &message)
    {
        m_error = {position, message};
        return false;
    }
    bool Operator(const CExprNode &node, CExprValue &value);
    bool Logical(const CExprNode &node, CExprValue &value);
    bool Arithmetic(const CExprNode &node, const CExprValue &a, const CExprValue &b,
                    CExprValue &value);
    bool Call(const CExprNode &node, CExprValue &value);

    CExprContext &m_context;
    CExprError &m_error;
};

bool Evaluator::Eval(const CExprNode &node, CExprValue &value)
{
    QString problem;
    bool done = false;
    switch (node.kind) {
    case CExprNode::Kind::Literal:
        value = node.value;
        return true;
    case CExprNode::Kind::Name:
        done = m_context.NameValue(node.index, value, problem) || Fail(node.position, problem);
        break;
    case CExprNode::Kind::Total:
        done = m_context.TotalValue(node.index, value, problem) || Fail(node.position, problem);
        break;
    case CExprNode::Kind::Operator:
        done = Operator(node, value);
        break;
    case CExprNode::Kind::Function:
        done = Call(node, value);
        break;
    }
    if (done && value.GetType() == CExprValue::Type::Text
        && value.GetText().size() > CExpression::MaxTextLength)
        return Fail(node.position, Tr("a text is at most 1,048,576 characters long"));
    return done;
}

bool Evaluator::Condition(const CExprNode &node, CExprValue &value, const QString &what)
{
    if (!Eval(node, value))
        return false;
    if (value.IsNull() || value.GetType() == CExprValue::Type::Boolean)
        return true;
    return Fail(node.position,
                Tr("%1 needs true or false, not %2").arg(what, DescribeValue(value)));
}

bool Evaluator::Logical(const CExprNode &node, CExprValue &value)
{
    const QString what = u"\""_s + OperatorText(node.op) + u"\""_s;
    CExprValue left;
    if (!Condition(node.children[0], left, what))
        return false;
    if (node.op == ExprOp::Not) {
        value = left.IsNull() ? left : CExprValue::Boolean(!left.GetBoolean());
        return true;
    }
    // Three-valued: FALSE AND NULL is FALSE, TRUE OR NULL is TRUE; the right side is read only
    // when the left does not decide.
    const bool decisive = node.op == ExprOp::Or;
    if (!left.IsNull() && left.GetBoolean() == decisive) {
        value = left;
        return true;
    }
    CExprValue right;
    if (!Condition(node.children[1], right, what))
        return false;
    if (!right.IsNull() && right.GetBoolean() == decisive)
        value = right;
    else if (left.IsNull() || right.IsNull())
        value = CExprValue();
    else
        value = CExprValue::Boolean(!decisive);
    return true;
}

bool Evaluator::Operator(const CExprNode &node, CExprValue &value)
{
    switch (node.op) {
    case ExprOp::Or:
    case ExprOp::And:
    case ExprOp::Not:
        return Logical(node, value);
    default:
        break;
    }
    CExprValue a;
    CExprValue b;
    if (!Eval(node.children[0], a) || (node.children.size() > 1 && !Eval(node.children[1], b)))
        return false;
    switch (node.op) {
    case ExprOp::Join: {
        if (a.ToText().size() + b.ToText().size() > CExpression::MaxTextLength)
            return Fail(node.position, Tr("a text is at most 1,048,576 characters long"));
        value = CExprValue(a.ToText() + b.ToText());
        return true;
    }
    case ExprOp::Equal:
    case ExprOp::NotEqual:
    case ExprOp::Less:
    case ExprOp::LessEqual:
    case ExprOp::Greater:
    case ExprOp::GreaterEqual: {
        if (a.IsNull() || b.IsNull()) {
            value = CExprValue();
            return true;
        }
        int order = 0;
        if (!CExprValue::Compare(a, b, order))
            return Fail(node.position,
                        Tr("\"%1\" cannot compare %2 with %3")
                                .arg(OperatorText(node.op), DescribeValue(a), DescribeValue(b)));
        const bool results[] = {order == 0, order != 0, order<0, order <= 0, order> 0, order >= 0};
        value = CExprValue::Boolean(results[int(node.op) - int(ExprOp::Equal)]);
        return true;
    }
    default:
        return Arithmetic(node, a, b, value);
    }
}

bool Evaluator::Arithmetic(const CExprNode &node, const CExprValue &a, const CExprValue &b,
                           CExprValue &value)
{
    const bool unary = node.op == ExprOp::Negate;
    if (a.IsNull() || (!unary && b.IsNull())) {
        value = CExprValue();
        return true;
    }
    CExactDecimal x;
    CExactDecimal y;
    for (int i = 0; i < (unary ? 1 : 2); ++i) {
        const CExprValue &operand = i == 0 ? a : b;
        if (!operand.ToNumber(i == 0 ? x : y))
            return Fail(node.children[size_t(i)].position,
                        Tr("\"%1\" needs numbers, not %2")
                                .arg(OperatorText(node.op), DescribeValue(operand)));
    }
    if ((node.op == ExprOp::Divide || node.op == ExprOp::Mod) && y.IsZero())
        return Fail(node.position, Tr("division by zero"));
    CExactDecimal result;
    bool fits = true;
    switch (node.op) {
    case ExprOp::Plus:
        fits = x.Plus(y, result);
        break;
    case ExprOp::Minus:
        fits = x.Minus(y, result);
        break;
    case ExprOp::Times:
        fits = x.Times(y, result);
        break;
    case ExprOp::Divide:
        fits = x.Divide(y, result);
        break;
    case ExprOp::Mod:
        fits = x.Modulo(y, result);
        break;
    default:
        result = x.Negated();
        break;
    }
    if (!fits)
        return Fail(node.position, Tr("the result has more than 38 digits before the point"));
    value = CExprValue(result);
    return true;
}

bool Evaluator::Call(const CExprNode &node, CExprValue &value)
{
    const CExprFunction &function = ExprFunctions()[size_t(node.function)];
    if (function.id == CExprFunction::If) {
        CExprValue condition;
        if (!Condition(node.children[0], condition, u"IF"_s))
            return false;
        const bool chosen = !condition.IsNull() && condition.GetBoolean();
        return Eval(node.children[chosen ? 1 : 2], value);
    }
    if (function.id == CExprFunction::Coalesce) {
        for (const CExprNode &child : node.children) {
            if (!Eval(child, value))
                return false;
            if (!value.IsNull())
                return true;
        }
        return true;
    }
    std::vector<CExprValue> arguments(node.children.size());
    std::vector<int> positions(node.children.size());
    for (size_t i = 0; i < node.children.size(); ++i) {
        positions[i] = node.children[i].position;
        if (!Eval(node.children[i], arguments[i]))
            return false;
    }
    return CallExprFunction(function, arguments, positions, m_context, value, m_error);
}

} // namespace

bool CExpression::Evaluate(CExprContext &context, CExprValue &value, CExprError &error) const
{
    return Evaluator(context, error).Eval(*m_root, value);
}

bool CExpression::EvaluateTotalArgument(int total, CExprContext &context, CExprValue &value,
                                        CExprError &error) const
{
    return Evaluator(context, error).Eval(*m_totals[size_t(total)].argument, value);
}

bool CExpression::EvaluateCondition(CExprContext &context, bool &result, CExprError &error) const
{
    CExprValue value;
    if (!Evaluator(context, error).Condition(*m_root, value, Tr("A condition")))
        return false;
    result = !value.IsNull() && value.GetBoolean();
    return true;
}
