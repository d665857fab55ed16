#include "templateread.h"

#include "base64.h"
#include "numbertext.h"
#include "vornband.h"
#include "vornitems.h"

#include <QCoreApplication>

namespace TemplateRead {

namespace {

// The font element (always an element: a child the reader walked to): back
// to the default font, then the seven attributes.
void ReadFont(CVornText &text, const CXmlNode &node)
{
    text.ResetFont();
    const std::array<QByteArray, 7> values = ReadAttributes<7>(
            node, {"name", "size", "charset", "bold", "italic", "underline", "strikeout"});
    text.SetFontName(QString::fromUtf8(values[0]));
    text.SetFontSize(ReadInt(values[1]));
    text.SetCharset(ReadInt(values[2]));
    text.SetBold(ReadInt(values[3]));
    text.SetItalic(ReadInt(values[4]));
    text.SetUnderline(ReadInt(values[5]));
    text.SetStrikeout(ReadInt(values[6]));
}

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

// The fields of the item levels: the element level's attributes come first,
// then the item level's coordinates and colour, then the kind's own fields.
// Unknown names are ignored at every level.
bool ReadItemChild(CVornItem &item, const CXmlNode &child)
{
    const Field field = FieldOf(child);
    switch (field) {
    case Field::Color:
        item.SetColor(ReadColor(NodeTextUtf8(child)));
        return true;
    case Field::Left:
        item.SetLeft(ReadInt(NodeTextUtf8(child)));
        return true;
    case Field::Top:
        item.SetTop(ReadInt(NodeTextUtf8(child)));
        return true;
    case Field::Right:
        item.SetRight(ReadInt(NodeTextUtf8(child)));
        return true;
    case Field::Bottom:
        item.SetBottom(ReadInt(NodeTextUtf8(child)));
        return true;
    case Field::PrintWhen:
        item.SetPrintWhen(NodeText(child));
        return true;
    case Field::StyleRule:
        // Rules past the most an item holds are left out, as a newer writer's extras would be.
        if (item.GetStyleRules().size() < size_t(CStyleRule::MaxRules)) {
            CStyleRules rules = item.GetStyleRules();
            rules.push_back(ReadStyleRule(child));
            item.SetStyleRules(rules);
        }
        return true;
    default:
        break;
    }

    switch (item.GetKind()) {
    case VornKind::Text:
    case VornKind::DbText: {
        auto &text = static_cast<CVornText &>(item);
        switch (field) {
        case Field::Text:
            text.SetText(NodeText(child));
            break;
        case Field::HorzAlignment:
            text.SetHorzAlignment(ReadInt(NodeTextUtf8(child)));
            break;
        case Field::VertAlignment:
            text.SetVertAlignment(ReadInt(NodeTextUtf8(child)));
            break;
        case Field::WordWrap:
            text.SetWordWrap(ReadInt(NodeTextUtf8(child)));
            break;
        case Field::CanGrow:
            text.SetCanGrow(ReadInt(NodeText(child)));
            break;
        case Field::Font:
            ReadFont(text, child);
            break;
        default:
            break;
        }
        if (item.GetKind() == VornKind::DbText) {
            auto &dbText = static_cast<CVornDbText &>(item);
            switch (field) {
            case Field::DataSource:
                dbText.SetDataSource(NodeText(child));
                break;
            case Field::DataField:
                dbText.SetDataField(NodeText(child));
                break;
            case Field::Format:
                dbText.SetFormat(NodeText(child));
                break;
            case Field::Query:
                dbText.SetQuery(NodeText(child));
                break;
            case Field::Aggregate:
                dbText.SetAggregate(ReadInt(NodeText(child)));
                break;
            case Field::AggregateOver:
                dbText.SetAggregateOver(ReadInt(NodeText(child)));
                break;
            case Field::Expression:
                dbText.SetExpression(NodeText(child));
                break;
            case Field::DisplayFormat:
                dbText.SetDisplayFormat(NodeText(child));
                break;
            default:
                break;
            }
        }
        break;
    }
    case VornKind::Shape: {
        auto &shape = static_cast<CVornShape &>(item);
        switch (field) {
        case Field::BkColor:
            shape.SetBkColor(ReadColor(NodeTextUtf8(child)));
            break;
        case Field::LineStyle:
            shape.SetLineStyle(ReadInt(NodeTextUtf8(child)));
            break;
        case Field::LineWidth:
            shape.SetLineWidth(ReadInt(NodeTextUtf8(child)));
            break;
        case Field::ShapeType:
            shape.SetShapeType(ReadInt(NodeTextUtf8(child)));
            break;
        default:
            break;
        }
        break;
    }
    case VornKind::Image:
    case VornKind::DbImage: {
        auto &image = static_cast<CVornImage &>(item);
        switch (field) {
        case Field::Image:
            image.SetImageData(Base64Decode(NodeTextUtf8(child)));
            break;
        case Field::HorzAlignment:
            image.SetHorzAlignment(ReadInt(NodeTextUtf8(child)));
            break;
        case Field::VertAlignment:
            image.SetVertAlignment(ReadInt(NodeTextUtf8(child)));
            break;
        default:
            break;
        }
        if (item.GetKind() == VornKind::DbImage) {
            auto &dbImage = static_cast<CVornDbImage &>(item);
            if (field == Field::DataSource)
                dbImage.SetDataSource(NodeText(child));
            else if (field == Field::DataField)
                dbImage.SetDataField(NodeText(child));
        }
        break;
    }
    case VornKind::Barcode:
    case VornKind::DbBarcode: {
        auto &barcode = static_cast<CVornBarcode &>(item);
        if (field == Field::Barcode)
            barcode.SetBarcode(NodeText(child));
        else if (field == Field::Symbology)
            barcode.SetSymbology(ReadInt(NodeText(child)));
        else if (field == Field::EccLevel)
            barcode.SetEccLevel(ReadInt(NodeText(child)));
        else if (field == Field::ShowText)
            barcode.SetShowText(ReadInt(NodeText(child)));
        if (item.GetKind() == VornKind::DbBarcode) {
            auto &dbBarcode = static_cast<CVornDbBarcode &>(item);
            if (field == Field::DataSource)
                dbBarcode.SetDataSource(NodeText(child));
            else if (field == Field::DataField)
                dbBarcode.SetDataField(NodeText(child));
        }
        break;
    }
    default:
        break;
    }
    return true;
}

} // namespace

bool ReadItem(CVornItem &item, const CXmlNode &node, QString &message)
{
    if (!ReadElementAttributes(item, node, message))
        return false;
    for (CXmlNode child = FirstChildElement(node); !child.IsNull();
         child = NextSiblingElement(child)) {
        if (!ReadItemChild(item, child))
            return false;
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
