#include "itemstate.h"

#include "vornband.h"
#include "vornitem.h"

namespace ItemState {

void Assign(CVornItem &target, const CVornItem &source)
{
    if (target.GetKind() == source.GetKind())
        target.CopyFields(source);
}

bool Same(const CVornItem &a, const CVornItem &b)
{
    if (a.GetKind() != b.GetKind())
        return false;
    const std::vector<FieldRef> x = ItemFields(a);
    const std::vector<FieldRef> y = ItemFields(b);
    for (size_t i = 0; i < x.size(); ++i) {
        const bool same = std::visit(
                [](const auto *p, const auto *q) {
                    if constexpr (std::is_same_v<decltype(p), decltype(q)>)
                        return *p == *q;
                    else
                        return false;
                },
                x[i], y[i]);
        if (!same)
            return false;
    }
    return true;
}

qsizetype PictureBytes(const CVornItem &item)
{
    qsizetype bytes = 0;
    for (const FieldRef &field : ItemFields(item)) {
        if (const auto *picture = std::get_if<QByteArray *>(&field))
            bytes += (*picture)->size();
    }
    return bytes;
}

qsizetype PictureBytes(const CVornBand &band)
{
    qsizetype bytes = 0;
    for (const CVornItem *item : band.GetItems())
        bytes += PictureBytes(*item);
    return bytes;
}

} // namespace ItemState
