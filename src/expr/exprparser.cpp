#include "expression.h"
#include "exprfunctions.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("Expression", text);
}

struct Token
{
    enum class Kind {
        End,
        Number,
        Text,
        Name, // [NAME]
        Parameter, // {NAME}
        Special, // #PAGE, #PAGES, #ROW
        Word,
        Symbol,
    };

    Kind kind = Kind::End;
    int position = 0;
    int length = 0;
    QString text; // a text's or name's content, a word, a symbol
    CExactDecimal number;
};

bool IsWordStart(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
}

bool IsWordChar(QChar c)
{
    return IsWordStart(c) || (c >= u'0' && c <= u'9');
}

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

// A total keeps a pointer to its argument inside the tree: nodes must move, never copy, as
// their vectors grow.
static_assert(std::is_nothrow_move_constructible_v<CExprNode>);

// Reads an expression by recursive descent, one level per binding strength. Each node knows
// its depth; the tree and the nesting of the text are both held to MaxDepth levels, so that
// evaluating and freeing the tree stay within a small, fixed stack.
class CExprParser
{
public:
    CExprParser(const QString &text, CExpression &result)
        : m_text(text)
        , m_result(result)
    { }

    bool Parse(CExprError &error);

private:
    struct Built
    {
        CExprNode node;
        int depth = 1;
    };

    bool Next();
    bool ReadDelimited(QChar close, const QString &unclosed, QString &content);
    bool Fail(int position, const QString &message);
    bool Expected(const QString &what);
    QString Found() const;
    bool IsSymbol(QStringView symbol) const;
    bool IsWord(QStringView word) const;

    bool Binary(int level, Built &built);
    bool Unary(Built &built);
    bool Primary(Built &built);
    bool Call(Built &built);
    bool Enter(int position);
    bool Join(Built &parent, Built &&child, int position);
    int NameIndex(CExprName name);

    const QString &m_text;
    CExpression &m_result;
    Token m_token;
    qsizetype m_at = 0;
    int m_nesting = 0;
    // The total being read: fields inside it belong to the band it totals.
    int m_total = -1;
    CExprError m_error;
};

bool CExprParser::Fail(int position, const QString &message)
{
    if (m_error.message.isEmpty())
        m_error = {position, message};
    return false;
}

QString CExprParser::Found() const
{
    switch (m_token.kind) {
    case Token::Kind::End:
        return Tr("the end");
    case Token::Kind::Text:
        return Tr("a text");
    case Token::Kind::Number:
        return Tr("a number");
    default:
        return u"\""_s + m_text.mid(m_token.position, std::min(m_token.length, 40)) + u"\""_s;
    }
}

bool CExprParser::Expected(const QString &what)
{
    return Fail(m_token.position, Tr("expected %1 but found %2").arg(what, Found()));
}

bool CExprParser::IsSymbol(QStringView symbol) const
{
    return m_token.kind == Token::Kind::Symbol && m_token.text == symbol;
}

bool CExprParser::IsWord(QStringView word) const
{
    return m_token.kind == Token::Kind::Word
            && m_token.text.compare(word, Qt::CaseInsensitive) == 0;
}

bool CExprParser::ReadDelimited(QChar close, const QString &unclosed, QString &content)
{
    // A doubled closing character stands for itself.
    const int start = int(m_at);
    for (++m_at; m_at < m_text.size(); ++m_at) {
        if (m_text[m_at] != close) {
            content += m_text[m_at];
            continue;
        }
        if (m_at + 1 < m_text.size() && m_text[m_at + 1] == close && close != u'}') {
            content += close;
            ++m_at;
            continue;
        }
        ++m_at;
        return true;
    }
    return Fail(start, unclosed);
}

