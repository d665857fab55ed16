#pragma once

#include <QByteArray>

// What the drawing instructions of a page are rewritten with, for a PDF of that page alone: new
// names for its resources and new numbers for the glyphs of its text.
class IPdfContentNames
{
public:
    virtual ~IPdfContentNames() = default;

    // The new name of a name the content uses (left empty: unchanged); false refuses the
    // content. The name is read from the content where it stands: a copy of it may be kept,
    // not the name itself.
    virtual bool Rename(const QByteArray &name, QByteArray &renamed) = 0;
    // The font (by its resource name) the text that follows is shown in; false when it is none
    // whose glyphs can be renumbered.
    virtual bool SelectFont(const QByteArray &name) = 0;
    // The new number of a glyph of the selected font.
    virtual int Renumber(int glyph) = 0;
};

// Rewrites a content stream with names: every resource name and every glyph number of shown
// text (two bytes a glyph, in hexadecimal strings). False for what it cannot safely rewrite:
// text in literal strings, inline pictures, a glyph string of an odd length.
bool RewritePdfContent(const QByteArray &content, IPdfContentNames &names, QByteArray &out);
