#include "sqlsyntaxparser.h"

#include <array>

namespace {

constexpr std::array<QStringView, 17> keywords
        = {u"select", u"where", u"insert", u"into",  u"update",   u"from", u"in",  u"order", u"by",
           u"and",    u"or",    u"not",    u"union", u"distinct", u"join", u"all", u"group"};

constexpr std::array<QStringView, 10> typeNames
        = {u"CHAR", u"VARCHAR", u"INTEGER", u"REAL", u"DOUBLE",
           u"MEMO", u"BYTE",    u"WORD",    u"DATE", u"TIME"};

// Character classes work on UTF-16 code units; every unit from 128 up counts
// as a letter so that names in any script form words. The code 0 stands for
// "no character" (the position after the end of the line) and is in no class.
bool IsAsciiLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

bool IsIdentifierStart(char16_t c)
{
    return IsAsciiLetter(c) || c == u'_' || c >= 128;
}

bool IsIdentifierChar(char16_t c)
{
    return IsIdentifierStart(c) || IsDigit(c);
}

bool IsWhiteSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

char16_t FoldAscii(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

bool EqualsIgnoringAsciiCase(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype k = 0; k < a.size(); ++k) {
        if (FoldAscii(a[k].unicode()) != FoldAscii(b[k].unicode()))
            return false;
    }
    return true;
}

template<size_t N>
bool IsOneOf(QStringView word, const std::array<QStringView, N> &list)
{
    for (QStringView entry : list) {
        if (EqualsIgnoringAsciiCase(word, entry))
            return true;
    }
    return false;
}

// One line being parsed; At() answers 0 outside the line so that the look-backs
// and look-aheads of the rules need no bounds checks of their own.
class LineScan
{
public:
    LineScan(QStringView text, std::vector<CSyntaxParser::Block> *blocks)
        : m_text(text)
        , m_blocks(blocks)
    { }

    qsizetype Size() const { return m_text.size(); }

    char16_t At(qsizetype k) const
    {
        return k >= 0 && k < m_text.size() ? m_text[k].unicode() : char16_t(0);
    }

    void Add(qsizetype start, int colour) const
    {
        if (m_blocks)
            CSyntaxParser::AddBlock(*m_blocks, int(start), colour);
    }

    // A dot between two characters that cannot start a name belongs to the
    // word around it, as in "1.5"; in "t.col" it separates two names.
    bool IsWordDot(qsizetype k) const
    {
        return At(k) == u'.' && k > 0 && !IsIdentifierStart(At(k - 1))
                && !IsIdentifierStart(At(k + 1));
    }

    // A quote preceded by a single backslash is part of the string.
    bool IsEscaped(qsizetype k) const
    {
        return k >= 1 && At(k - 1) == u'\\' && (k == 1 || At(k - 2) != u'\\');
    }

    void ClassifyWord(qsizetype start, qsizetype end) const
    {
        const QStringView word = m_text.sliced(start, end - start);
        if (CSQLSyntaxParser::IsKeyword(word)) {
            Add(start, CSyntaxParser::ColourKeyword);
        } else if (CSQLSyntaxParser::IsTypeName(word)) {
            Add(start, CSyntaxParser::ColourTypeName);
        } else if (CSQLSyntaxParser::IsNumber(word)) {
            Add(start, CSyntaxParser::ColourNumber);
        } else {
            qsizetype k = end;
            while (IsWhiteSpace(At(k)))
                ++k;
            if (At(k) == u'(')
                Add(start, CSyntaxParser::ColourFunctionName);
        }
    }

private:
    QStringView m_text;
    std::vector<CSyntaxParser::Block> *m_blocks;
};

} // namespace

bool CSQLSyntaxParser::IsKeyword(QStringView word)
{
    return IsOneOf(word, keywords);
}

bool CSQLSyntaxParser::IsTypeName(QStringView word)
{
    return IsOneOf(word, typeNames);
}

