#include "propertypage.h"

#include "barcoderows.h"
#include "colorref.h"
#include "displayformat.h"
#include "stylerulestext.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QCoreApplication>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

QString T(const char *text)
{
    return QCoreApplication::translate("Vantel", text);
}

CPropertyRow Row(const char *name, const QString &value, PropertyRowKind kind,
                 const char *description = nullptr)
{
    CPropertyRow row;
    row.name = T(name);
    row.value = value;
    row.kind = kind;
    if (description)
        row.description = T(description);
    return row;
}

CPropertyRow OptionRow(const char *name, const QString &value, const QStringList &options,
                       const char *description)
{
    CPropertyRow row = Row(name, value, PropertyRowKind::Option, description);
    // A choice already in the list (exact comparison) is not offered twice.
    for (const QString &option : options) {
        if (!row.options.contains(option))
            row.options.append(option);
    }
    return row;
}

CPropertyRow IntegerRow(const char *name, int stored, const char *description)
{
    return Row(name, MillimetreText(stored), PropertyRowKind::Integer, description);
}

CPropertyRow GroupRow(const char *name, const QList<CPropertyRow> &subRows)
{
    CPropertyRow row = Row(name, GroupValue(subRows), PropertyRowKind::Group);
    row.subRows = subRows;
    return row;
}

CPropertyRow ColorRow(const char *name, quint32 color, const char *description)
{
    CPropertyRow row = Row(name, ColorText(color), PropertyRowKind::Color, description);
    row.color = color;
    return row;
}

CPropertyRow SqlRow(const QString &sql, const char *description)
{
    CPropertyRow row = Row("SQL Query", SqlOneLine(sql), PropertyRowKind::Sql, description);
    row.sqlText = sql;
    return row;
}

QString TrueFalse(int flag)
{
    return flag ? T("True") : T("False");
}

CPropertyRow ExpressionRow(const char *name, const QString &text, bool condition,
                           const char *description)
{
    CPropertyRow row = Row(name, ExpressionOneLine(text), PropertyRowKind::Expression, description);
    row.sqlText = text;
    row.condition = condition;
    return row;
}

CPropertyRow PrintWhenRow(const QString &text)
{
    return ExpressionRow("Print When", text, true,
                         "A condition: the object prints only where it is true (empty: always). "
                         "A band that does not print takes no space; an item leaves its space "
                         "empty");
}

CPropertyRow StylesRow(const CVornItem &item)
{
    CPropertyRow row
            = Row("Styles", StyleRulesSummary(item.GetStyleRules()), PropertyRowKind::Styles,
                  "Up to 8 rules: the first whose condition is true sets the colour, "
                  "background, bold and italic of that printing");
    row.styleRules = item.GetStyleRules();
    return row;
}

// The rows every item kind ends with.
QList<CPropertyRow> ConditionRows(const CVornItem &item)
{
    return {PrintWhenRow(item.GetPrintWhen()), StylesRow(item)};
}

CPropertyRow CanGrowRow(const CVornText &item)
{
    return OptionRow("Can Grow", item.GetCanGrow() ? T("Yes") : T("No"), {T("Yes"), T("No")},
                     "Yes: a word-wrapped text is printed as tall as its lines need (never shorter "
                     "than its box), and the items below it and its band move down with it");
}

// The names of the codes first to last, for an option list.
QStringList CodeNames(QString (*name)(int), int count)
{
    QStringList names;
    for (int code = 0; code < count; ++code)
        names.append(name(code));
    return names;
}

QString YesNo(int flag)
{
    return flag ? T("Yes") : T("No");
}

