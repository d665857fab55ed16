#pragma once

#include "xmlaccess.h"

#include <QByteArray>

#include <array>
#include <string_view>

class CVornBand;
class CVornElement;
class CVornItem;

// What the template reader shares between its levels: the names of the child elements it
// knows, looked up fast, and the attributes of an element.
namespace TemplateRead {

// The child elements of the report, its bands and style rules, by name. Names are compared
// without regard to letter case. An item's children are named by its kind's field list
// (itemelement.h).
enum class Field {
    Unknown,
    BkColor,
    Color,
    DatabaseQuery,
    Bold,
    Italic,
    Locale,
    PrintWhen,
    When,
    ColumnGap,
    ColumnLeft,
    ColumnOrder,
    ColumnWidth,
    Columns,
    Element,
    Footer,
    Header,
    Height,
    KeepTogether,
    KeepWithNext,
    NewPage,
    ParentDataSource,
    PrintOnFirstPage,
    RepeatHeader,
    ResetPageNumber,
    SkipLabels,
};

// The field a child element names; Field::Unknown for a name no level knows.
Field FieldOf(const CXmlNode &node);

// The name of an element folded to lower case in buffer; empty when it is longer than the
// buffer or does not fold to ASCII, as no name the reader knows does.
using LowerNameBuffer = std::array<char, 32>;
std::string_view LowerName(const CXmlNode &node, LowerNameBuffer &buffer);

// Reads the attributes `names` of an element in one pass over its
// attributes, with what GetAttribute would give one by one: the first
// attribute of a name counts, and a missing one reads as empty.
template<size_t N>
std::array<QByteArray, N> ReadAttributes(const CXmlNode &node,
                                         const std::array<std::string_view, N> &names)
{
    std::array<QByteArray, N> values;
    std::array<bool, N> found {};
    for (CXmlNode attribute = FirstAttribute(node); !attribute.IsNull();
         attribute = NextAttribute(attribute)) {
        const QByteArrayView name = NodeNameUtf8(attribute);
        for (size_t k = 0; k < N; ++k) {
            if (!found[k] && std::string_view(name.data(), size_t(name.size())) == names[k]) {
                values[k] = NodeTextUtf8(attribute);
                found[k] = true;
                break;
            }
        }
    }
    return values;
}

// The name and type attributes that a band and an item share.
bool ReadElementAttributes(CVornElement &element, const CXmlNode &node, QString &message);

// Reads an item's attributes and child elements into it.
bool ReadItem(CVornItem &item, const CXmlNode &node, QString &message);

// Reads an item element of a band and adds the item to it; a kind code this Vantel does not
// know refuses the file.
bool ReadBandItem(CVornBand &band, const CXmlNode &node, QString &message);

} // namespace TemplateRead
