#include "reportfile.h"

#include "numbertext.h"
#include "templateread.h"
#include "vornitems.h"
#include "vornreport.h"
#include "xmlaccess.h"

#include <QCoreApplication>

namespace {

using namespace TemplateRead;

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