bool CExprParser::Next()
{
    while (m_at < m_text.size() && m_text[m_at].isSpace())
        ++m_at;
    m_token = Token();
    m_token.position = int(m_at);
    if (m_at >= m_text.size())
        return true;
    const QChar c = m_text[m_at];
    if (IsDigit(c)) {
        m_token.kind = Token::Kind::Number;
        while (m_at < m_text.size() && IsDigit(m_text[m_at]))
            ++m_at;
        if (m_at < m_text.size() && m_text[m_at] == u'.') {
            ++m_at;
            if (m_at >= m_text.size() || !IsDigit(m_text[m_at]))
                return Fail(int(m_at), Tr("expected a digit after the decimal point"));
            while (m_at < m_text.size() && IsDigit(m_text[m_at]))
                ++m_at;
        }
        if (m_at < m_text.size() && (IsWordChar(m_text[m_at]) || m_text[m_at] == u'.'))
            return Fail(int(m_at), Tr("expected an operator after the number"));
        const QStringView digits
                = QStringView(m_text).mid(m_token.position, m_at - m_token.position);
        if (!CExactDecimal::FromText(digits, m_token.number))
            return Fail(m_token.position, Tr("a number has at most 38 digits"));
    } else if (c == u'\'') {
        m_token.kind = Token::Kind::Text;
        if (!ReadDelimited(u'\'', Tr("the text is not closed with '"), m_token.text))
            return false;
    } else if (c == u'[') {
        m_token.kind = Token::Kind::Name;
        if (!ReadDelimited(u']', Tr("the name is not closed with ]"), m_token.text))
            return false;
        if (m_token.text.trimmed().isEmpty())
            return Fail(m_token.position, Tr("expected a name between [ and ]"));
    } else if (c == u'{') {
        m_token.kind = Token::Kind::Parameter;
        if (!ReadDelimited(u'}', Tr("the parameter is not closed with }"), m_token.text))
            return false;
        if (m_token.text.trimmed().isEmpty())
            return Fail(m_token.position, Tr("expected a parameter name between { and }"));
    } else if (c == u'#') {
        m_token.kind = Token::Kind::Special;
        ++m_at;
        while (m_at < m_text.size() && IsWordChar(m_text[m_at]))
            ++m_at;
        m_token.text = m_text.mid(m_token.position, m_at - m_token.position).toUpper();
        if (m_token.text != u"#PAGE" && m_token.text != u"#PAGES" && m_token.text != u"#ROW")
            return Fail(m_token.position, Tr("expected #PAGE, #PAGES or #ROW"));
    } else if (IsWordStart(c)) {
        m_token.kind = Token::Kind::Word;
        while (m_at < m_text.size() && IsWordChar(m_text[m_at]))
            ++m_at;
        m_token.text = m_text.mid(m_token.position, m_at - m_token.position);
    } else {
        m_token.kind = Token::Kind::Symbol;
        static const QStringView symbols[] = {u"<>", u"<=", u">=", u"=", u"<", u">", u"&", u"+",
                                              u"-",  u"*",  u"/",  u"(", u")", u",", u"."};
        for (const QStringView symbol : symbols) {
            if (QStringView(m_text).mid(m_at).startsWith(symbol)) {
                m_token.text = symbol.toString();
                m_at += symbol.size();
                break;
            }
        }
        if (m_token.text.isEmpty())
            return Fail(m_token.position, Tr("the character \"%1\" has no meaning here").arg(c));
    }
    m_token.length = int(m_at) - m_token.position;
    return true;
}

bool CExprParser::Parse(CExprError &error)
{
    m_result.m_text = m_text;
    bool parsed = false;
    if (m_text.size() > CExpression::MaxLength) {
        Fail(CExpression::MaxLength, Tr("an expression is at most 64 KB long"));
    } else if (Next()) {
        Built built;
        if (m_token.kind == Token::Kind::End)
            Expected(Tr("a value"));
        else if (Binary(0, built)
                 && (m_token.kind == Token::Kind::End || Expected(Tr("an operator"))))
            parsed = true;
        *m_result.m_root = std::move(built.node);
    }
    error = m_error;
    return parsed;
}

bool CExprParser::Enter(int position)
{
    if (++m_nesting > CExpression::MaxDepth)
        return Fail(position, Tr("an expression is nested at most 256 levels deep"));
    return true;
}

bool CExprParser::Join(Built &parent, Built &&child, int position)
{
    parent.depth = std::max(parent.depth, child.depth + 1);
    parent.node.children.push_back(std::move(child.node));
    if (parent.depth > CExpression::MaxDepth)
        return Fail(position, Tr("an expression is nested at most 256 levels deep"));
    return true;
}