bool CSQLSyntaxParser::IsNumber(QStringView word)
{
    if (word.isEmpty() || !IsDigit(word[0].unicode()))
        return false;
    // Hexadecimal numbers take a lower-case x only.
    if (word.size() > 2 && word[0] == u'0' && word[1] == u'x') {
        for (QChar c : word.sliced(2)) {
            const char16_t u = c.unicode();
            if (!IsDigit(u) && !(u >= u'a' && u <= u'f') && !(u >= u'A' && u <= u'F'))
                return false;
        }
        return true;
    }
    for (QChar c : word.sliced(1)) {
        const char16_t u = c.unicode();
        if (!IsDigit(u) && u != u'+' && u != u'-' && u != u'.' && u != u'E' && u != u'e')
            return false;
    }
    return true;
}

const CSQLSyntaxParser &CSQLSyntaxParser::Shared()
{
    static const CSQLSyntaxParser parser;
    return parser;
}

quint32 CSQLSyntaxParser::ParseLine(quint32 state, QStringView line,
                                    std::vector<Block> *blocks) const
{
    const LineScan scan(line, blocks);
    const qsizetype n = scan.Size();
    // A line of one character keeps the normal-text block it starts with,
    // whatever the state, and passes on an open block comment only.
    if (n <= 1)
        return state & StateBlockComment;

    // `redefine` asks for a new block at the current position (or, with
    // `usePrevious`, at the one before it) once a word, string or comment has
    // ended. After punctuation both stay set, so that every further character
    // of a run of punctuation gets a block of its own until a word starts.
    bool redefine = true;
    bool usePrevious = false;
    bool commentJustOpened = false;
    qsizetype wordStart = -1;
    qsizetype i = 0;
    for (;; ++i) {
        if (redefine) {
            const qsizetype p = usePrevious ? i - 1 : i;
            if (state & (StateLineComment | StateBlockComment)) {
                scan.Add(p, ColourComment);
                redefine = usePrevious = false;
            } else if (state & (StateDoubleQuoted | StateSingleQuoted)) {
                scan.Add(p, ColourString);
                redefine = usePrevious = false;
            } else if (IsIdentifierChar(scan.At(p)) || scan.IsWordDot(p)) {
                scan.Add(p, ColourNormalText);
                redefine = usePrevious = false;
            } else {
                scan.Add(p, ColourOperator);
                usePrevious = true;
            }
        }
        if (i == n)
            break;

        const char16_t c = scan.At(i);
        if (state & StateLineComment) {
            scan.Add(i, ColourComment);
            break;
        }
        if (state & StateDoubleQuoted) {
            if (c == u'"' && !scan.IsEscaped(i)) {
                state &= ~quint32(StateDoubleQuoted);
                redefine = true;
            }
            continue;
        }
        if (state & StateSingleQuoted) {
            if (c == u'\'' && !scan.IsEscaped(i)) {
                state &= ~quint32(StateSingleQuoted);
                redefine = true;
            }
            continue;
        }
        if (state & StateBlockComment) {
            // The "*" of the "/*" that opened the comment cannot also close it,
            // so "/*/" leaves the comment open.
            if (c == u'/' && scan.At(i - 1) == u'*' && !commentJustOpened) {
                state &= ~quint32(StateBlockComment);
                redefine = true;
            }
            commentJustOpened = false;
            continue;
        }

        if (c == u'/' && scan.At(i - 1) == u'/') {
            scan.Add(i - 1, ColourComment);
            state |= StateLineComment;
            break;
        }
        if (c == u'"') {
            scan.Add(i, ColourString);
            state |= StateDoubleQuoted;
            continue;
        }
        // A quote right after a word character is punctuation, not a string.
        if (c == u'\'' && !IsIdentifierChar(scan.At(i - 1))) {
            scan.Add(i, ColourString);
            state |= StateSingleQuoted;
            continue;
        }
        if (c == u'*' && scan.At(i - 1) == u'/') {
            scan.Add(i - 1, ColourComment);
            commentJustOpened = true;
            state |= StateBlockComment;
            continue;
        }
        commentJustOpened = false;

        // Words only matter for the colours.
        if (!blocks)
            continue;
        if (IsIdentifierChar(c) || scan.IsWordDot(i)) {
            if (wordStart < 0)
                wordStart = i;
            continue;
        }
        if (wordStart >= 0)
            scan.ClassifyWord(wordStart, i);
        redefine = usePrevious = true;
        wordStart = -1;
    }
    if (wordStart >= 0)
        scan.ClassifyWord(wordStart, i);

    if (scan.At(n - 1) == u'\\')
        return state;
    return state & StateBlockComment;
}
