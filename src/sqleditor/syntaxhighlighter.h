#pragma once

#include "syntaxparser.h"

#include <QPalette>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

#include <array>
#include <vector>

// Colours a text document line by line with a CSyntaxParser. Each block of the
// document is one line; its end state is stored as the block's state, so that
// the next line starts from it. Qt calls highlightBlock for the edited lines
// and keeps going only while a line's end state changes, which keeps the cost
// of a keystroke independent of the length of the text.
class CSyntaxHighlighter final : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    explicit CSyntaxHighlighter(QTextDocument *document);

    // Sets the parser (nullptr: nothing is coloured) and recolours the text.
    void SetParser(const CSyntaxParser *parser);
    const CSyntaxParser *Parser() const { return m_parser; }

    // Takes the palette-dependent colours of the table from `palette` and
    // recolours the text.
    void SetPalette(const QPalette &palette);

    // Colours one line that starts in `state` and returns its end state. An
    // empty line, or any line while no parser is set, keeps no colours and
    // passes its state on unchanged.
    quint32 ColourLine(quint32 state, const QString &text);

    // The text colour of a colour-table index. Indexes 0 and 1 are the
    // background of text areas and 2 their text (Qt's Base and Text roles, the
    // counterparts of the system's window colours), 3 the scroll-bar colour
    // (the Button role); an index outside the table gives dark red.
    static QColor TextColour(int index, const QPalette &palette);

    // The character format of a colour-table index: its text colour, bold for
    // keywords only, never italic.
    static QTextCharFormat CharFormat(int index, const QPalette &palette);

protected:
    void highlightBlock(const QString &text) override;

private:
    const QTextCharFormat &Format(int index) const;

    const CSyntaxParser *m_parser = nullptr;
    // The 15 entries of the table followed by the one for indexes outside it.
    std::array<QTextCharFormat, CSyntaxParser::ColourCount + 1> m_formats;
    // Reused from line to line so that colouring allocates nothing.
    std::vector<CSyntaxParser::Block> m_blocks;
};