// The binary levels, lowest binding first; NOT sits between AND and the comparisons.
bool CExprParser::Binary(int level, Built &built)
{
    struct Operator
    {
        QStringView text;
        bool word;
        ExprOp op;
    };
    static const std::vector<std::vector<Operator>> levels = {
            {{u"OR", true, ExprOp::Or}},
            {{u"AND", true, ExprOp::And}},
            {},
            {{u"=", false, ExprOp::Equal},
             {u"<>", false, ExprOp::NotEqual},
             {u"<", false, ExprOp::Less},
             {u"<=", false, ExprOp::LessEqual},
             {u">", false, ExprOp::Greater},
             {u">=", false, ExprOp::GreaterEqual}},
            {{u"&", false, ExprOp::Join}},
            {{u"+", false, ExprOp::Plus}, {u"-", false, ExprOp::Minus}},
            {{u"*", false, ExprOp::Times},
             {u"/", false, ExprOp::Divide},
             {u"MOD", true, ExprOp::Mod}},
    };
    if (level == int(levels.size()))
        return Unary(built);
    if (levels[level].empty()) {
        // NOT binds less than a comparison: NOT a = b is NOT (a = b).
        if (!IsWord(u"NOT"))
            return Binary(level + 1, built);
        const int position = m_token.position;
        if (!Enter(position) || !Next())
            return false;
        Built operand;
        if (!Binary(level, operand))
            return false;
        --m_nesting;
        built.node.kind = CExprNode::Kind::Operator;
        built.node.op = ExprOp::Not;
        built.node.position = position;
        return Join(built, std::move(operand), position);
    }
    if (!Binary(level + 1, built))
        return false;
    for (;;) {
        const Operator *found = nullptr;
        for (const Operator &candidate : levels[level]) {
            if (candidate.word ? IsWord(candidate.text) : IsSymbol(candidate.text))
                found = &candidate;
        }
        if (!found)
            return true;
        const int position = m_token.position;
        if (!Next())
            return false;
        Built right;
        if (!Binary(level + 1, right))
            return false;
        Built joined;
        joined.node.kind = CExprNode::Kind::Operator;
        joined.node.op = found->op;
        joined.node.position = position;
        if (!Join(joined, std::move(built), position) || !Join(joined, std::move(right), position))
            return false;
        built = std::move(joined);
    }
}

bool CExprParser::Unary(Built &built)
{
    if (!IsSymbol(u"-"))
        return Primary(built);
    const int position = m_token.position;
    if (!Enter(position) || !Next())
        return false;
    Built operand;
    if (!Unary(operand))
        return false;
    --m_nesting;
    built.node.kind = CExprNode::Kind::Operator;
    built.node.op = ExprOp::Negate;
    built.node.position = position;
    return Join(built, std::move(operand), position);
}

int CExprParser::NameIndex(CExprName name)
{
    std::vector<CExprName> &names = m_result.m_names;
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i].kind == name.kind && names[i].band.compare(name.band, Qt::CaseInsensitive) == 0
            && names[i].name.compare(name.name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    names.push_back(std::move(name));
    return int(names.size()) - 1;
}

bool CExprParser::Primary(Built &built)
{
    CExprNode &node = built.node;
    node.position = m_token.position;
    switch (m_token.kind) {
    case Token::Kind::Number:
        node.value = CExprValue(m_token.number);
        return Next();
    case Token::Kind::Text:
        node.value = CExprValue(m_token.text);
        return Next();
    case Token::Kind::Parameter:
    case Token::Kind::Special: {
        CExprName name;
        name.position = m_token.position;
        if (m_token.kind == Token::Kind::Parameter) {
            name.kind = CExprName::Kind::Parameter;
            name.name = m_token.text.trimmed();
        } else {
            name.kind = m_token.text == u"#PAGE" ? CExprName::Kind::PageNumber
                    : m_token.text == u"#PAGES"  ? CExprName::Kind::PageCount
                                                 : CExprName::Kind::RowNumber;
        }
        node.kind = CExprNode::Kind::Name;
        node.index = NameIndex(std::move(name));
        return Next();
    }
    case Token::Kind::Name: {
        CExprName name;
        name.position = m_token.position;
        name.name = m_token.text.trimmed();
        if (!Next())
            return false;
        if (IsSymbol(u".")) {
            if (!Next())
                return false;
            if (m_token.kind != Token::Kind::Name)
                return Expected(Tr("a field name in brackets after the band name"));
            name.band = name.name;
            name.name = m_token.text.trimmed();
            if (!Next())
                return false;
        }
        if (m_total >= 0) {
            CExprTotal &total = m_result.m_totals[size_t(m_total)];
            if (name.band.isEmpty())
                total.ownFields = true;
            else if (total.band.isEmpty())
                total.band = name.band;
            else if (total.band.compare(name.band, Qt::CaseInsensitive) != 0)
                return Fail(name.position,
                            Tr("a total takes the rows of one band, not of \"%1\" "
                               "and \"%2\"")
                                    .arg(total.band, name.band));
        }
        node.kind = CExprNode::Kind::Name;
        node.index = NameIndex(std::move(name));
        return true;
    }
    case Token::Kind::Word:
        if (IsWord(u"TRUE") || IsWord(u"FALSE")) {
            node.value = CExprValue::Boolean(IsWord(u"TRUE"));
            return Next();
        }
        if (IsWord(u"NULL"))
            return Next();
        return Call(built);
    case Token::Kind::Symbol:
        if (IsSymbol(u"(")) {
            if (!Enter(m_token.position) || !Next() || !Binary(0, built))
                return false;
            --m_nesting;
            if (!IsSymbol(u")"))
                return Expected(u"\")\""_s);
            return Next();
        }
        break;
    case Token::Kind::End:
        break;
    }
    return Expected(Tr("a value"));
}

