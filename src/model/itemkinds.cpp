#include "itemkinds.h"

#include "vornitems.h"

#include <QtGlobal>

namespace {

template<typename Item>
CItemKind Kind(const char *name)
{
    return {Item::Kind, name, [] {
                return std::unique_ptr<CVornItem>(std::make_unique<Item>());
            }};
}

} // namespace

const std::vector<CItemKind> &ItemKinds()
{
    // A new kind is registered here, one line, with its code from 32 up.
    static const std::vector<CItemKind> kinds {
            Kind<CVornText>(QT_TRANSLATE_NOOP("Vantel", "Text")),
            Kind<CVornShape>(QT_TRANSLATE_NOOP("Vantel", "Shape")),
            Kind<CVornDbText>(QT_TRANSLATE_NOOP("Vantel", "DB Text")),
            Kind<CVornImage>(QT_TRANSLATE_NOOP("Vantel", "Image")),
            Kind<CVornDbImage>(QT_TRANSLATE_NOOP("Vantel", "DB Image")),
            Kind<CVornBarcode>(QT_TRANSLATE_NOOP("Vantel", "Barcode")),
            Kind<CVornDbBarcode>(QT_TRANSLATE_NOOP("Vantel", "DB Barcode")),
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
