#include "exprsyntaxparser.h"

#include "exprfunctions.h"

#include <array>

namespace {

bool IsWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

bool IsWord(QStringView word)
{
    static constexpr std::array<QStringView, 7> words {u"AND",  u"OR",    u"NOT", u"MOD",
                                                       u"TRUE", u"FALSE", u"NULL"};
    for (QStringView entry : words) {
        if (word.compare(entry, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// The end of a run that closes with `close`, or the end of the line.
qsizetype EndOf(QStringView line, qsizetype from, QChar close)
{
    const qsizetype end = line.indexOf(close, from);
    return end < 0 ? line.size() : end + 1;
}

} // namespace

quint32 CExprSyntaxParser::ParseLine(quint32 state, QStringView line,
                                     std::vector<Block> *blocks) const
{
    const auto colour = [blocks](qsizetype start, int index) {
        if (blocks)
            AddBlock(*blocks, int(start), index);
    };
    qsizetype i = 0;
    const qsizetype size = line.size();
    // A text: up to its closing quote, a doubled quote staying inside it.
    const auto text = [&](qsizetype from) {
        qsizetype k = from;
        while (k < size) {
            if (line[k] == u'\'') {
                if (k + 1 < size && line[k + 1] == u'\'') {
                    k += 2;
                    continue;
                }
                return k + 1;
            }
            ++k;
        }
        return qsizetype(-1);
    };
    if (state & StateInText) {
        colour(0, ColourString);
        const qsizetype end = text(0);
        if (end < 0)
            return StateInText;
        i = end;
        colour(i, ColourNormalText);
    }
    while (i < size) {
        const QChar c = line[i];
        qsizetype end = i + 1;
        int index = ColourNormalText;
        if (c == u'\'') {
            const qsizetype close = text(i + 1);
            colour(i, ColourString);
            if (close < 0)
                return StateInText;
            end = close;
            index = ColourString;
        } else if (c == u'[') {
            end = EndOf(line, i + 1, u']');
            index = ColourTypeName;
        } else if (c == u'{') {
            end = EndOf(line, i + 1, u'}');
            index = ColourAccent;
        } else if (c == u'#') {
            while (end < size && IsWordChar(line[end]))
                ++end;
            index = ColourAccentAlt;
        } else if (c.isDigit() || (c == u'.' && i + 1 < size && line[i + 1].isDigit())) {
            while (end < size && (line[end].isDigit() || line[end] == u'.'))
                ++end;
            index = ColourNumber;
        } else if (IsWordChar(c)) {
            while (end < size && IsWordChar(line[end]))
                ++end;
            const QStringView word = line.sliced(i, end - i);
            index = IsWord(word)                  ? ColourKeyword
                    : FindExprFunction(word) >= 0 ? ColourFunctionName
                                                  : ColourNormalText;
        } else if (!c.isSpace()) {
            index = ColourOperator;
        }
        colour(i, index);
        colour(end, ColourNormalText);
        i = end;
    }
    return 0;
}

const CExprSyntaxParser &CExprSyntaxParser::Shared()
{
    static const CExprSyntaxParser parser;
    return parser;
}
