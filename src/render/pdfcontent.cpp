#include "pdfcontent.h"

#include <vector>

namespace {

// One token of a content stream: where it is and what kind it is.
struct CToken
{
    qsizetype start = 0;
    qsizetype end = 0;
    char kind = 0; // 'n' name, 'h' hex string, 's' literal string, 'o' operator, 'x' other
};

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

} // namespace

bool RewritePdfContent(const QByteArray &content, IPdfContentNames &names, QByteArray &out)
{
    // Only the tokens change; everything between them is copied as it is.
    std::vector<CToken> operands;
    std::vector<std::pair<CToken, QByteArray>> replacements;
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
            while (token.end < size
                   && !QByteArrayView(" \n\r\t\f/[]<>()%{}").contains(content[token.end]))
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
            while (token.end < size
                   && !QByteArrayView(" \n\r\t\f/[]<>()%{}").contains(content[token.end]))
                ++token.end;
            const char first = content[pos];
            token.kind
                    = (first >= '0' && first <= '9') || first == '-' || first == '+' || first == '.'
                    ? 'x'
                    : 'o';
        }
        pos = token.end;
        if (token.kind == 'n') {
            const QByteArray name = content.mid(token.start + 1, token.end - token.start - 1);
            QByteArray renamed;
            if (!names.Rename(name, renamed))
                return false;
            if (!renamed.isEmpty() && renamed != name)
                replacements.emplace_back(token, '/' + renamed);
        }
        if (token.kind != 'o') {
            operands.push_back(token);
            continue;
        }
        const QByteArray op = content.mid(token.start, token.end - token.start);
        if (op == "BI" || op == "ID")
            return false; // inline pictures hold bytes that are no tokens
        if (op == "Tf") {
            font = !operands.empty() && operands.front().kind == 'n';
            if (font) {
                const CToken &name = operands.front();
                if (!names.SelectFont(content.mid(name.start + 1, name.end - name.start - 1)))
                    return false;
            }
        } else if (op == "Tj" || op == "TJ" || op == "'" || op == "\"") {
            for (const CToken &operand : operands) {
                if (operand.kind == 's' || (operand.kind == 'h' && !font))
                    return false;
                if (operand.kind != 'h')
                    continue;
                QByteArray hex;
                for (qsizetype at = operand.start + 1; at + 1 < operand.end; ++at) {
                    if (IsHexDigit(content[at]))
                        hex += content[at];
                }
                if (hex.size() % 4 != 0)
                    return false;
                QByteArray glyphs = "<";
                for (qsizetype at = 0; at < hex.size(); at += 4) {
                    const int glyph = names.Renumber(hex.mid(at, 4).toInt(nullptr, 16));
                    glyphs += QByteArray::number(glyph, 16).toUpper().rightJustified(4, '0');
                }
                replacements.emplace_back(operand, glyphs + '>');
            }
        }
        operands.clear();
    }
    out.clear();
    out.reserve(content.size());
    qsizetype at = 0;
    for (const auto &[token, text] : replacements) {
        out += content.mid(at, token.start - at) + text;
        at = token.end;
    }
    out += content.mid(at);
    return true;
}