// How a body band meets the pages; Report Contents bands also go in columns.
QList<CPropertyRow> PagingRows(const CVornBand &band)
{
    const CBandPaging &paging = band.GetPaging();
    const QStringList yesNo {T("Yes"), T("No")};
    QList<CPropertyRow> rows;
    if (band.GetKind() == VornKind::ReportContents) {
        rows.append(OptionRow("Start New Page", NewPageName(paging.newPage),
                              CodeNames(NewPageName, 3),
                              "Before: the band starts a new page; After: the page ends after "
                              "the band and its details. Never an empty page"));
        rows.append(OptionRow("Reset Page Number", YesNo(paging.resetPageNumber), yesNo,
                              "Yes: each time the band prints it starts a new page whose number "
                              "is 1, and the page count counts the pages up to the next such "
                              "band (an invoice run: Page 1 of 2 on every invoice)"));
    }
    rows.append(OptionRow("Keep With Next", YesNo(paging.keepWithNext), yesNo,
                          "Yes: the band moves to the next page when the band printed after it "
                          "does not fit below it, so that a group header never ends a page"));
    if (band.GetKind() == VornKind::ReportContents)
        rows.append(OptionRow("Repeat Header", YesNo(paging.repeatHeader), yesNo,
                              "For a group header band: Yes prints it again at the top of each "
                              "page its group goes on to"));
    rows.append(OptionRow("Keep Together", YesNo(paging.keepTogether), yesNo,
                          "Yes: the band with its details (a group header: its whole group) "
                          "moves to a new page rather than break, when it fits on one"));
    if (band.GetKind() != VornKind::ReportContents)
        return rows;
    rows.append(GroupRow(
            "Column Layout",
            {Row("Columns", QString::number(paging.columns), PropertyRowKind::Integer,
                 "The band's rows print side by side in this many columns; the band is "
                 "designed in the first"),
             IntegerRow("Column Gap", paging.columnGap,
                        "The space between two columns in millimetres"),
             OptionRow("Column Order", ColumnOrderName(paging.columnOrder),
                       CodeNames(ColumnOrderName, 2),
                       "The order in which the rows fill the columns"),
             IntegerRow("Column Width", paging.columnWidth,
                        "The width of one column in millimetres; 0 shares the page's width out"),
             IntegerRow("First Column Left", paging.columnLeft,
                        "Where the first column starts, in millimetres from the page's left "
                        "edge, when the column width is set"),
             Row("Skip Labels", QString::number(paging.skipLabels), PropertyRowKind::Integer,
                 "The number of column places (labels of a used sheet) left empty before the "
                 "first row")}));
    return rows;
}

// The empty text, then the band names the filter lets through, in report order.
template<typename Filter>
QStringList BandNames(const CVornReport &report, Filter filter)
{
    QStringList names {QString()};
    for (const CVornBand *band : report.GetBands()) {
        if (filter(band))
            names.append(band->GetName());
    }
    return names;
}

QList<CPropertyRow> ReportPage(const CVornReport &report, const QString &fileName,
                               const QString &documentPath)
{
    QString databaseType;
    switch (report.GetDatabaseType()) {
    case 0:
        databaseType = T("SQLite");
        break;
    case 1:
        databaseType = T("FireBird");
        break;
    case 2:
        databaseType = T("ODBC");
        break;
    default:
        databaseType = T("None");
        break;
    }
    return {
            Row("(Object)", T("Entire Report"), PropertyRowKind::ReadOnly,
                "This option shows you the type of the object (at the moment - the entire report) "
                "you've selected"),
            Row("(File Name)", fileName.isEmpty() ? documentPath : fileName,
                PropertyRowKind::ReadOnly, "The currently selected report disk file name"),
            Row("Title", report.GetTitle(), PropertyRowKind::Text,
                "The currently selected report title that will display in the Print Preview "
                "window"),
            OptionRow("Page Orientation", report.GetPortrait() ? T("Portrait") : T("Landscape"),
                      {T("Portrait"), T("Landscape")},
                      "Page orientation: vertically (portrait) or horizontally (landscape)"),
            GroupRow("Page Size",
                     {IntegerRow("Height", report.GetHeight(),
                                 "The report page height in millimetres"),
                      IntegerRow("Width", report.GetWidth(),
                                 "The report page width in millimetres")}),
            // "FireBird" may be shown but is not offered.
            OptionRow("Database Type", databaseType, {T("None"), T("SQLite"), T("ODBC")},
                      "Please select \"None\" if the report will receive data from a callback "
                      "function, or select a database type from the list"),
            Row("Database Connection String", report.GetConnectString(), PropertyRowKind::Text,
                "Database connection string: full path name for SQLite databases, "
                "login:password@alias for FireBird (the login ends at the first colon and the "
                "alias starts after the last @, so the password may hold both), the driver "
                "manager's connection string for ODBC. Right-click for Test Connection"),
            [&report] {
                CPropertyRow row = Row("Locale", report.GetLocale(), PropertyRowKind::Suggest,
                                       "The separators and month names of Display Formats, such "
                                       "as de_DE; empty: the C conventions (1,234.50, March)");
                row.options = LocaleChoices();
                return row;
            }(),
    };
}

