#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

// The Elements pane's icons: one strip of nine 16 x 16 pictures side by side (144 x 16), drawn
// here rather than loaded. Index 0 pointer, 1 band header, 2 contents, 3 band footer, 4 text,
// 5 shape, 6 image, 7 unused, 8 barcode.
namespace ElementsIcons {

constexpr int IconSize = 16;
constexpr int IconCount = 10;
// The colour that stands for "transparent" in the strip.
constexpr QRgb TransparentColor = 0x808080;

// The strip as drawn, on the transparent colour.
QImage Bitmap();

// The strip with the transparent colour taken out, for a list of the given background: on a
// dark one (a dark application look) every dark colour of the drawings is lightened with its
// hue kept, so that the dark-blue and black lines stay visible.
QPixmap Strip(QRgb background = 0xFFFFFF);

// The picture of a band or item kind in the strip: headers, contents (a Page Break too),
// footers, and for an item kind the one its look names; 0, the pointer, for anything else.
int IndexForKind(int kind);

// That picture alone, cut from a strip.
QIcon IconForKind(const QPixmap &strip, int kind);

} // namespace ElementsIcons
