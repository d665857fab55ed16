#include "itemstate.h"

#include "vornband.h"
#include "vornitems.h"

namespace {

// Copies through the most derived class's CopyFrom, which copies its own
// fields and those of its bases.
template<typename T>
bool AssignAs(CVornItem &target, const CVornItem &source)
{
    auto *to = dynamic_cast<T *>(&target);
    const auto *from = dynamic_cast<const T *>(&source);
    if (!to || !from)
        return false;
    to->CopyFrom(*from);
    return true;
}

bool SameBase(const CVornItem &a, const CVornItem &b)
{
    return a.GetKind() == b.GetKind() && a.GetName() == b.GetName() && a.GetLeft() == b.GetLeft()
            && a.GetTop() == b.GetTop() && a.GetRight() == b.GetRight()
            && a.GetBottom() == b.GetBottom() && a.GetColor() == b.GetColor()
            && a.GetPrintWhen() == b.GetPrintWhen() && a.GetStyleRules() == b.GetStyleRules();
}

bool SameText(const CVornText &a, const CVornText &b)
{
    return a.GetText() == b.GetText() && a.GetFontName() == b.GetFontName()
            && a.GetFontSize() == b.GetFontSize() && a.GetCharset() == b.GetCharset()
            && a.GetBold() == b.GetBold() && a.GetItalic() == b.GetItalic()
            && a.GetUnderline() == b.GetUnderline() && a.GetStrikeout() == b.GetStrikeout()
            && a.GetHorzAlignment() == b.GetHorzAlignment()
            && a.GetVertAlignment() == b.GetVertAlignment() && a.GetWordWrap() == b.GetWordWrap()
            && a.GetCanGrow() == b.GetCanGrow();
}

template<typename T>
bool SameSource(const T &a, const T &b)
{
    return a.GetDataSource() == b.GetDataSource() && a.GetDataField() == b.GetDataField();
}

} // namespace

namespace ItemState {

void Assign(CVornItem &target, const CVornItem &source)
{
    const bool selected = target.IsSelected();
    // Most derived classes first: a DB Text is also a Text.
    AssignAs<CVornDbText>(target, source) || AssignAs<CVornText>(target, source)
            || AssignAs<CVornDbImage>(target, source) || AssignAs<CVornImage>(target, source)
            || AssignAs<CVornDbBarcode>(target, source) || AssignAs<CVornBarcode>(target, source)
            || AssignAs<CVornShape>(target, source);
    target.SetSelected(selected);
}

bool Same(const CVornItem &a, const CVornItem &b)
{
    if (!SameBase(a, b))
        return false;
    switch (a.GetKind()) {
    case VornKind::Text:
        return SameText(static_cast<const CVornText &>(a), static_cast<const CVornText &>(b));
    case VornKind::DbText: {
        const auto &x = static_cast<const CVornDbText &>(a);
        const auto &y = static_cast<const CVornDbText &>(b);
        return SameText(x, y) && SameSource(x, y) && x.GetFormat() == y.GetFormat()
                && x.GetQuery() == y.GetQuery() && x.GetAggregate() == y.GetAggregate()
                && x.GetAggregateOver() == y.GetAggregateOver()
                && x.GetExpression() == y.GetExpression()
                && x.GetDisplayFormat() == y.GetDisplayFormat();
    }
    case VornKind::Shape: {
        const auto &x = static_cast<const CVornShape &>(a);
        const auto &y = static_cast<const CVornShape &>(b);
        return x.GetShapeType() == y.GetShapeType() && x.GetBkColor() == y.GetBkColor()
                && x.GetLineWidth() == y.GetLineWidth() && x.GetLineStyle() == y.GetLineStyle();
    }
    case VornKind::Image:
    case VornKind::DbImage: {
        const auto &x = static_cast<const CVornImage &>(a);
        const auto &y = static_cast<const CVornImage &>(b);
        if (x.GetImageData() != y.GetImageData() || x.GetHorzAlignment() != y.GetHorzAlignment()
            || x.GetVertAlignment() != y.GetVertAlignment())
            return false;
        return a.GetKind() == VornKind::Image
                || SameSource(static_cast<const CVornDbImage &>(a),
                              static_cast<const CVornDbImage &>(b));
    }
    case VornKind::Barcode:
    case VornKind::DbBarcode: {
        const auto &x = static_cast<const CVornBarcode &>(a);
        const auto &y = static_cast<const CVornBarcode &>(b);
        if (x.GetBarcode() != y.GetBarcode() || x.GetSymbology() != y.GetSymbology()
            || x.GetEccLevel() != y.GetEccLevel() || x.GetShowText() != y.GetShowText())
            return false;
        return a.GetKind() == VornKind::Barcode
                || SameSource(static_cast<const CVornDbBarcode &>(a),
                              static_cast<const CVornDbBarcode &>(b));
    }
    default:
        return true;
    }
}

qsizetype PictureBytes(const CVornItem &item)
{
    const auto *image = dynamic_cast<const CVornImage *>(&item);
    return image ? image->GetImageData().size() : 0;
}

qsizetype PictureBytes(const CVornBand &band)
{
    qsizetype bytes = 0;
    for (const CVornItem *item : band.GetItems())
        bytes += PictureBytes(*item);
    return bytes;
}

} // namespace ItemState
