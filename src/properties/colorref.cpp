#include "colorref.h"

QColor ColorRefToQColor(quint32 color)
{
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

quint32 QColorToColorRef(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return quint32(rgb.red()) | (quint32(rgb.green()) << 8) | (quint32(rgb.blue()) << 16);
}

QString ColorText(quint32 color)
{
    return ColorRefToQColor(color).name(QColor::HexRgb).toUpper();
}
