#include "reportfile.h"

#include "base64.h"
#include "numbertext.h"
#include "vornitems.h"
#include "vornreport.h"
#include "xmlaccess.h"

#include <QCoreApplication>

#include <array>
#include <string_view>

namespace {

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

bool ReadElementAttributes(CVornElement &element, const CXmlNode &node, QString &message)
{
    // GetAttribute refuses a node that is not an element.
    QString name;
    if (!GetAttribute(node, u"name", name, message))
        return false;
    element.SetName(name);
    element.SetKind(ReadInt(ReadAttributes<1>(node, {"type"})[0]));
    return true;
}

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

// The child elements the reader knows, by name. Names are compared without
// regard to letter case; a name belongs to one level of the item classes only.
enum class Field {
    Unknown,
    Barcode,
    Symbology,
    EccLevel,
    ShowText,
    BkColor,
    Bottom,
    Color,
    DataField,
    DataSource,
    DatabaseQuery,
    Aggregate,
    AggregateOver,
    Bold,
    DisplayFormat,
    Expression,
    Italic,
    Locale,
    PrintWhen,
    StyleRule,
    When,
    CanGrow,
    ColumnGap,
    ColumnLeft,
    ColumnOrder,
    ColumnWidth,
    Columns,
    Element,
    Font,
    Footer,
    Format,
    Header,
    Height,
    HorzAlignment,
    Image,
    KeepTogether,
    KeepWithNext,
    Left,
    LineStyle,
    LineWidth,
    NewPage,
    ParentDataSource,
    PrintOnFirstPage,
    Query,
    RepeatHeader,
    ResetPageNumber,
    Right,
    ShapeType,
    SkipLabels,
    Text,
    Top,
    VertAlignment,
    WordWrap,
};

Field FieldOfLower(std::string_view name)
{
    const auto is = [name](std::string_view candidate) {
        return name == candidate;
    };
    switch (name.size()) {
    case 3:
        return is("top") ? Field::Top : Field::Unknown;
    case 4:
        return is("left")    ? Field::Left
                : is("text") ? Field::Text
                : is("font") ? Field::Font
                : is("when") ? Field::When
                : is("bold") ? Field::Bold
                             : Field::Unknown;
    case 5:
        return is("color")    ? Field::Color
                : is("right") ? Field::Right
                : is("image") ? Field::Image
                : is("query") ? Field::Query
                              : Field::Unknown;
    case 6:
        return is("bottom")    ? Field::Bottom
                : is("height") ? Field::Height
                : is("header") ? Field::Header
                : is("footer") ? Field::Footer
                : is("format") ? Field::Format
                : is("italic") ? Field::Italic
                : is("locale") ? Field::Locale
                               : Field::Unknown;
    case 7:
        return is("element")    ? Field::Element
                : is("barcode") ? Field::Barcode
                : is("columns") ? Field::Columns
                                : Field::Unknown;
    case 8:
        return is("bk_color")    ? Field::BkColor
                : is("can_grow") ? Field::CanGrow
                : is("new_page") ? Field::NewPage
                                 : Field::Unknown;
    case 9:
        return is("word_wrap")    ? Field::WordWrap
                : is("aggregate") ? Field::Aggregate
                : is("symbology") ? Field::Symbology
                : is("ecc_level") ? Field::EccLevel
                : is("show_text") ? Field::ShowText
                                  : Field::Unknown;
    case 10:
        return is("data-field")    ? Field::DataField
                : is("line_style") ? Field::LineStyle
                : is("line_width") ? Field::LineWidth
                : is("shape_type") ? Field::ShapeType
                : is("print_when") ? Field::PrintWhen
                : is("style_rule") ? Field::StyleRule
                : is("expression") ? Field::Expression
                : is("column_gap") ? Field::ColumnGap
                                   : Field::Unknown;
    case 11:
        return is("data-source")    ? Field::DataSource
                : is("skip_labels") ? Field::SkipLabels
                : is("column_left") ? Field::ColumnLeft
                                    : Field::Unknown;
    case 12:
        return is("column_order")    ? Field::ColumnOrder
                : is("column_width") ? Field::ColumnWidth
                                     : Field::Unknown;
    case 13:
        return is("repeat_header")    ? Field::RepeatHeader
                : is("keep_together") ? Field::KeepTogether
                                      : Field::Unknown;
    case 14:
        return is("horz_alignment")    ? Field::HorzAlignment
                : is("vert_alignment") ? Field::VertAlignment
                : is("database-query") ? Field::DatabaseQuery
                : is("aggregate_over") ? Field::AggregateOver
                : is("display_format") ? Field::DisplayFormat
                : is("keep_with_next") ? Field::KeepWithNext
                                       : Field::Unknown;
    case 17:
        return is("reset_page_number") ? Field::ResetPageNumber : Field::Unknown;
    case 18:
        return is("parent-data-source") ? Field::ParentDataSource : Field::Unknown;
    case 19:
        return is("print-on-first-page") ? Field::PrintOnFirstPage : Field::Unknown;
    default:
        return Field::Unknown;
    }
}

// Looks a child's name up once, instead of comparing it with every name a
// level knows: the reader meets some hundred thousand children in a big file.
// The name is folded to lower case and compared with the few names of its
// length.
Field FieldOf(const CXmlNode &node)
{
    const QByteArrayView raw = NodeNameUtf8(node);
    char lower[20];
    if (raw.size() >= qsizetype(sizeof lower))
        return Field::Unknown;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const auto c = static_cast<unsigned char>(raw[i]);
        if (c >= 0x80) {
            // Rare: a letter that folds to an ASCII one, which Qt's case
            // folding decides as it does everywhere else.
            const QString folded = QString::fromUtf8(raw).toCaseFolded();
            if (folded.size() >= qsizetype(sizeof lower))
                return Field::Unknown;
            for (qsizetype k = 0; k < folded.size(); ++k) {
                if (folded[k].unicode() >= 0x80)
                    return Field::Unknown;
                lower[k] = char(folded[k].unicode());
            }
            return FieldOfLower(std::string_view(lower, size_t(folded.size())));
        }
        lower[i] = char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    }
    return FieldOfLower(std::string_view(lower, size_t(raw.size())));
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

bool ReadItem(CVornItem &item, const CXmlNode &node, QString &message)
{
    if (!ReadElementAttributes(item, node, message))
        return false;
    for (CXmlNode child = FirstChildElement(node); !child.IsNull();
         child = NextSiblingElement(child)) {
        if (!ReadItemChild(item, child))
            return false;
    }
    if (item.GetKind() == VornKind::DbText) {
        // Older files keep a database text's field in its text.
        auto &dbText = static_cast<CVornDbText &>(item);
        if (!dbText.GetText().isEmpty() && dbText.GetDataField().isEmpty())
            dbText.SetDataField(dbText.GetText());
        dbText.SetText(QString());
    }
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

bool ReadBand(CVornBand &band, const CXmlNode &node, QString &message)
{
    if (!ReadElementAttributes(band, node, message))
        return false;
    for (CXmlNode child = FirstChildElement(node); !child.IsNull();
         child = NextSiblingElement(child)) {
        switch (FieldOf(child)) {
        case Field::Height:
            band.SetHeight(ReadInt(NodeTextUtf8(child)));
            break;
        case Field::Header:
            band.SetHeader(NodeText(child));
            break;
        case Field::Footer:
            band.SetFooter(NodeText(child));
            break;
        case Field::DatabaseQuery:
            band.SetDatabaseQuery(NodeText(child));
            break;
        case Field::ParentDataSource:
            band.SetParentDataSource(NodeText(child));
            break;
        case Field::PrintOnFirstPage:
            band.SetPrintOnFirstPage(ReadInt(NodeTextUtf8(child)));
            break;
        case Field::PrintWhen:
            band.SetPrintWhen(NodeText(child));
            break;
        case Field::NewPage:
            band.GetPaging().newPage = ReadInt(NodeTextUtf8(child));
            break;
        case Field::ResetPageNumber:
            band.GetPaging().resetPageNumber = ReadInt(NodeTextUtf8(child));
            break;
        case Field::KeepWithNext:
            band.GetPaging().keepWithNext = ReadInt(NodeTextUtf8(child));
            break;
        case Field::RepeatHeader:
            band.GetPaging().repeatHeader = ReadInt(NodeTextUtf8(child));
            break;
        case Field::KeepTogether:
            band.GetPaging().keepTogether = ReadInt(NodeTextUtf8(child));
            break;
        case Field::Columns:
            band.GetPaging().columns = ReadInt(NodeTextUtf8(child));
            break;
        case Field::ColumnGap:
            band.GetPaging().columnGap = ReadInt(NodeTextUtf8(child));
            break;
        case Field::ColumnOrder:
            band.GetPaging().columnOrder = ReadInt(NodeTextUtf8(child));
            break;
        case Field::ColumnWidth:
            band.GetPaging().columnWidth = ReadInt(NodeTextUtf8(child));
            break;
        case Field::ColumnLeft:
            band.GetPaging().columnLeft = ReadInt(NodeTextUtf8(child));
            break;
        case Field::SkipLabels:
            band.GetPaging().skipLabels = ReadInt(NodeTextUtf8(child));
            break;
        case Field::Element:
            if (!ReadBandItem(band, child, message))
                return false;
            break;
        default:
            break;
        }
    }
    return true;
}

bool ReadReportAttributes(CVornReport &report, const CXmlDocument &document, QString &message)
{
    // The root element, whatever its name.
    CXmlNode root;
    if (!DocumentElement(document, root, message))
        return false;
    QString title, width, height, portrait, databaseType, connect;
    if (!GetAttribute(root, u"title", title, message)
        || !GetAttribute(root, u"width", width, message)
        || !GetAttribute(root, u"height", height, message)
        || !GetAttribute(root, u"portrait", portrait, message)
        || !GetAttribute(root, u"database-type", databaseType, message)
        || !GetAttribute(root, u"database-connect-string", connect, message))
        return false;
    report.SetWidth(ReadInt(width));
    report.SetHeight(ReadInt(height));
    report.SetTitle(title);
    report.SetConnectString(connect);
    report.SetDatabaseType(databaseType.isEmpty() ? -1 : ReadInt(databaseType));
    // A missing portrait attribute reads as 0: landscape.
    report.SetPortrait(ReadInt(portrait) != 0 ? 1 : 0);
    return true;
}

// Every parameter node, whatever its name, gives band, name and value; a
// missing attribute reads as empty, and a later equal parameter wins.
bool ReadParameters(CVornReport &report, const CXmlNodeList &nodes, QString &message)
{
    std::vector<CVornParameter> read;
    read.reserve(size_t(nodes.Length()));
    for (const CXmlNode &node : nodes) {
        QString band, name, value;
        if (!GetAttribute(node, u"band", band, message)
            || !GetAttribute(node, u"name", name, message)
            || !GetAttribute(node, u"value", value, message)) {
            report.GetParameters().SetParameters(read); // what was read stays
            return false;
        }
        read.emplace_back(band, name, value);
    }
    report.GetParameters().SetParameters(read);
    return true;
}

} // namespace

namespace VornTemplate {

bool ReadXml(CVornElement &element, const CXmlNode &node, QString &message)
{
    if (IsItemKind(element.GetKind()))
        return ReadItem(static_cast<CVornItem &>(element), node, message);
    // Anything else is read as a band; validation judges its kind afterwards.
    auto *band = dynamic_cast<CVornBand *>(&element);
    return band != nullptr && ReadBand(*band, node, message);
}

bool LoadParameters(CVornReport &report, const CXmlDocument &document, QString &message)
{
    CXmlNodeList nodes;
    if (!SelectNodes(document, QStringLiteral("//report/parameters/*"), nodes, message))
        return false;
    return ReadParameters(report, nodes, message);
}

bool ReadDocument(CVornReport &report, const CXmlDocument &document, QString &message)
{
    if (!ReadReportAttributes(report, document, message))
        return false;

    // The bands and the parameters section are found in one walk of the file.
    CXmlNodeList bands;
    CXmlNodeList parameters;
    if (!SelectNodesTogether(
                document, {QStringLiteral("//report/*"), QStringLiteral("//report/parameters/*")},
                {&bands, &parameters}, message))
        return false;
    for (const CXmlNode &node : bands) {
        if (FieldOf(node) == Field::Locale) {
            report.SetLocale(NodeText(node));
            continue;
        }
        if (!NodeNameIs(node, u"element"))
            continue;
        auto band = std::make_unique<CVornBand>();
        if (!ReadBand(*band, node, message))
            return false;
        report.GetBands().Add(band.release());
    }
    return ReadParameters(report, parameters, message);
}

bool Load(CVornReport &report, const QString &path, QString &message)
{
    CXmlDocument document;
    if (!LoadXmlFile(path, document, message) || !ReadDocument(report, document, message))
        return false;
    document.Release();
    return report.Validate(message);
}

bool LoadBytes(CVornReport &report, QByteArray bytes, QString &message)
{
    CXmlDocument document;
    if (!LoadXmlBytes(std::move(bytes), document, message)
        || !ReadDocument(report, document, message))
        return false;
    document.Release();
    return report.Validate(message);
}

} // namespace VornTemplate
