#include "barcodesymbology.h"

#include "optionlist.h"

namespace BarcodeSymbology {

bool IsKnown(int symbology)
{
    return symbology >= 0 && symbology < Count;
}

bool IsTwoDimensional(int symbology)
{
    return symbology == QrCode || symbology == DataMatrix || symbology == Pdf417;
}

QString Name(int symbology)
{
    return VornOptions::Symbology().Name(symbology);
}

QString EccLevelName(int level)
{
    return VornOptions::EccLevel().Name(level);
}

QString SampleValue(int symbology)
{
    switch (symbology) {
    case Ean13:
        return QStringLiteral("2000000000015");
    case Gs1_128:
        return QStringLiteral("[01]09501101530003");
    case Ean8:
        return QStringLiteral("96385074");
    case UpcA:
        return QStringLiteral("012345678905");
    case Code39:
        return QStringLiteral("CODE-39");
    case Itf14:
        return QStringLiteral("15400141288763");
    default:
        return QStringLiteral("Vantel 12345");
    }
}

} // namespace BarcodeSymbology
