#include "syntaxhighlighter.h"

#include "readablecolor.h"

#include <QFont>

namespace {

// Colours are written as the 0x00BBGGRR values used everywhere in the program.
QColor FromColorRef(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

quint32 ToColorRef(const QColor &colour)
{
    return quint32(colour.red()) | (quint32(colour.green()) << 8) | (quint32(colour.blue()) << 16);
}

constexpr quint32 outsideTableColour = 0x00000080;

} // namespace

CSyntaxHighlighter::CSyntaxHighlighter(QTextDocument *document)
    : QSyntaxHighlighter(document)
{
    SetPalette(QPalette());
}

void CSyntaxHighlighter::SetParser(const CSyntaxParser *parser)
{
    m_parser = parser;
    rehighlight();
}

void CSyntaxHighlighter::SetPalette(const QPalette &palette)
{
    for (int index = 0; index < CSyntaxParser::ColourCount; ++index)
        m_formats[size_t(index)] = CharFormat(index, palette);
    m_formats.back() = CharFormat(CSyntaxParser::ColourCount, palette);
    if (m_parser)
        rehighlight();
}

QColor CSyntaxHighlighter::TextColour(int index, const QPalette &palette)
{
    // The table's fixed colours are made for a light text area; a dark look
    // lightens them so that they stay readable.
    const auto fixed = [&palette](quint32 colorRef) {
        return FromColorRef(ReadableColorRef(colorRef, ToColorRef(palette.color(QPalette::Base))));
    };
    switch (index) {
    case CSyntaxParser::ColourBackground:
    case CSyntaxParser::ColourBackgroundAlt:
        return palette.color(QPalette::Base);
    case CSyntaxParser::ColourNormalText:
        return palette.color(QPalette::Text);
    case CSyntaxParser::ColourScrollBar:
        return palette.color(QPalette::Button);
    case CSyntaxParser::ColourBlack:
        return fixed(0x00000000);
    case CSyntaxParser::ColourWhite:
        return fixed(0x00FFFFFF);
    case CSyntaxParser::ColourKeyword:
        return fixed(0x00FF0000);
    case CSyntaxParser::ColourFunctionName:
        return fixed(0x00800080);
    case CSyntaxParser::ColourComment:
        return fixed(0x00008000);
    case CSyntaxParser::ColourNumber:
        return fixed(0x000000FF);
    case CSyntaxParser::ColourOperator:
        return fixed(0x00606060);
    case CSyntaxParser::ColourString:
        return fixed(0x00000080);
    case CSyntaxParser::ColourAccent:
    case CSyntaxParser::ColourAccentAlt:
        return fixed(0x00C08000);
    case CSyntaxParser::ColourTypeName:
        return fixed(0x00800000);
    default:
        return fixed(outsideTableColour);
    }
}

QTextCharFormat CSyntaxHighlighter::CharFormat(int index, const QPalette &palette)
{
    QTextCharFormat format;
    format.setForeground(TextColour(index, palette));
    format.setFontWeight(index == CSyntaxParser::ColourKeyword ? QFont::Bold : QFont::Normal);
    format.setFontItalic(false);
    return format;
}

const QTextCharFormat &CSyntaxHighlighter::Format(int index) const
{
    if (index < 0 || index >= CSyntaxParser::ColourCount)
        return m_formats.back();
    return m_formats[size_t(index)];
}

quint32 CSyntaxHighlighter::ColourLine(quint32 state, const QString &text)
{
    const int n = int(text.size());
    if (n == 0 || !m_parser)
        return state;

    m_blocks.clear();
    m_blocks.reserve(size_t(3) * size_t(n) + 1);
    m_blocks.push_back({0, CSyntaxParser::ColourNormalText});
    const quint32 endState = m_parser->ParseLine(state, text, &m_blocks);

    // Each block runs up to the start of the next one; blocks with the same
    // start give empty runs, so the last of them takes effect.
    if (m_blocks.size() >= 2 && m_blocks[1].start >= 0 && m_blocks[1].start <= n) {
        size_t b = 0;
        for (; b + 1 < m_blocks.size() && m_blocks[b + 1].start <= n; ++b) {
            const int from = m_blocks[b].start;
            const int to = m_blocks[b + 1].start;
            if (to > from)
                setFormat(from, to - from, Format(m_blocks[b].colour));
        }
        if (n > m_blocks[b].start)
            setFormat(m_blocks[b].start, n - m_blocks[b].start, Format(m_blocks[b].colour));
    } else {
        setFormat(0, n, Format(m_blocks.front().colour));
    }
    return endState;
}

void CSyntaxHighlighter::highlightBlock(const QString &text)
{
    const int previous = previousBlockState();
    const quint32 state = previous < 0 ? 0 : quint32(previous);
    setCurrentBlockState(int(ColourLine(state, text)));
}
