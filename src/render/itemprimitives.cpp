#include "itemprimitives.h"

#include "pixeldrawing.h"
#include "vornkind.h"

CBuildPrimitives PrimitivesOf(int kind)
{
    switch (kind) {
    case VornKind::Text:
        return BuildTextPrimitives;
    case VornKind::DbText:
        return BuildDbTextPrimitives;
    case VornKind::Shape:
        return BuildShapePrimitives;
    case VornKind::Image:
        return BuildImagePrimitives;
    case VornKind::DbImage:
        return BuildDbImagePrimitives;
    case VornKind::Barcode:
        return BuildBarcodePrimitives;
    case VornKind::DbBarcode:
        return BuildDbBarcodePrimitives;
    default:
        return nullptr;
    }
}

QRgb PageColor(quint32 colorRef)
{
    return ColorFromColorRef(colorRef).rgb();
}
