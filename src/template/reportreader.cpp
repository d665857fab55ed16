#include "reportfile.h"

#include "base64.h"
#include "numbertext.h"
#include "vornitems.h"
#include "vornreport.h"
#include "xmlaccess.h"

#include <QCoreApplication>

namespace {

bool ReadElementAttributes(CVornElement &element, const CXmlNode &node, QString &message)
{
    QString name;
    QString type;
    if (!GetAttribute(node, u"name", name, message) || !GetAttribute(node, u"type", type, message))
        return false;
    element.SetName(name);
    element.SetKind(ReadInt(type));
    return true;
}

// The font element: back to the default font, then the seven attributes, set
// only when all of them could be read.
bool ReadFont(CVornText &text, const CXmlNode &node, QString &message)
{
    text.ResetFont();
    QString name, size, charset, bold, italic, underline, strikeout;
    if (!GetAttribute(node, u"name", name, message) || !GetAttribute(node, u"size", size, message)
        || !GetAttribute(node, u"charset", charset, message)
        || !GetAttribute(node, u"bold", bold, message)
        || !GetAttribute(node, u"italic", italic, message)
        || !GetAttribute(node, u"underline", underline, message)
        || !GetAttribute(node, u"strikeout", strikeout, message))
        return false;
    text.SetFontName(name);
    text.SetFontSize(ReadInt(size));
    text.SetCharset(ReadInt(charset));
    text.SetBold(ReadInt(bold));
    text.SetItalic(ReadInt(italic));
    text.SetUnderline(ReadInt(underline));
    text.SetStrikeout(ReadInt(strikeout));
    return true;
}

// The fields of the item levels. Every level picks the child names it knows and
// ignores the rest; a name belongs to one level only, so one walk serves all.
bool ReadItemChild(CVornItem &item, const CXmlNode &child, QString &message)
{
    const auto is = [&child](const char16_t *name) { return NodeNameIs(child, name); };

    if (is(u"color")) {
        item.SetColor(ReadColor(NodeText(child)));
    } else if (is(u"left")) {
        item.SetLeft(ReadInt(NodeText(child)));
    } else if (is(u"top")) {
        item.SetTop(ReadInt(NodeText(child)));
    } else if (is(u"right")) {
        item.SetRight(ReadInt(NodeText(child)));
    } else if (is(u"bottom")) {
        item.SetBottom(ReadInt(NodeText(child)));
    }

    switch (item.GetKind()) {
    case VornKind::Text:
    case VornKind::DbText: {
        auto &text = static_cast<CVornText &>(item);
        if (is(u"text"))
            text.SetText(NodeText(child));
        else if (is(u"horz_alignment"))
            text.SetHorzAlignment(ReadInt(NodeText(child)));
        else if (is(u"vert_alignment"))
            text.SetVertAlignment(ReadInt(NodeText(child)));
        else if (is(u"word_wrap"))
            text.SetWordWrap(ReadInt(NodeText(child)));
        else if (is(u"font") && !ReadFont(text, child, message))
            return false;
        if (item.GetKind() == VornKind::DbText) {
            auto &dbText = static_cast<CVornDbText &>(item);
            if (is(u"data-source"))
                dbText.SetDataSource(NodeText(child));
            else if (is(u"data-field"))
                dbText.SetDataField(NodeText(child));
            else if (is(u"format"))
                dbText.SetFormat(NodeText(child));
            else if (is(u"query"))
                dbText.SetQuery(NodeText(child));
        }
        break;
    }
    case VornKind::Shape: {
        auto &shape = static_cast<CVornShape &>(item);
        if (is(u"bk_color"))
            shape.SetBkColor(ReadColor(NodeText(child)));
        else if (is(u"line_style"))
            shape.SetLineStyle(ReadInt(NodeText(child)));
        else if (is(u"line_width"))
            shape.SetLineWidth(ReadInt(NodeText(child)));
        else if (is(u"shape_type"))
            shape.SetShapeType(ReadInt(NodeText(child)));
        break;
    }
    case VornKind::Image:
    case VornKind::DbImage: {
        auto &image = static_cast<CVornImage &>(item);
        if (is(u"image"))
            image.SetImageData(Base64Decode(NodeText(child)));
        else if (is(u"horz_alignment"))
            image.SetHorzAlignment(ReadInt(NodeText(child)));
        else if (is(u"vert_alignment"))
            image.SetVertAlignment(ReadInt(NodeText(child)));
        if (item.GetKind() == VornKind::DbImage) {
            auto &dbImage = static_cast<CVornDbImage &>(item);
            if (is(u"data-source"))
                dbImage.SetDataSource(NodeText(child));
            else if (is(u"data-field"))
                dbImage.SetDataField(NodeText(child));
        }
        break;
    }
    case VornKind::Barcode:
    case VornKind::DbBarcode: {
        auto &barcode = static_cast<CVornBarcode &>(item);
        if (is(u"barcode"))
            barcode.SetBarcode(NodeText(child));
        if (item.GetKind() == VornKind::DbBarcode) {
            auto &dbBarcode = static_cast<CVornDbBarcode &>(item);
            if (is(u"data-source"))
                dbBarcode.SetDataSource(NodeText(child));
            else if (is(u"data-field"))
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
    CXmlNodeList children;
    if (!SelectChildren(node, children, message))
        return false;
    for (const CXmlNode &child : children) {
        if (!ReadItemChild(item, child, message))
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
    std::unique_ptr<CVornItem> item = CreateItem(ReadInt(type));
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
    CXmlNodeList children;
    if (!SelectChildren(node, children, message))
        return false;
    for (const CXmlNode &child : children) {
        if (NodeNameIs(child, u"height"))
            band.SetHeight(ReadInt(NodeText(child)));
        else if (NodeNameIs(child, u"header"))
            band.SetHeader(NodeText(child));
        else if (NodeNameIs(child, u"footer"))
            band.SetFooter(NodeText(child));
        else if (NodeNameIs(child, u"database-query"))
            band.SetDatabaseQuery(NodeText(child));
        else if (NodeNameIs(child, u"parent-data-source"))
            band.SetParentDataSource(NodeText(child));
        else if (NodeNameIs(child, u"print-on-first-page"))
            band.SetPrintOnFirstPage(ReadInt(NodeText(child)));
        else if (NodeNameIs(child, u"element") && !ReadBandItem(band, child, message))
            return false;
    }
    return true;
}

bool ReadReportAttributes(CVornReport &report, const CXmlDocument &document, QString &message)
{
    CXmlNodeList all;
    if (!SelectNodes(document, QStringLiteral("//*"), all, message))
        return false;
    CXmlNode root;
    if (!NodeListItem(all, 0, root, message))
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
    for (const CXmlNode &node : nodes) {
        QString band, name, value;
        if (!GetAttribute(node, u"band", band, message)
            || !GetAttribute(node, u"name", name, message)
            || !GetAttribute(node, u"value", value, message))
            return false;
        report.GetParameters().SetParameter(band, name, value);
    }
    return true;
}

bool Load(CVornReport &report, const QString &path, QString &message)
{
    CXmlDocument document;
    if (!LoadXmlFile(path, document, message))
        return false;
    if (!ReadReportAttributes(report, document, message))
        return false;

    CXmlNodeList nodes;
    if (!SelectNodes(document, QStringLiteral("//report/*"), nodes, message))
        return false;
    for (const CXmlNode &node : nodes) {
        if (!NodeNameIs(node, u"element"))
            continue;
        auto band = std::make_unique<CVornBand>();
        if (!ReadBand(*band, node, message))
            return false;
        report.GetBands().Add(band.release());
    }

    if (!LoadParameters(report, document, message))
        return false;
    document.Release();
    return report.Validate(message);
}

} // namespace VornTemplate