QList<CPropertyRow> BandPage(const CVornReport &report, const CVornBand &band)
{
    const int kind = band.GetKind();
    // The lists leave out every band named like the shown one, the band itself included.
    const auto other = [&band](const CVornBand *b) {
        return !SameName(b->GetName(), band.GetName());
    };
    const auto otherContents = [&other](const CVornBand *b) {
        return b->GetKind() == VornKind::ReportContents && other(b);
    };

    QList<CPropertyRow> rows {
            Row("(Object)", band.BandKindName(), PropertyRowKind::ReadOnly,
                "You have selected a report band that is used to carry data on it"),
            Row("Name", band.GetName(), PropertyRowKind::Text,
                "Report band name. Used when printing the report"),
            IntegerRow("Band Height", kind == VornKind::PageBreak ? 0 : band.GetHeight(),
                       "Band height in millimetres"),
            SqlRow(band.GetDatabaseQuery(), "SQL query used to retrieve data from the database"),
            OptionRow("Parent Data Source", band.GetParentDataSource(), BandNames(report, other),
                      "For database reports: the band that contains an SQL query used to supply "
                      "parameters for this band's query"),
    };
    // Only Report Contents bands take group bands; another band that names one shows the
    // row all the same, so that the name can be cleared.
    const bool contents = kind == VornKind::ReportContents;
    const QStringList groupBands = BandNames(report, otherContents);
    if (contents || !band.GetHeader().isEmpty())
        rows.append(OptionRow("Group Header", band.GetHeader(), groupBands,
                              "The name of the report band which acts as a group header band "
                              "for this band"));
    if (contents || !band.GetFooter().isEmpty())
        rows.append(OptionRow("Group Footer", band.GetFooter(), groupBands,
                              "If this band acts as a group header, please specify group footer "
                              "band here"));
    if (kind == VornKind::PageHeader) {
        rows.append(OptionRow("Print On First Page", TrueFalse(band.GetPrintOnFirstPage()),
                              {T("True"), T("False")},
                              "Controls if this band will be printed on the very first report "
                              "page"));
    }
    if (kind != VornKind::PageBreak)
        rows.append(PrintWhenRow(band.GetPrintWhen()));
    if (kind == VornKind::ReportContents || kind == VornKind::ReportHeader
        || kind == VornKind::ReportFooter)
        rows.append(PagingRows(band));
    return rows;
}

CPropertyRow NameRow(const CVornItem &item)
{
    return Row("Name", item.GetName(), PropertyRowKind::Text);
}

CPropertyRow PositionRow(const CVornItem &item)
{
    return GroupRow(
            "Position",
            {IntegerRow("Left", item.GetLeft(),
                        "Specifies the X coordinate or the upper-left corner of the text bounding "
                        "rectangle (mm)"),
             IntegerRow("Top", item.GetTop(),
                        "Specifies the Y coordinate or the upper-left corner of the text bounding "
                        "rectangle (mm)"),
             IntegerRow("Right", item.GetRight(),
                        "Specifies the X coordinate or the bottom-right corner of the text "
                        "bounding rectangle (mm)"),
             IntegerRow("Bottom", item.GetBottom(),
                        "Specifies the Y coordinate or the bottom-right corner of the text "
                        "bounding rectangle (mm)")});
}

QList<CPropertyRow> CommonTextRows(const CVornText &item, int dpiY)
{
    CPropertyRow font;
    font.name = T("Font");
    font.kind = PropertyRowKind::Font;
    font.description = T("Specifies the text font");
    font.font = ItemFont(item, dpiY);
    font.color = item.GetColor();
    font.value = FontDisplayText(font.font, dpiY);

    return {
            NameRow(item),
            PositionRow(item),
            font,
            ColorRow("Text Color", item.GetColor(), "Specifies the text color"),
            OptionRow("Horizontal Alignment", HorzAlignmentName(item.GetHorzAlignment(), false),
                      {T("Left"), T("Center"), T("Right")},
                      "Specifies how the text will be aligned horizontally"),
            OptionRow("Vertical Alignment", VertAlignmentName(item.GetVertAlignment(), false),
                      {T("Top"), T("Center"), T("Bottom")},
                      "Specifies how the text will be aligned vertically"),
            OptionRow("Word Wrap", TrueFalse(item.GetWordWrap()), {T("True"), T("False")},
                      "Breaks words. Lines are automatically broken between words if a word would "
                      "extend past the edge of the text rectangle"),
    };
}

