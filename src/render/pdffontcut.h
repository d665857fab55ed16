#pragma once

#include <QByteArray>

#include <map>
#include <vector>

struct CPdfValue;

// Cutting an embedded font down to the glyphs some pages use, for a PDF of those pages alone.
// The glyphs are given as the old numbers in their new order: new glyph i is old glyphs[i].
namespace PdfFontCut {

// A TrueType font program with only the given glyphs, renumbered; false when the font is not
// one with simple glyphs and the usual tables (a compound glyph refers to others by number).
bool CutTrueType(const QByteArray &font, const std::vector<int> &glyphs, QByteArray &out);

// The glyph-to-text map of a ToUnicode CMap (glyph number to the hexadecimal UTF-16 text).
std::map<int, QByteArray> ReadToUnicode(const QByteArray &cmap);
// A ToUnicode CMap for the given glyphs, renumbered.
QByteArray WriteToUnicode(const std::map<int, QByteArray> &map, const std::vector<int> &glyphs);

// The widths of a CID font's /W array, glyph to width as written.
std::map<int, QByteArray> ReadWidths(const CPdfValue &array);
// A /W array for the given glyphs, renumbered; a glyph without a width takes fallback.
CPdfValue WriteWidths(const std::map<int, QByteArray> &widths, const std::vector<int> &glyphs,
                      const QByteArray &fallback);

// The bits of a /CIDSet stream for count glyphs numbered from 0.
QByteArray CidSet(int count);

} // namespace PdfFontCut
