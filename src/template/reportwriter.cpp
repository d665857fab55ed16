#include "reportfile.h"

#include "base64.h"
#include "vornitems.h"
#include "vornreport.h"
#include "writetextfile.h"
#include "xmlaccess.h"

namespace {

const QLatin1StringView crlf("\r\n");

// One line builder, so that every line is indented, escaped and ended alike.
class LineWriter
{
public:
    explicit LineWriter(QString &out)
        : m_out(out)
    { }

    void Line(QLatin1StringView text)
    {
        m_out += text;
        m_out += crlf;
    }

    // "  <tag>value</tag>" with the value escaped.
    void Text(QLatin1StringView tag, const QString &value)
    {
        Open(tag);
        m_out += EscapeXml(value);
        Close(tag);
    }

    // "  <tag>%d</tag>"
    void Int(QLatin1StringView tag, int value)
    {
        Open(tag);
        m_out += QString::number(value);
        Close(tag);
    }

    // "  <tag>%u</tag>"
    void Color(QLatin1StringView tag, quint32 value)
    {
        Open(tag);
        m_out += QString::number(value);
        Close(tag);
    }

    // '<element name="%s" type="%d">', not indented for bands and items alike.
    void ElementStart(const CVornElement &element)
    {
        m_out += QLatin1StringView("<element name=\"");
        m_out += EscapeXmlAttribute(element.GetName());
        m_out += QLatin1StringView("\" type=\"");
        m_out += QString::number(element.GetKind());
        m_out += QLatin1StringView("\">");
        m_out += crlf;
    }

    QString &Out() { return m_out; }

private:
    void Open(QLatin1StringView tag)
    {
        m_out += QLatin1StringView("  <");
        m_out += tag;
        m_out += u'>';
    }
    void Close(QLatin1StringView tag)
    {
        m_out += QLatin1StringView("</");
        m_out += tag;
        m_out += u'>';
        m_out += crlf;
    }

