#include "reportfile.h"

#include "base64.h"
#include "itemelement.h"
#include "vornitem.h"
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

// The style rules: each rule one element whose children are the properties it sets.
void WriteStyleRules(LineWriter &w, QLatin1StringView tag, const CStyleRules &rules)
{
    for (const CStyleRule &rule : rules) {
        w.Out() += QLatin1StringView("  <");
        w.Out() += tag;
        w.Line(QLatin1StringView(">"));
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
        w.Out() += QLatin1StringView("  </");
        w.Out() += tag;
        w.Line(QLatin1StringView(">"));
    }
}

// The series of a chart: each one element with its name, its value and, when it has one of its
// own, its colour.
void WriteChartSeries(LineWriter &w, QLatin1StringView tag, const CChartSeriesSettings &series)
{
    for (const CChartSeriesSetting &one : series) {
        w.Out() += QLatin1StringView("  <");
        w.Out() += tag;
        w.Line(QLatin1StringView(">"));
        w.Out() += QLatin1StringView("  ");
        w.Text(QLatin1StringView("name"), one.name);
        w.Out() += QLatin1StringView("  ");
        w.Text(QLatin1StringView("value"), one.value);
        if (one.color) {
            w.Out() += QLatin1StringView("  ");
            w.Color(QLatin1StringView("color"), *one.color);
        }
        w.Out() += QLatin1StringView("  </");
        w.Out() += tag;
        w.Line(QLatin1StringView(">"));
    }
}

// A field written as the text of its element.
struct WriteElementField
{
    LineWriter &w;
    QLatin1StringView tag;

    void operator()(const int *field) const { w.Int(tag, *field); }
    void operator()(const quint32 *field) const { w.Color(tag, *field); }
    void operator()(const QString *field) const { w.Text(tag, *field); }
    void operator()(const QByteArray *field) const
    {
        // Picture bytes in Base64, which needs no escaping.
        QString &out = w.Out();
        out += QLatin1StringView("  <");
        out += tag;
        out += u'>';
        out += QLatin1StringView(Base64Encode(*field));
        out += QLatin1StringView("</");
        out += tag;
        out += u'>';
        out += crlf;
    }
    void operator()(const CStyleRules *field) const { WriteStyleRules(w, tag, *field); }
    void operator()(const CChartSeriesSettings *field) const { WriteChartSeries(w, tag, *field); }
};

// A field written as an attribute of its element.
struct AttributeText
{
    QString operator()(const int *field) const { return QString::number(*field); }
    QString operator()(const quint32 *field) const { return QString::number(*field); }
    QString operator()(const QString *field) const { return EscapeXmlAttribute(*field); }
    QString operator()(const QByteArray *field) const
    {
        return QString::fromLatin1(Base64Encode(*field));
    }
    QString operator()(const CStyleRules *) const { return QString(); }
    QString operator()(const CChartSeriesSettings *) const { return QString(); }
};

bool IsDefault(const FieldRef &field, const FieldRef &fresh)
{
    return std::visit(
            [](const auto *value, const auto *defaultValue) {
                if constexpr (std::is_same_v<decltype(value), decltype(defaultValue)>)
                    return *value == *defaultValue;
                else
                    return false;
            },
            field, fresh);
}

// The item's element with the fields of its kind's list in their order. A field added to the
// format later is written only when it differs from a new item's, so that a report that uses
// none of them is written exactly as before and older readers skip them.
void WriteItem(LineWriter &w, const CVornItem &item)
{
    w.ElementStart(item);
    if (const CItemElement *element = ItemElementOf(item.GetKind())) {
        CFieldAddresses fields;
        CollectFields(item, fields);
        for (const CItemElement::Child &child : element->children) {
            if (child.saved == CFieldVisitor::Saved::No)
                continue;
            if (child.saved == CFieldVisitor::Saved::IfNotDefault
                && IsDefault(fields[child.field], element->defaults[child.field]))
                continue;
            if (child.attributes.empty()) {
                std::visit(WriteElementField {w, child.name}, fields[child.field]);
                continue;
            }
            QString &out = w.Out();
            out += QLatin1StringView("  <");
            out += child.name;
            for (const CItemElement::Attribute &attribute : child.attributes)
                WriteAttribute(out, attribute.name,
                               std::visit(AttributeText(), fields[attribute.field]));
            out += QLatin1StringView("/>");
            out += crlf;
        }
    }
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
            const CItemElement *element = ItemElementOf(item->GetKind());
            if (!element || !element->holdsBytes)
                continue;
            for (const FieldRef &field : ItemFields(*item)) {
                if (const auto *bytes = std::get_if<QByteArray *>(&field))
                    size += (*bytes)->size() * 4 / 3 + 4;
            }
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
