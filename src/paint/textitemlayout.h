#pragma once

#include "pixrect.h"

#include <QFont>
#include <QString>

#include <functional>

class CVornDbText;
class CVornText;

// The rules by which a Text or DB Text item is laid out in its box, apart from the painter so
// that they can be checked one by one.

// The character height the item's point size asks for at dpiY and the zoom: the point size
// scaled to pixels and rounded to the nearest whole pixel (halves away from zero), then
// multiplied by the zoom and truncated. Returned negated, as a character height; 0 stands for
// the default height.
int TextFontHeight(int points, int dpiY, double zoom);

// A text font at dpiY and the zoom: the face (sans-serif as the fallback family), weight 700 or
// 400, italic, underline and strike-out, pixel size from TextFontHeight.
QFont TextFont(const QString &face, int points, bool bold, bool italic, bool underline,
               bool strikeout, int dpiY, double zoom);

// The item's font at dpiY and the zoom, as TextFont makes it from the item's font description.
QFont TextItemFont(const CVornText &item, int dpiY, double zoom);

// The text a DB Text shows in the designer, which has no data: its field in square brackets,
// after the source band (or the item itself when it has its own query), or "[DB Field]" when no
// field is named. An aggregate wraps it in its name, "Sum([Lines].[AMOUNT])"; a count without a
// field shows the band it counts, "Count([Lines])".
QString DbTextPlaceholder(const CVornDbText &item);

// The string an item draws: a Text's own text, a DB Text's placeholder.
QString TextItemString(const CVornText &item);

// The Qt alignment and wrapping flags of the item: word wrap or a single line, left, right or
// centred. Vertical alignment applies to single lines only; wrapped text starts at the top of
// its box (see WrappedTextTop).
int TextItemFlags(const CVornText &item);

// Where a wrapped text of height textHeight starts in its box: moved down by |d / 2| for Center
// (1) and by |d| for Bottom (2), d being the box height less textHeight. A text taller than its
// box is moved down as well.
int WrappedTextTop(const PixRect &box, int textHeight, int vertAlignment);

// The text with characters removed from its start until width() of it is at most maxWidth or a
// single character is left. A character is a code point: surrogate pairs are never split.
QString TrimFromLeft(const QString &text, int maxWidth,
                     const std::function<int(const QString &)> &width);

// At most how many characters of a text can show in a box of width x height pixels with
// lines lineHeight apart: one per pixel of width on every line of four times the height (a
// wrapped text taller than its box is moved down by its excess), at least 20,000. height
// is the part of the box that can show on the device, when that is less.
qsizetype VisibleTextLimit(int width, int height, int lineHeight);

// The part of text that can show when it is longer than limit characters: the start for a
// wrapped text or a single line aligned left, the end for a single line aligned right, the
// middle for one centred. A shorter text comes back as it is. Surrogate pairs are never split.
QString VisibleTextPart(const QString &text, qsizetype limit, int flags);