    QString &m_out;
};

void WriteAttribute(QString &out, QLatin1StringView name, const QString &value)
{
    out += u' ';
    out += name;
    out += QLatin1StringView("=\"");
    out += value;
    out += u'"';
}

void WriteTextLines(LineWriter &w, const CVornText &text)
{
    w.Text(QLatin1StringView("text"), text.GetText());
    w.Int(QLatin1StringView("horz_alignment"), text.GetHorzAlignment());
    w.Int(QLatin1StringView("vert_alignment"), text.GetVertAlignment());
    w.Int(QLatin1StringView("word_wrap"), text.GetWordWrap());
    QString &out = w.Out();
    out += QLatin1StringView("  <font");
    WriteAttribute(out, QLatin1StringView("name"), EscapeXmlAttribute(text.GetFontName()));
    WriteAttribute(out, QLatin1StringView("size"), QString::number(text.GetFontSize()));
    WriteAttribute(out, QLatin1StringView("charset"), QString::number(text.GetCharset()));
    WriteAttribute(out, QLatin1StringView("bold"), QString::number(text.GetBold()));
    WriteAttribute(out, QLatin1StringView("italic"), QString::number(text.GetItalic()));
    WriteAttribute(out, QLatin1StringView("underline"), QString::number(text.GetUnderline()));
    WriteAttribute(out, QLatin1StringView("strikeout"), QString::number(text.GetStrikeout()));
    out += QLatin1StringView("/>");
    out += crlf;
}

// Properties added to the format after its first version: each a child element written after
// the item's other children, and only when it differs from its default, so that a report that
// uses none of them is written exactly as before and older readers skip them.
void WriteExtensionLines(LineWriter &w, const CVornText &text)
{
    if (text.GetCanGrow() != 0)
        w.Int(QLatin1StringView("can_grow"), text.GetCanGrow());
    if (const auto *dbText = dynamic_cast<const CVornDbText *>(&text)) {
        if (dbText->GetAggregate() != CVornDbText::NoAggregate)
            w.Int(QLatin1StringView("aggregate"), dbText->GetAggregate());
        if (dbText->GetAggregateOver() != CVornDbText::OverBand)
            w.Int(QLatin1StringView("aggregate_over"), dbText->GetAggregateOver());
        if (!dbText->GetExpression().isEmpty())
            w.Text(QLatin1StringView("expression"), dbText->GetExpression());
        if (!dbText->GetDisplayFormat().isEmpty())
            w.Text(QLatin1StringView("display_format"), dbText->GetDisplayFormat());
    }
}

void WriteExtensionLines(LineWriter &w, const CVornBarcode &barcode)
{
    if (barcode.GetSymbology() != CVornBarcode::DefaultSymbology)
        w.Int(QLatin1StringView("symbology"), barcode.GetSymbology());
    if (barcode.GetEccLevel() != CVornBarcode::DefaultEccLevel)
        w.Int(QLatin1StringView("ecc_level"), barcode.GetEccLevel());
    if (barcode.GetShowText() != CVornBarcode::DefaultShowText)
        w.Int(QLatin1StringView("show_text"), barcode.GetShowText());
}

// The extensions every item kind has, after the kind's own elements: its condition and its
// style rules, each rule one element whose children are the properties it sets.
void WriteItemExtensionLines(LineWriter &w, const CVornItem &item)
{
    if (!item.GetPrintWhen().isEmpty())
        w.Text(QLatin1StringView("print_when"), item.GetPrintWhen());
    for (const CStyleRule &rule : item.GetStyleRules()) {
        w.Line(QLatin1StringView("  <style_rule>"));
        w.Out() += QLatin1StringView("  ");
        w.Text(QLatin1StringView("when"), rule.when);
        const auto inner = [&w](auto write) {
            w.Out() += QLatin1StringView("  ");
            write();
        };
        if (rule.color)
            inner([&] { w.Color(QLatin1StringView("color"), *rule.color); });
        if (rule.bkColor)
            inner([&] { w.Color(QLatin1StringView("bk_color"), *rule.bkColor); });
        if (rule.bold)
            inner([&] { w.Int(QLatin1StringView("bold"), *rule.bold); });
        if (rule.italic)
            inner([&] { w.Int(QLatin1StringView("italic"), *rule.italic); });
        w.Line(QLatin1StringView("  </style_rule>"));
    }
}

void WriteItem(LineWriter &w, const CVornItem &item)
{
    w.ElementStart(item);
    w.Color(QLatin1StringView("color"), item.GetColor());
    w.Int(QLatin1StringView("left"), item.GetLeft());
    w.Int(QLatin1StringView("top"), item.GetTop());
    w.Int(QLatin1StringView("right"), item.GetRight());
    w.Int(QLatin1StringView("bottom"), item.GetBottom());

    switch (item.GetKind()) {
    case VornKind::Text:
        WriteTextLines(w, static_cast<const CVornText &>(item));
        WriteExtensionLines(w, static_cast<const CVornText &>(item));
        break;
    case VornKind::DbText: {
        const auto &text = static_cast<const CVornDbText &>(item);
        WriteTextLines(w, text);
        w.Text(QLatin1StringView("format"), text.GetFormat());
        w.Text(QLatin1StringView("data-source"), text.GetDataSource());
        w.Text(QLatin1StringView("data-field"), text.GetDataField());
        w.Text(QLatin1StringView("query"), text.GetQuery());
        WriteExtensionLines(w, text);
        break;
    }
    case VornKind::Shape: {
        const auto &shape = static_cast<const CVornShape &>(item);
        w.Color(QLatin1StringView("bk_color"), shape.GetBkColor());
        w.Int(QLatin1StringView("line_style"), shape.GetLineStyle());
        w.Int(QLatin1StringView("line_width"), shape.GetLineWidth());
        w.Int(QLatin1StringView("shape_type"), shape.GetShapeType());
        break;
    }
    case VornKind::Image: {
        const auto &image = static_cast<const CVornImage &>(item);
        QString &out = w.Out();
        out += QLatin1StringView("  <image>");
        const QByteArray encoded = Base64Encode(image.GetImageData());
        out += QLatin1StringView(encoded);
        out += QLatin1StringView("</image>");
        out += crlf;
        w.Int(QLatin1StringView("horz_alignment"), image.GetHorzAlignment());
        w.Int(QLatin1StringView("vert_alignment"), image.GetVertAlignment());
        break;
    }
    case VornKind::DbImage: {
        // The picture of a database image comes from the database, never the file.
        const auto &image = static_cast<const CVornDbImage &>(item);
        w.Int(QLatin1StringView("horz_alignment"), image.GetHorzAlignment());
        w.Int(QLatin1StringView("vert_alignment"), image.GetVertAlignment());
        w.Text(QLatin1StringView("data-field"), image.GetDataField());
        w.Text(QLatin1StringView("data-source"), image.GetDataSource());
        break;
    }
    case VornKind::Barcode:
        w.Text(QLatin1StringView("barcode"), static_cast<const CVornBarcode &>(item).GetBarcode());
        WriteExtensionLines(w, static_cast<const CVornBarcode &>(item));
        break;
    case VornKind::DbBarcode: {
        const auto &barcode = static_cast<const CVornDbBarcode &>(item);
        w.Text(QLatin1StringView("data-field"), barcode.GetDataField());
        w.Text(QLatin1StringView("data-source"), barcode.GetDataSource());
        WriteExtensionLines(w, barcode);
        break;
    }
    default:
        break;
    }
    WriteItemExtensionLines(w, item);
    w.Line(QLatin1StringView("</element>"));
}

void WriteBand(LineWriter &w, const CVornBand &band)
{
    w.ElementStart(band);
    w.Text(QLatin1StringView("header"), band.GetHeader());
    w.Text(QLatin1StringView("footer"), band.GetFooter());
    w.Int(QLatin1StringView("height"), band.GetEffectiveHeight());
    w.Text(QLatin1StringView("database-query"), band.GetDatabaseQuery());
    w.Text(QLatin1StringView("parent-data-source"), band.GetParentDataSource());
    w.Int(QLatin1StringView("print-on-first-page"), band.GetPrintOnFirstPage());
    for (const CVornItem *item : band.GetItems())
        WriteItem(w, *item);
    if (!band.GetPrintWhen().isEmpty())
        w.Text(QLatin1StringView("print_when"), band.GetPrintWhen());
    // Extensions, after the items and only where they differ from their defaults.
    const CBandPaging &paging = band.GetPaging();
    const CBandPaging defaults;
    const std::pair<QLatin1StringView, int CBandPaging::*> fields[] = {
            {QLatin1StringView("new_page"), &CBandPaging::newPage},
            {QLatin1StringView("reset_page_number"), &CBandPaging::resetPageNumber},
            {QLatin1StringView("keep_with_next"), &CBandPaging::keepWithNext},
            {QLatin1StringView("repeat_header"), &CBandPaging::repeatHeader},
            {QLatin1StringView("keep_together"), &CBandPaging::keepTogether},
            {QLatin1StringView("columns"), &CBandPaging::columns},
            {QLatin1StringView("column_gap"), &CBandPaging::columnGap},
            {QLatin1StringView("column_order"), &CBandPaging::columnOrder},
            {QLatin1StringView("column_width"), &CBandPaging::columnWidth},
            {QLatin1StringView("column_left"), &CBandPaging::columnLeft},
            {QLatin1StringView("skip_labels"), &CBandPaging::skipLabels},
    };
    for (const auto &[tag, field] : fields) {
        if (paging.*field != defaults.*field)
            w.Int(tag, paging.*field);
    }
    w.Line(QLatin1StringView("</element>"));
}

qsizetype EstimateSize(const CVornReport &report)
{
    qsizetype size = 512;
    for (const CVornBand *band : report.GetBands()) {
        size += 256 + band->GetDatabaseQuery().size();
        for (const CVornItem *item : band->GetItems()) {
            size += 400;
            if (item->GetKind() == VornKind::Image)
                size += static_cast<const CVornImage *>(item)->GetImageData().size() * 4 / 3 + 4;
        }
    }
    return size;
}

} // namespace

