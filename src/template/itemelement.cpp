#include "itemelement.h"

#include "itemkinds.h"
#include "vornitem.h"

#include <cstring>
#include <map>

namespace {

// Groups the fields of a kind's list into the child elements that hold them.
class CElementBuilder : public CFieldVisitor
{
public:
    explicit CElementBuilder(CItemElement &element)
        : m_element(element)
    { }

protected:
    void Visit(const char *name, FieldRef value, Saved saved) override
    {
        const size_t field = m_element.fieldCount++;
        if (std::holds_alternative<QByteArray *>(value))
            m_element.holdsBytes = true;
        const char *at = std::strchr(name, '@');
        // The item's own attributes (its name) are read and written with the band's.
        if (at == name)
            return;
        if (!at) {
            m_element.children.push_back({QLatin1StringView(name), saved, field, {}});
            return;
        }
        const QLatin1StringView element(name, at - name);
        const QLatin1StringView attribute(at + 1);
        // The attributes of one element are listed one after the other.
        if (m_element.children.empty() || m_element.children.back().name != element
            || m_element.children.back().attributes.empty())
            m_element.children.push_back({element, saved, field, {}});
        m_element.children.back().attributes.push_back({attribute, field});
    }

private:
    CItemElement &m_element;
};

class CAddressCollector : public CFieldVisitor
{
public:
    explicit CAddressCollector(CFieldAddresses &fields)
        : m_fields(fields)
    { }

protected:
    void Visit(const char *, FieldRef value, Saved) override { m_fields.append(value); }

private:
    CFieldAddresses &m_fields;
};

} // namespace

void CollectFields(const CVornItem &item, CFieldAddresses &fields)
{
    CAddressCollector collector(fields);
    // The collector only takes the fields' addresses.
    const_cast<CVornItem &>(item).VisitFields(collector);
}

int CItemElement::Find(std::string_view name, size_t hint) const
{
    const size_t count = children.size();
    for (size_t k = 0; k < count; ++k) {
        const size_t i = hint + k < count ? hint + k : hint + k - count;
        const QLatin1StringView candidate = children[i].name;
        if (size_t(candidate.size()) == name.size() && !name.empty()
            && candidate.data()[0] == name[0]
            && std::memcmp(candidate.data(), name.data(), name.size()) == 0)
            return int(i);
    }
    return -1;
}

const CItemElement *ItemElementOf(int code)
{
    // Built once for every registered kind; the names of the field lists are literals.
    static const std::map<int, CItemElement> elements = [] {
        std::map<int, CItemElement> all;
        for (const CItemKind &kind : ItemKinds()) {
            CItemElement &element = all[kind.code];
            element.fresh = kind.create();
            CElementBuilder builder(element);
            element.fresh->VisitFields(builder);
            element.defaults = ItemFields(*element.fresh);
        }
        return all;
    }();
    const auto found = elements.find(code);
    return found == elements.end() ? nullptr : &found->second;
}
