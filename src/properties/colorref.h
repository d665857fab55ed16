#pragma once

#include <QColor>
#include <QString>

// Report colours are 0x00BBGGRR: red in the low byte, blue in the third.
QColor ColorRefToQColor(quint32 color);
// The high byte of the result is always 0; alpha is dropped.
quint32 QColorToColorRef(const QColor &color);

// The text a colour row shows: "#RRGGBB" in red, green, blue order.
QString ColorText(quint32 color);