namespace VornTemplate {

void WriteXml(const CVornElement &element, QString &out)
{
    LineWriter w(out);
    if (IsBand(element.GetKind()))
        WriteBand(w, static_cast<const CVornBand &>(element));
    else if (IsItemKind(element.GetKind()))
        WriteItem(w, static_cast<const CVornItem &>(element));
}

QString WriteReportXml(const CVornReport &report)
{
    QString out;
    out.reserve(EstimateSize(report));
    LineWriter w(out);
    w.Line(QLatin1StringView("<?xml version=\"1.0\" encoding=\"UTF-16\"?>"));
    out += QLatin1StringView("<report version=\"1\"");
    WriteAttribute(out, QLatin1StringView("width"), QString::number(report.GetWidth()));
    WriteAttribute(out, QLatin1StringView("height"), QString::number(report.GetHeight()));
    WriteAttribute(out, QLatin1StringView("title"), EscapeXmlAttribute(report.GetTitle()));
    WriteAttribute(out, QLatin1StringView("database-type"),
                   QString::number(report.GetDatabaseType()));
    WriteAttribute(out, QLatin1StringView("portrait"),
                   QString::number(report.GetPortrait() != 0 ? 1 : 0));
    WriteAttribute(out, QLatin1StringView("database-connect-string"),
                   EscapeXmlAttribute(report.GetConnectString()));
    out += u'>';
    out += crlf;
    if (!report.GetLocale().isEmpty())
        w.Text(QLatin1StringView("locale"), report.GetLocale());

    const CVornParameters &parameters = report.GetParameters();
    if (!parameters.IsEmpty()) {
        w.Line(QLatin1StringView(""));
        w.Line(QLatin1StringView("<parameters>"));
        // A parameter without a value is not stored: the Run command asks for it.
        for (const CVornParameter *parameter : parameters) {
            if (parameter->GetValue().isEmpty())
                continue;
            out += QLatin1StringView("\t<parameter");
            WriteAttribute(out, QLatin1StringView("band"),
                           EscapeXmlAttribute(parameter->GetBand()));
            WriteAttribute(out, QLatin1StringView("name"),
                           EscapeXmlAttribute(parameter->GetName()));
            WriteAttribute(out, QLatin1StringView("value"),
                           EscapeXmlAttribute(parameter->GetValue()));
            out += QLatin1StringView("/>");
            out += crlf;
        }
        w.Line(QLatin1StringView("</parameters>"));
    }

    for (const CVornBand *band : report.GetBands()) {
        w.Line(QLatin1StringView(""));
        WriteBand(w, *band);
    }
    w.Line(QLatin1StringView(""));
    out += QLatin1StringView("</report>");
    return out;
}

bool Save(const CVornReport &report, const QString &path, QString &message)
{
    return WriteTextFile(path, WriteReportXml(report), &message);
}

} // namespace VornTemplate
