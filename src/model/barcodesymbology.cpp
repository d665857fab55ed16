#include "barcodesymbology.h"

#include <QCoreApplication>

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
    static const char *const names[Count] = {
            QT_TRANSLATE_NOOP("Vantel", "EAN-13"),     QT_TRANSLATE_NOOP("Vantel", "Code 128"),
            QT_TRANSLATE_NOOP("Vantel", "GS1-128"),    QT_TRANSLATE_NOOP("Vantel", "QR Code"),
            QT_TRANSLATE_NOOP("Vantel", "DataMatrix"), QT_TRANSLATE_NOOP("Vantel", "PDF417"),
            QT_TRANSLATE_NOOP("Vantel", "EAN-8"),      QT_TRANSLATE_NOOP("Vantel", "UPC-A"),
            QT_TRANSLATE_NOOP("Vantel", "Code 39"),    QT_TRANSLATE_NOOP("Vantel", "ITF-14"),
    };
    return IsKnown(symbology) ? QCoreApplication::translate("Vantel", names[symbology]) : QString();
}

QString EccLevelName(int level)
{
    static const char *const names[EccLevelCount] = {
            QT_TRANSLATE_NOOP("Vantel", "L (7%)"),
            QT_TRANSLATE_NOOP("Vantel", "M (15%)"),
            QT_TRANSLATE_NOOP("Vantel", "Q (25%)"),
            QT_TRANSLATE_NOOP("Vantel", "H (30%)"),
    };
    return level >= 0 && level < EccLevelCount ? QCoreApplication::translate("Vantel", names[level])
                                               : QString();
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
