#include "itemkinds.h"

#include "vornitems.h"

#include <QtGlobal>

namespace {

template<typename Item>
CItemKind Kind(const CKindLook &look)
{
    return {Item::Kind, look, [] {
                return std::unique_ptr<CVornItem>(std::make_unique<Item>());
            }};
}

} // namespace

const std::vector<CItemKind> &ItemKinds()
{
    // A new kind is registered here, one line, with its code from 32 up.
    static const std::vector<CItemKind> kinds {
            Kind<CVornText>({QT_TRANSLATE_NOOP("Vantel", "Text"),
                             QT_TRANSLATE_NOOP("Vantel", "Text Box"), 4, 18}),
            Kind<CVornDbText>({QT_TRANSLATE_NOOP("Vantel", "DB Text"),
                               QT_TRANSLATE_NOOP("Vantel", "DB Text Box"), 4, 20}),
            Kind<CVornShape>({QT_TRANSLATE_NOOP("Vantel", "Shape"),
                              QT_TRANSLATE_NOOP("Vantel", "Shape: line, rectangle, etc."), 5, 19,
                              30, true}),
            Kind<CVornImage>({QT_TRANSLATE_NOOP("Vantel", "Image"),
                              QT_TRANSLATE_NOOP("Vantel", "Image"), 6, 21}),
            Kind<CVornDbImage>({QT_TRANSLATE_NOOP("Vantel", "DB Image"),
                                QT_TRANSLATE_NOOP("Vantel", "DB Image"), 6, 22}),
            Kind<CVornBarcode>({QT_TRANSLATE_NOOP("Vantel", "Barcode"),
                                QT_TRANSLATE_NOOP("Vantel", "Barcode"), 8, 23}),
            Kind<CVornDbBarcode>({QT_TRANSLATE_NOOP("Vantel", "DB Barcode"),
                                  QT_TRANSLATE_NOOP("Vantel", "DB Barcode"), 8, 24}),
            Kind<CVornChart>({QT_TRANSLATE_NOOP("Vantel", "Chart"),
                              QT_TRANSLATE_NOOP("Vantel", "Chart"), 9, 132, 120}),
    };
    return kinds;
}

const CItemKind *FindItemKind(int code)
{
    for (const CItemKind &kind : ItemKinds()) {
        if (kind.code == code)
            return &kind;
    }
    return nullptr;
}

bool IsDrawnUnderOthers(int code)
{
    const CItemKind *kind = FindItemKind(code);
    return kind && kind->look.underOthers;
}
