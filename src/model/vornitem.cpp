#include "vornitem.h"

#include "itemkinds.h"

namespace {

class CFieldCollector : public CFieldVisitor
{
public:
    std::vector<FieldRef> fields;

protected:
    void Visit(const char *, FieldRef value, Saved) override { fields.push_back(value); }
};

// Copies one field; picture bytes into a buffer of their own.
struct CopyField
{
    template<typename T>
    void operator()(T *to, const T *from) const
    {
        *to = *from;
    }
    void operator()(QByteArray *to, const QByteArray *from) const
    {
        if (from->isEmpty())
            to->clear();
        else
            *to = QByteArray(from->constData(), from->size());
    }
};

} // namespace

void CVornItem::Reset()
{
    CVornElement::Reset();
    if (const std::unique_ptr<CVornItem> fresh = CreateItem(GetKind()))
        CopyFields(*fresh);
}

void CVornItem::CopyFrom(const CVornItem &other)
{
    CopyFields(other);
    SetSelected(other.IsSelected());
}

void CVornItem::CopyFields(const CVornItem &other)
{
    const std::vector<FieldRef> from = ItemFields(other);
    CFieldCollector to;
    VisitFields(to);
    Q_ASSERT(from.size() == to.fields.size());
    for (size_t i = 0; i < from.size() && i < to.fields.size(); ++i) {
        std::visit(
                [](auto *target, auto *source) {
                    if constexpr (std::is_same_v<decltype(target), decltype(source)>)
                        CopyField()(target, source);
                },
                to.fields[i], from[i]);
    }
}

std::unique_ptr<CVornItem> CVornItem::Clone() const
{
    std::unique_ptr<CVornItem> copy = CreateItem(GetKind());
    if (copy)
        copy->CopyFrom(*this);
    return copy;
}

void CVornItem::VisitFields(CFieldVisitor &fields)
{
    fields.Field("@name", NameField());
    fields.Field("color", m_color);
    fields.Field("left", m_left);
    fields.Field("top", m_top);
    fields.Field("right", m_right);
    fields.Field("bottom", m_bottom);
    VisitKindFields(fields);
    fields.Field("print_when", m_printWhen, CFieldVisitor::Saved::IfNotDefault);
    fields.Field("style_rule", m_styleRules, CFieldVisitor::Saved::IfNotDefault);
}

void CVornItem::SetRect(int left, int top, int right, int bottom)
{
    m_left = left;
    m_top = top;
    m_right = right;
    m_bottom = bottom;
}

std::unique_ptr<CVornItem> CreateItem(int kind)
{
    const CItemKind *found = FindItemKind(kind);
    return found ? found->create() : nullptr;
}

std::vector<FieldRef> ItemFields(const CVornItem &item)
{
    CFieldCollector collector;
    // The collector only takes the fields' addresses.
    const_cast<CVornItem &>(item).VisitFields(collector);
    return collector.fields;
}