QList<CPropertyRow> TextPage(const CVornText &item, int dpiY)
{
    QList<CPropertyRow> rows {Row("(Object)", T("Text Label"), PropertyRowKind::ReadOnly,
                                  "You have selected a text field")};
    rows += CommonTextRows(item, dpiY);
    rows.append(Row("Text", item.GetText(), PropertyRowKind::Text,
                    "The text that will be written in this place when the report will print"));
    rows.append(CanGrowRow(item));
    rows += ConditionRows(item);
    return rows;
}

QStringList AllBandNames(const CVornReport &report)
{
    return BandNames(report, [](const CVornBand *) { return true; });
}

QList<CPropertyRow> DbTextPage(const CVornReport &report, const CVornDbText &item, int dpiY)
{
    QList<CPropertyRow> rows {Row("(Object)", T("DB Text Label"), PropertyRowKind::ReadOnly,
                                  "You have selected a database field")};
    rows += CommonTextRows(item, dpiY);
    rows += {
            OptionRow(
                    "Data Source", item.GetDataSource(), AllBandNames(report),
                    "The name of the band containing the SQL query this DB text label will display "
                    "the data from"),
            SqlRow(item.GetQuery(),
                   "SQL query used to receive this field data from the database for the case that "
                   "you wish to receive it in a separate query rather than retrieve it from the "
                   "query attached to the corresponding band"),
            Row("Data Field", item.GetDataField(), PropertyRowKind::Text,
                "The name of the database field to display in this position"),
            Row("Data Format", item.GetFormat(), PropertyRowKind::Text,
                "Data format in C/C++ rules, e.g. %s, %d, etc."),
            CanGrowRow(item),
            OptionRow("Aggregate", AggregateName(item.GetAggregate()), CodeNames(AggregateName, 6),
                      "Prints, instead of the field's current value, its sum, count (of the rows "
                      "where it is not NULL, or of all rows when no field is named), average, "
                      "minimum or maximum over the rows of the data source band"),
            OptionRow("Aggregate Over", AggregateOverName(item.GetAggregateOver()),
                      CodeNames(AggregateOverName, 3),
                      "The rows the aggregate takes: Band, those printed since this item's band "
                      "last printed; Page, those on the current page; Report, all printed so far"),
            ExpressionRow("Expression", item.GetExpression(), false,
                          "Computes what the item prints instead of its field, e.g. "
                          "[QUANTITY] * [PRICE]; the Display Format or Data Format writes it"),
            [&item, &report] {
                CPropertyRow row
                        = Row("Display Format", item.GetDisplayFormat(), PropertyRowKind::Suggest);
                row.options = DisplayFormatPatterns();
                row.description = T("A date or number pattern that writes the value, in the "
                                    "report's Locale; it wins over the Data Format");
                if (!item.GetDisplayFormat().isEmpty())
                    row.description += u"\n"_s
                            + T("Sample: %1")
                                      .arg(DisplayFormatSample(item.GetDisplayFormat(),
                                                               report.GetLocale()));
                return row;
            }(),
    };
    rows += ConditionRows(item);
    return rows;
}

QList<CPropertyRow> ShapePage(const CVornShape &item)
{
    return {
            Row("(Object)", T("Shape"), PropertyRowKind::ReadOnly),
            OptionRow("Shape Type", ShapeTypeName(item.GetShapeType()),
                      {T("Rectangle"), T("Rounded Rectangle"), T("Vertical Line"),
                       T("Horizontal Line"), T("Ellipse")},
                      "One of: Rectangle, Rounded Rectangle, Vertical Line, Horizontal Line, "
                      "Ellipse"),
            NameRow(item),
            PositionRow(item),
            ColorRow("Color", item.GetColor(), "Specifies the shape color"),
            ColorRow("Background Color", item.GetBkColor(), "Specifies the shape background color"),
            OptionRow("Line Style", LineStyleName(item.GetLineStyle()), {T("Solid"), T("Dotted")},
                      "Please select one pen style from the list"),
            PrintWhenRow(item.GetPrintWhen()),
            StylesRow(item),
    };
}

