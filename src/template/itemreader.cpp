#include "templateread.h"

#include "base64.h"
#include "itemelement.h"
#include "numbertext.h"
#include "vornband.h"
#include "vornitem.h"
#include "vornkind.h"

#include <QCoreApplication>

namespace TemplateRead {

namespace {

// A style rule: its condition and the properties it sets; a property it does not name stays
// unset. Unknown children are ignored.
CStyleRule ReadStyleRule(const CXmlNode &node)
{
    CStyleRule rule;
    for (CXmlNode child = FirstChildElement(node); !child.IsNull();
         child = NextSiblingElement(child)) {
        switch (FieldOf(child)) {
        case Field::When:
            rule.when = NodeText(child);
            break;
        case Field::Color:
            rule.color = ReadColor(NodeTextUtf8(child));
            break;
        case Field::BkColor:
            rule.bkColor = ReadColor(NodeTextUtf8(child));
            break;
        case Field::Bold:
            rule.bold = ReadInt(NodeTextUtf8(child)) != 0 ? 1 : 0;
            break;
        case Field::Italic:
            rule.italic = ReadInt(NodeTextUtf8(child)) != 0 ? 1 : 0;
            break;
        default:
            break;
        }
    }
    return rule;
}

// A chart's series: its name, value and colour; a colour it does not name stays the palette's.
// Unknown children are ignored.
CChartSeriesSetting ReadChartSeries(const CXmlNode &node)
{
    CChartSeriesSetting series;
    for (CXmlNode child = FirstChildElement(node); !child.IsNull();
         child = NextSiblingElement(child)) {
        LowerNameBuffer buffer;
        const std::string_view name = LowerName(child, buffer);
        if (name == "name")
            series.name = NodeText(child);
        else if (name == "value")
            series.value = NodeText(child);
        else if (name == "color")
            series.color = ReadColor(NodeTextUtf8(child));
    }
    return series;
}

// Sets a field from the text of an element or attribute, read as its type reads.
struct ReadField
{
    QByteArrayView text;
    const CXmlNode &node;

    void operator()(int *field) const { *field = ReadInt(text); }
    void operator()(quint32 *field) const { *field = ReadColor(text); }
    void operator()(QString *field) const { *field = QString::fromUtf8(text); }
    void operator()(QByteArray *field) const { *field = Base64Decode(text); }
    void operator()(CStyleRules *field) const
    {
        // Rules past the most an item holds are left out, as a newer writer's extras would be.
        if (field->size() < size_t(CStyleRule::MaxRules))
            field->push_back(ReadStyleRule(node));
    }
    void operator()(CChartSeriesSettings *field) const
    {
        if (field->size() < size_t(CChartSeriesSetting::MaxSeries))
            field->push_back(ReadChartSeries(node));
    }
};

// The fields an element holds as attributes: each read from the first attribute of its name,
// a missing one as if empty.
void ReadAttributeFields(const CItemElement::Child &child, const CXmlNode &node,
                         const CFieldAddresses &fields)
{
    const std::vector<CItemElement::Attribute> &attributes = child.attributes;
    std::array<QByteArray, 16> values;
    std::array<bool, 16> found {};
    Q_ASSERT(attributes.size() <= values.size());
    const size_t count = std::min(attributes.size(), values.size());
    for (CXmlNode attribute = FirstAttribute(node); !attribute.IsNull();
         attribute = NextAttribute(attribute)) {
        const QByteArrayView name = NodeNameUtf8(attribute);
        for (size_t k = 0; k < count; ++k) {
            const QLatin1StringView wanted = attributes[k].name;
            if (!found[k] && name == QByteArrayView(wanted.data(), wanted.size())) {
                values[k] = NodeTextUtf8(attribute);
                found[k] = true;
                break;
            }
        }
    }
    for (size_t k = 0; k < count; ++k)
        std::visit(ReadField {values[k], node}, fields[attributes[k].field]);
}

} // namespace

// An item's children are the fields of its kind's list; a name the kind does not list is
// ignored, as a newer writer's additions would be.
bool ReadItem(CVornItem &item, const CXmlNode &node, QString &message)
{
    if (!ReadElementAttributes(item, node, message))
        return false;
    const CItemElement *element = ItemElementOf(item.GetKind());
    if (element) {
        CFieldAddresses fields;
        CollectFields(item, fields);
        size_t next = 0;
        for (CXmlNode child = FirstChildElement(node); !child.IsNull();
             child = NextSiblingElement(child)) {
            // Names are mostly written in lower case already; only another one is folded.
            const QByteArrayView raw = NodeNameUtf8(child);
            int found = element->Find(std::string_view(raw.data(), size_t(raw.size())), next);
            if (found < 0) {
                LowerNameBuffer buffer;
                const std::string_view lower = LowerName(child, buffer);
                if (lower != std::string_view(raw.data(), size_t(raw.size())))
                    found = element->Find(lower, next);
                if (found < 0)
                    continue;
            }
            const CItemElement::Child &known = element->children[size_t(found)];
            next = size_t(found) + 1;
            if (known.attributes.empty())
                std::visit(ReadField {NodeTextUtf8(child), child}, fields[known.field]);
            else
                ReadAttributeFields(known, child, fields);
        }
    }
    item.ReadFinished();
    return true;
}

bool ReadBandItem(CVornBand &band, const CXmlNode &node, QString &message)
{
    QString type;
    if (!GetAttribute(node, u"type", type, message))
        return false;
    const int kind = ReadInt(type);
    std::unique_ptr<CVornItem> item = CreateItem(kind);
    if (!item && kind >= VornKind::FirstAddedKind) {
        message = QCoreApplication::translate("Vantel",
                                              "The \"%1\" band holds an element of kind %2, "
                                              "which this Vantel does not know: the report "
                                              "needs a newer Vantel")
                          .arg(band.GetName(), type);
        return false;
    }
    if (!item) {
        message = QCoreApplication::translate("Vantel",
                                              "The \"%1\" band holds an element of an unknown "
                                              "type: \"%2\"")
                          .arg(band.GetName(), type);
        return false;
    }
    if (!ReadItem(*item, node, message))
        return false;
    band.GetItems().Add(item.release());
    return true;
}

} // namespace TemplateRead
