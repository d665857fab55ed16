#include "propertyfont.h"

#include "vorntext.h"

#include <QCoreApplication>
#include <QFont>

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

constexpr int defaultDpi = 96;

int UsableDpi(int dpiY)
{
    return dpiY > 0 ? dpiY : defaultDpi;
}

} // namespace

int MulDivRound(qint64 a, qint64 b, qint64 c)
{
    if (c == 0)
        return 0;
    // Both factors come from ints, so the product fits in 64 bits.
    const qint64 product = a * b;
    const bool negative = (product < 0) != (c < 0);
    const qint64 magnitude = (qAbs(product) + qAbs(c) / 2) / qAbs(c);
    const qint64 result = negative ? -magnitude : magnitude;
    return int(std::clamp<qint64>(result, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

CPropertyFont ItemFont(const CVornText &item, int dpiY)
{
    CPropertyFont font;
    font.faceName = item.GetFontName();
    font.height = -MulDivRound(item.GetFontSize(), UsableDpi(dpiY), 72);
    font.weight = item.GetBold() ? 700 : 400;
    font.italic = item.GetItalic() != 0;
    font.underline = item.GetUnderline() != 0;
    font.strikeOut = item.GetStrikeout() != 0;
    font.charset = item.GetCharset();
    font.color = item.GetColor();
    return font;
}

int FontPointSize(const CPropertyFont &font, int dpiY)
{
    return MulDivRound(qAbs(qint64(font.height)), 72, UsableDpi(dpiY));
}

void StoreItemFont(CVornText &item, const CPropertyFont &font, int dpiY)
{
    item.SetFontName(font.faceName);
    item.SetFontSize(FontPointSize(font, dpiY));
    item.SetCharset(font.charset);
    item.SetBold(font.weight >= 600 ? 1 : 0);
    item.SetItalic(font.italic ? 1 : 0);
    item.SetUnderline(font.underline ? 1 : 0);
    item.SetStrikeout(font.strikeOut ? 1 : 0);
}

QString FontDisplayText(const CPropertyFont &font, int dpiY)
{
    QString text = font.faceName + u", "_s + QString::number(FontPointSize(font, dpiY));
    if (font.weight >= 600)
        text += u", "_s + QCoreApplication::translate("Vantel", "Bold");
    if (font.italic)
        text += u", "_s + QCoreApplication::translate("Vantel", "Italic");
    if (font.underline)
        text += u", "_s + QCoreApplication::translate("Vantel", "Underline");
    if (font.strikeOut)
        text += u", "_s + QCoreApplication::translate("Vantel", "Strikeout");
    return text;
}

QFont ToQFont(const CPropertyFont &font, int dpiY)
{
    QFont result(font.faceName);
    // Whole points, so that a size taken from the item comes back unchanged.
    result.setPointSize(qMax(1, FontPointSize(font, dpiY)));
    result.setWeight(QFont::Weight(qBound(1, font.weight, 1000)));
    result.setItalic(font.italic);
    result.setUnderline(font.underline);
    result.setStrikeOut(font.strikeOut);
    return result;
}

CPropertyFont FromQFont(const QFont &font, quint32 color, int charset, int dpiY)
{
    CPropertyFont result;
    result.faceName = font.family();
    int pixels = font.pixelSize();
    if (pixels <= 0)
        pixels = qRound(font.pointSizeF() * UsableDpi(dpiY) / 72.0);
    result.height = -pixels;
    result.weight = font.weight();
    result.italic = font.italic();
    result.underline = font.underline();
    result.strikeOut = font.strikeOut();
    result.charset = charset;
    result.color = color;
    return result;
}
