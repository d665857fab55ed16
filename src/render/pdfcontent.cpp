#include "pdfcontent.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

// One token of a content stream: where it is and what kind it is.
struct CToken
{
    qsizetype start = 0;
    qsizetype end = 0;
    char kind = 0; // 'n' name, 'h' hex string, 's' literal string, 'o' operator, 'x' other
};

int HexDigit(char c)
{
    return c >= '0' && c <= '9'    ? c - '0'
            : c >= 'a' && c <= 'f' ? c - 'a' + 10
            : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                   : -1;
}

// Whether a character ends a name or an operator (white space or a delimiter).
bool EndsWord(char c)
{
    static const auto table = [] {
        std::array<bool, 256> ends {};
        for (const char end : QByteArrayView(" \n\r\t\f/[]<>()%{}"))
            ends[quint8(end)] = true;
        ends[0] = true;
        return ends;
    }();
    return table[quint8(c)];
}

} // namespace

bool RewritePdfContent(const QByteArray &content, IPdfContentNames &names, QByteArray &out)
{
    // Only the tokens change; everything between them is copied as it is. The new texts are
    // kept one after the other in texts, each replacement naming its part.
    struct CReplacement
    {
        qsizetype start = 0; // of the token replaced
        qsizetype end = 0;
        qsizetype at = 0; // of its new text in texts
        qsizetype size = 0;
    };
    std::vector<CToken> operands;
    std::vector<CReplacement> replacements;
    QByteArray texts;
    const auto replace = [&](const CToken &token, qsizetype at) {
        replacements.push_back({token.start, token.end, at, texts.size() - at});
    };
    bool font = false;
    const qsizetype size = content.size();
    for (qsizetype pos = 0; pos < size;) {
        const char c = content[pos];
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0') {
            ++pos;
            continue;
        }
        CToken token {pos, pos + 1, 'x'};
        if (c == '/') {
            token.kind = 'n';
            while (token.end < size && !EndsWord(content[token.end]))
                ++token.end;
        } else if (c == '<' && pos + 1 < size && content[pos + 1] == '<') {
            token.end = pos + 2;
        } else if (c == '>' && pos + 1 < size && content[pos + 1] == '>') {
            token.end = pos + 2;
        } else if (c == '<') {
            token.kind = 'h';
            token.end = content.indexOf('>', pos) + 1;
            if (token.end <= 0)
                return false;
        } else if (c == '(') {
            token.kind = 's';
            int depth = 0;
            for (qsizetype at = pos; at < size; ++at) {
                if (content[at] == '\\') {
                    ++at;
                } else if (content[at] == '(') {
                    ++depth;
                } else if (content[at] == ')' && --depth == 0) {
                    token.end = at + 1;
                    break;
                }
            }
            if (depth != 0)
                return false;
        } else if (c == '%') {
            while (token.end < size && content[token.end] != '\n' && content[token.end] != '\r')
                ++token.end;
            pos = token.end;
            continue;
        } else if (c != '[' && c != ']' && c != '{' && c != '}') {
            while (token.end < size && !EndsWord(content[token.end]))
                ++token.end;
            const char first = content[pos];
            token.kind
                    = (first >= '0' && first <= '9') || first == '-' || first == '+' || first == '.'
                    ? 'x'
                    : 'o';
        }
        pos = token.end;
        if (token.kind == 'n') {
            // The name's bytes where they stand, not copied: Rename only reads them.
            const QByteArray name = QByteArray::fromRawData(content.constData() + token.start + 1,
                                                            token.end - token.start - 1);
            QByteArray renamed;
            if (!names.Rename(name, renamed))
                return false;
            if (!renamed.isEmpty() && renamed != name) {
                const qsizetype renamedAt = texts.size();
                texts += '/';
                texts += renamed;
                replace(token, renamedAt);
            }
        }
        if (token.kind != 'o') {
            operands.push_back(token);
            continue;
        }
        const QByteArrayView op(content.constData() + token.start, token.end - token.start);
        if (op == "BI" || op == "ID")
            return false; // inline pictures hold bytes that are no tokens
        if (op == "Tf") {
            font = !operands.empty() && operands.front().kind == 'n';
            if (font) {
                const CToken &name = operands.front();
                if (!names.SelectFont(QByteArray::fromRawData(content.constData() + name.start + 1,
                                                              name.end - name.start - 1)))
                    return false;
            }
        } else if (op == "Tj" || op == "TJ" || op == "'" || op == "\"") {
            for (const CToken &operand : operands) {
                if (operand.kind == 's' || (operand.kind == 'h' && !font))
                    return false;
                if (operand.kind != 'h')
                    continue;
                const qsizetype glyphsAt = texts.size();
                texts += '<';
                int digits = 0;
                int glyph = 0;
                for (qsizetype at = operand.start + 1; at + 1 < operand.end; ++at) {
                    const int digit = HexDigit(content[at]);
                    if (digit < 0)
                        continue;
                    glyph = glyph * 16 + digit;
                    if (++digits % 4 != 0)
                        continue;
                    const int renumbered = names.Renumber(glyph);
                    static const char hex[] = "0123456789ABCDEF";
                    const char text[4] = {hex[(renumbered >> 12) & 15], hex[(renumbered >> 8) & 15],
                                          hex[(renumbered >> 4) & 15], hex[renumbered & 15]};
                    texts.append(text, 4);
                    glyph = 0;
                }
                if (digits % 4 != 0)
                    return false;
                texts += '>';
                replace(operand, glyphsAt);
            }
        }
        operands.clear();
    }
    // A name is replaced where it stands, a glyph string at its operator: put them in order.
    const auto byStart = [](const CReplacement &a, const CReplacement &b) {
        return a.start < b.start;
    };
    if (!std::is_sorted(replacements.begin(), replacements.end(), byStart))
        std::stable_sort(replacements.begin(), replacements.end(), byStart);
    out.clear();
    out.reserve(content.size() + 64);
    qsizetype at = 0;
    for (const CReplacement &replacement : replacements) {
        out.append(content.constData() + at, replacement.start - at);
        out.append(texts.constData() + replacement.at, replacement.size);
        at = replacement.end;
    }
    out.append(content.constData() + at, size - at);
    return true;
}