// The first five rows of the Image and DB Image pages.
QList<CPropertyRow> ImageRows(const CVornImage &item)
{
    return {
            Row("(Object)", T("Image"), PropertyRowKind::ReadOnly, "You have selected an image"),
            NameRow(item),
            PositionRow(item),
            OptionRow("Horizontal Alignment", HorzAlignmentName(item.GetHorzAlignment(), true),
                      {T("Left"), T("Center"), T("Right"), T("Stretch")},
                      "Specifies how the text will be aligned horizontally"),
            OptionRow("Vertical Alignment", VertAlignmentName(item.GetVertAlignment(), true),
                      {T("Top"), T("Center"), T("Bottom"), T("Stretch")},
                      "Specifies how the text will be aligned vertically"),
    };
}

QList<CPropertyRow> ImagePage(const CVornImage &item)
{
    QList<CPropertyRow> rows = ImageRows(item);
    // The model keeps the picture's bytes, not the name of the file they came from.
    rows.append(Row("Image File", QString(), PropertyRowKind::File,
                    "Please choose the image file that will be printed in the report"));
    rows.append(PrintWhenRow(item.GetPrintWhen()));
    return rows;
}

QList<CPropertyRow> DbImagePage(const CVornReport &report, const CVornDbImage &item)
{
    QList<CPropertyRow> rows = ImageRows(item);
    rows += {
            OptionRow(
                    "Data Source", item.GetDataSource(), AllBandNames(report),
                    "The name of the band containing the SQL query this DB text label will display "
                    "the data from"),
            Row("Data Field", item.GetDataField(), PropertyRowKind::Text,
                "The name of the database field to display in this position"),
            PrintWhenRow(item.GetPrintWhen()),
    };
    return rows;
}

QList<CPropertyRow> BarcodePage(const CVornBarcode &item)
{
    return QList<CPropertyRow> {
                   Row("(Object)", T("Barcode"), PropertyRowKind::ReadOnly,
                       "You have selected a barcode field"),
                   NameRow(item),
                   PositionRow(item),
                   Row("Barcode", item.GetBarcode(), PropertyRowKind::Text,
                       "The barcode that will be displayed in this place when the report will "
                       "print"),
           }
    + BarcodeOptionRows(item) + QList<CPropertyRow> {PrintWhenRow(item.GetPrintWhen())};
}

QList<CPropertyRow> DbBarcodePage(const CVornReport &report, const CVornDbBarcode &item)
{
    const QList<CPropertyRow> rows {
            Row("(Object)", T("DB Barcode"), PropertyRowKind::ReadOnly,
                "You have selected a database barcode field"),
            NameRow(item),
            PositionRow(item),
            OptionRow("Data Source", item.GetDataSource(), AllBandNames(report),
                      "The name of the band containing the SQL query this DB barcode label will "
                      "display the data from"),
            Row("Data Field", item.GetDataField(), PropertyRowKind::Text,
                "The name of the database field to display barcode in this position"),
    };
    return rows + BarcodeOptionRows(item) + QList<CPropertyRow> {PrintWhenRow(item.GetPrintWhen())};
}

// The page of an object whose class matches its kind; nothing otherwise.
template<typename Item, typename Build>
std::optional<QList<CPropertyRow>> ItemPage(const CVornElement *current, Build build)
{
    const auto *item = dynamic_cast<const Item *>(current);
    if (!item)
        return std::nullopt;
    return build(*item);
}

} // namespace

