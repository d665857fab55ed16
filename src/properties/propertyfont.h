#pragma once

#include <QString>

class CVornText;
class QFont;

// The logical font of a font row, as the font dialog edits it: a face, a
// height in screen pixels (negative asks for that character height), a weight
// on the 100 (thin) to 900 (black) scale where 400 is normal and 700 bold, the
// three effects, the item's character-set code (kept as it is, as no dialog
// here chooses one) and the colour chosen with the font (0x00BBGGRR).
struct CPropertyFont
{
    QString faceName;
    int height = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charset = 1;
    quint32 color = 0;

    bool operator==(const CPropertyFont &other) const = default;
};

// The font a text item's fields give on a screen of dpiY pixels per inch at
// full size: the point size converted to pixels (rounded), weight 700 for bold
// and 400 otherwise; the colour is the item's colour.
CPropertyFont ItemFont(const CVornText &item, int dpiY);

// Writes a chosen font into a text item: face, size in points (the pixel
// height converted back at dpiY, rounded), character set, bold from a weight of
// 600 or more, italic, underline and strike-out. The colour is not written.
void StoreItemFont(CVornText &item, const CPropertyFont &font, int dpiY);

// The font's size in whole points at dpiY.
int FontPointSize(const CPropertyFont &font, int dpiY);

// The text a font row shows, for example "Times New Roman, 10" or
// "Arial, 12, Bold, Italic".
QString FontDisplayText(const CPropertyFont &font, int dpiY);

// Conversions for the font dialog. The dialog works in points; the weights of
// QFont use the same 100 to 900 scale.
QFont ToQFont(const CPropertyFont &font, int dpiY);
// The chosen font with the colour and character set given separately.
CPropertyFont FromQFont(const QFont &font, quint32 color, int charset, int dpiY);

// a * b / c rounded to the nearest whole number, halves away from zero, clamped
// to the int range; 0 when c is 0.
int MulDivRound(qint64 a, qint64 b, qint64 c);