bool CExprParser::Call(Built &built)
{
    CExprNode &node = built.node;
    const int position = m_token.position;
    const QString name = m_token.text;
    const int index = FindExprFunction(name);
    if (!Next())
        return false;
    if (!IsSymbol(u"(")) {
        if (index >= 0)
            return Expected(u"\"(\""_s);
        return Fail(position,
                    Tr("unknown name \"%1\": a field is written [%1], a parameter {%1}").arg(name));
    }
    if (index < 0)
        return Fail(position, Tr("unknown function \"%1\"").arg(name));
    const CExprFunction &function = ExprFunctions()[size_t(index)];
    node.kind = function.IsTotal() ? CExprNode::Kind::Total : CExprNode::Kind::Function;
    node.function = index;
    if (function.IsTotal()) {
        if (m_total >= 0)
            return Fail(position, Tr("a total cannot hold another total"));
        CExprTotal total;
        total.function = CExprTotal::Sum + (function.id - CExprFunction::Sum);
        total.position = position;
        node.index = int(m_result.m_totals.size());
        m_result.m_totals.push_back(total);
        m_total = node.index;
    }
    if (!Enter(position) || !Next())
        return false;
    if (!IsSymbol(u")")) {
        for (;;) {
            const int argument = m_token.position;
            Built value;
            if (!Binary(0, value))
                return false;
            if (function.Argument(int(node.children.size())) == 'S') {
                // The scope of a total is a word of the language, written as a text.
                const int over = value.node.kind != CExprNode::Kind::Literal
                                || value.node.value.GetType() != CExprValue::Type::Text
                        ? -1
                        : value.node.value.GetText().compare(u"Band", Qt::CaseInsensitive) == 0
                        ? CExprTotal::OverBand
                        : value.node.value.GetText().compare(u"Page", Qt::CaseInsensitive) == 0
                        ? CExprTotal::OverPage
                        : value.node.value.GetText().compare(u"Report", Qt::CaseInsensitive) == 0
                        ? CExprTotal::OverReport
                        : -1;
                if (over < 0)
                    return Fail(argument, Tr("expected 'Band', 'Page' or 'Report'"));
                m_result.m_totals[size_t(node.index)].over = over;
            }
            if (!Join(built, std::move(value), argument))
                return false;
            if (!IsSymbol(u","))
                break;
            if (!Next())
                return false;
        }
        if (!IsSymbol(u")"))
            return Expected(Tr("\",\" or \")\""));
    }
    --m_nesting;
    const int count = int(node.children.size());
    if (count < function.minArguments
        || (function.maxArguments >= 0 && count > function.maxArguments)) {
        const QString wanted = function.maxArguments < 0
                ? Tr("at least %1").arg(function.minArguments)
                : function.minArguments == function.maxArguments
                ? QString::number(function.minArguments)
                : Tr("%1 or %2").arg(function.minArguments).arg(function.maxArguments);
        return Fail(position,
                    Tr("%1 takes %2 values, not %3")
                            .arg(QString::fromLatin1(function.signature), wanted)
                            .arg(count));
    }
    if (function.IsTotal()) {
        m_result.m_totals[size_t(node.index)].argument = &node.children.front();
        m_total = -1;
    } else if (function.id == CExprFunction::Date) {
        // DATE(2026, 3, 14) is a literal when its parts are.
        QDate date;
        const auto part = [&](int i) {
            qint64 whole = 0;
            const CExprNode &child = node.children[size_t(i)];
            if (child.kind != CExprNode::Kind::Literal
                || child.value.GetType() != CExprValue::Type::Number
                || !child.value.GetNumber().ToWhole(whole) || whole < 0 || whole > 9999)
                return -1;
            return int(whole);
        };
        if (part(0) > 0 && part(1) >= 0 && part(2) >= 0) {
            date = QDate(part(0), part(1), part(2));
            if (!date.isValid())
                return Fail(
                        position,
                        Tr("DATE(%1, %2, %3) is no date").arg(part(0)).arg(part(1)).arg(part(2)));
        }
        if (date.isValid()) {
            node.kind = CExprNode::Kind::Literal;
            node.value = CExprValue(date);
            node.children.clear();
        }
    }
    return Next();
}

bool CExpression::Parse(const QString &text, CExpression &result, CExprError &error)
{
    result = CExpression();
    CExprParser parser(text, result);
    return parser.Parse(error);
}

QString CExprError::Describe() const
{
    return QCoreApplication::translate("Expression", "%1 (at character %2)")
            .arg(message)
            .arg(position + 1);
}
