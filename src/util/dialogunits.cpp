#include "dialogunits.h"

#include <algorithm>

QString CDialogUnits::SampleLetters()
{
    return QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
}

CDialogUnits::CDialogUnits(int sampleLettersWidth, int lineHeight)
    : m_baseX(std::max(1, (sampleLettersWidth + 26) / 52))
    , m_baseY(std::max(1, lineHeight))
{ }

QRect CDialogUnits::ToPixels(int x, int y, int width, int height) const
{
    return QRect(QPoint(ToPixelsX(x), ToPixelsY(y)),
                 QPoint(ToPixelsX(x + width) - 1, ToPixelsY(y + height) - 1));
}