std::optional<QList<CPropertyRow>> BuildPage(const CVornReport &report, const CVornElement *current,
                                             const QString &fileName, const QString &documentPath,
                                             int screenDpiY)
{
    if (!current)
        return ReportPage(report, fileName, documentPath);

    const int kind = current->GetKind();
    if (IsBand(kind))
        return ItemPage<CVornBand>(
                current, [&report](const CVornBand &band) { return BandPage(report, band); });
    switch (kind) {
    case VornKind::Text:
        return ItemPage<CVornText>(current, [screenDpiY](const CVornText &item) {
            return TextPage(item, screenDpiY);
        });
    case VornKind::DbText:
        return ItemPage<CVornDbText>(current, [&report, screenDpiY](const CVornDbText &item) {
            return DbTextPage(report, item, screenDpiY);
        });
    case VornKind::Shape:
        return ItemPage<CVornShape>(current, ShapePage);
    case VornKind::Image:
        return ItemPage<CVornImage>(current, ImagePage);
    case VornKind::DbImage:
        return ItemPage<CVornDbImage>(
                current, [&report](const CVornDbImage &item) { return DbImagePage(report, item); });
    case VornKind::Barcode:
        return ItemPage<CVornBarcode>(current, BarcodePage);
    case VornKind::DbBarcode:
        return ItemPage<CVornDbBarcode>(current, [&report](const CVornDbBarcode &item) {
            return DbBarcodePage(report, item);
        });
    default:
        return std::nullopt;
    }
}

QString MainPropertyName(const CVornElement *current)
{
    if (!current)
        return T("Title");
    switch (current->GetKind()) {
    case VornKind::Text:
        return T("Text");
    case VornKind::DbText:
        return T("Data Field");
    default:
        return T("Name");
    }
}

QString SqlOneLine(const QString &sql)
{
    QString line;
    line.reserve(sql.size());
    for (qsizetype i = 0; i < sql.size(); ++i) {
        QChar c = sql.at(i);
        if (c == u'\r' && i + 1 < sql.size() && sql.at(i + 1) == u'\n')
            ++i;
        if (c == u'\t' || c == u'\r' || c == u'\n')
            c = u' ';
        // Runs of blanks are squeezed to one as they are written.
        if (c == u' ' && !line.isEmpty() && line.back() == u' ')
            continue;
        line.append(c);
    }
    return line;
}

QString ExpressionOneLine(const QString &text)
{
    return SqlOneLine(text);
}

QStringList DisplayFormatPatterns()
{
    return {QString(),        u"#,##0.00"_s,   u"0.00"_s,       u"#,##0"_s,
            u"0%"_s,          u"0.000"_s,      u"yyyy-MM-dd"_s, u"dd.MM.yyyy"_s,
            u"d MMMM yyyy"_s, u"MM/dd/yyyy"_s, u"HH:mm"_s,      u"dd.MM.yyyy HH:mm"_s};
}

QString DisplayFormatSample(const QString &pattern, const QString &locale)
{
    CDisplayFormat format;
    QString problem;
    if (!CDisplayFormat::Parse(pattern, format, problem))
        return problem;
    CExactDecimal number;
    CExactDecimal::FromText(u"1234.5", number);
    const CExprValue sample = format.GetKind() == CDisplayFormat::Kind::Number
            ? CExprValue(number)
            : CExprValue(QDateTime(QDate(2026, 3, 14), QTime(14, 30)));
    QString text;
    format.Format(sample, locale.isEmpty() ? QLocale::c() : QLocale(locale), text, problem);
    return text.isEmpty() ? problem : text;
}

QStringList LocaleChoices()
{
    return {QString(),  u"en_US"_s, u"en_GB"_s, u"de_DE"_s, u"de_CH"_s, u"fr_FR"_s,
            u"it_IT"_s, u"es_ES"_s, u"nl_NL"_s, u"pl_PL"_s, u"sv_SE"_s, u"ja_JP"_s};
}

QString MillimetreText(int stored)
{
    const qint64 magnitude = std::abs(qint64(stored));
    QString text = QString::number(magnitude / 100);
    if (const qint64 decimals = magnitude % 100; decimals != 0) {
        text += u'.' + QString::number(decimals).rightJustified(2, u'0');
        if (text.endsWith(u'0'))
            text.chop(1);
    }
    return stored < 0 ? u'-' + text : text;
}

QString GroupValue(const QList<CPropertyRow> &subRows)
{
    QStringList values;
    for (const CPropertyRow &row : subRows)
        values.append(row.value);
    return values.join(u", "_s);
}
