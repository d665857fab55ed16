#pragma once

#include <QStringView>

#include <vector>

// A line parser for syntax colouring. It splits one line of text into colour
// blocks and returns the state that the next line starts in (open comments or
// strings, for example). It is a pure function of (state, line): the editor
// keeps the end state of every line and calls the parser again only for lines
// that changed or whose incoming state changed.
class CSyntaxParser
{
public:
    // Indexes into the editor's colour table. A parser names colours by index
    // so that it stays independent of palettes and fonts.
    enum Colour : int {
        ColourBackground = 0,
        ColourBackgroundAlt = 1,
        ColourNormalText = 2,
        ColourScrollBar = 3,
        ColourBlack = 4,
        ColourWhite = 5,
        ColourKeyword = 6,
        ColourFunctionName = 7,
        ColourComment = 8,
        ColourNumber = 9,
        ColourOperator = 10,
        ColourString = 11,
        ColourAccent = 12,
        ColourTypeName = 13,
        ColourAccentAlt = 14,
        ColourCount = 15
    };

    // The characters from `start` up to the start of the next block of the
    // line take the colour `colour`.
    struct Block
    {
        int start;
        int colour;
    };

    CSyntaxParser() = default;
    CSyntaxParser(const CSyntaxParser &) = delete;
    CSyntaxParser &operator=(const CSyntaxParser &) = delete;
    virtual ~CSyntaxParser();

    // Parses `line` (without its line break) starting in `state` and returns
    // the line's end state. When `blocks` is given, the line's colour blocks
    // are appended to it through AddBlock; without it only the end state is
    // computed. The caller starts the list with a block (0, ColourNormalText).
    virtual quint32 ParseLine(quint32 state, QStringView line,
                              std::vector<Block> *blocks) const = 0;

    // Appends a block unless it starts before the last block of the list, so
    // that the list stays ordered by start. Blocks with the same start are all
    // kept; the last of them is the one that takes effect.
    static void AddBlock(std::vector<Block> &blocks, int start, int colour);
};
