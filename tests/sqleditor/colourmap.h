#pragma once

#include "syntaxhighlighter.h"
#include "syntaxparser.h"

#include <QTextBlock>
#include <QTextLayout>

#include <vector>

// A colour map shows the colour of every character of a line as one letter, so
// that a test can write the expected colours right under the text:
//   K keyword  T type name  N number  F function name  S string  C comment
//   w other words  - punctuation and blanks  blank: no colour applied
//   P parameter  # page or row number (expressions)
// In maps read from a document, "?" marks a colour outside this list and "!"
// a character whose boldness is wrong (only keywords are bold).
namespace ColourMap {

inline const std::vector<std::pair<int, QChar>> &Letters()
{
    static const std::vector<std::pair<int, QChar>> letters
            = {{CSyntaxParser::ColourKeyword, u'K'},    {CSyntaxParser::ColourTypeName, u'T'},
               {CSyntaxParser::ColourNumber, u'N'},     {CSyntaxParser::ColourFunctionName, u'F'},
               {CSyntaxParser::ColourString, u'S'},     {CSyntaxParser::ColourComment, u'C'},
               {CSyntaxParser::ColourNormalText, u'w'}, {CSyntaxParser::ColourOperator, u'-'},
               {CSyntaxParser::ColourAccent, u'P'},     {CSyntaxParser::ColourAccentAlt, u'#'}};
    return letters;
}

// The map of a parsed line: every character takes the last block that starts
// at or before it.
inline QString FromBlocks(const std::vector<CSyntaxParser::Block> &blocks, int length)
{
    QString map(length, u'?');
    for (int k = 0; k < length; ++k) {
        for (const CSyntaxParser::Block &block : blocks) {
            if (block.start > k)
                break;
            for (const auto &[colour, letter] : Letters()) {
                if (colour == block.colour)
                    map[k] = letter;
            }
        }
    }
    return map;
}

// The map of one line of a document, read from the formats the highlighter
// left in its layout.
inline QString FromDocument(const QTextBlock &block, const QPalette &palette)
{
    QString map(block.length() - 1, u' ');
    for (const QTextLayout::FormatRange &range : block.layout()->formats()) {
        QChar letter = u'?';
        for (const auto &[colour, candidate] : Letters()) {
            if (range.format.foreground().color()
                == CSyntaxHighlighter::TextColour(colour, palette))
                letter = candidate;
        }
        const bool bold = range.format.fontWeight() == QFont::Bold;
        if (bold != (letter == u'K') || range.format.fontItalic())
            letter = u'!';
        for (int k = range.start; k < range.start + range.length && k < map.size(); ++k)
            map[k] = letter;
    }
    return map;
}

inline QStringList FromDocument(const QTextDocument &document, const QPalette &palette)
{
    QStringList maps;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        maps.append(FromDocument(block, palette));
    return maps;
}

} // namespace ColourMap
