#include "itempages.h"

#include "barcoderows.h"
#include "optionlist.h"
#include "propertyid.h"
#include "propertypage.h"
#include "rowbuilders.h"
#include "vornitems.h"
#include "vornreport.h"

using namespace Qt::StringLiterals;

namespace {

using namespace PropertyRows;

CPropertyRow CanGrowRow(const CVornText &item)
{
    return FlagRow(RowId::CanGrow, "Can Grow", VornOptions::YesNo(), item.GetCanGrow(),
                   "Yes: a word-wrapped text is printed as tall as its lines need (never shorter "
                   "than its box), and the items below it and its band move down with it");
}

QList<CPropertyRow> CommonTextRows(const CVornText &item, int dpiY)
{
    CPropertyRow font;
    font.id = RowId::Font;
    font.name = Tr("Font");
    font.kind = PropertyRowKind::Font;
    font.description = Tr("Specifies the text font");
    font.font = ItemFont(item, dpiY);
    font.color = item.GetColor();
    font.value = FontDisplayText(font.font, dpiY);

    return {
            NameRow(item),
            PositionRow(item),
            font,
            ColorRow(RowId::TextColor, "Text Color", item.GetColor(), "Specifies the text color"),
            OptionRow(RowId::HorzAlignment, "Horizontal Alignment",
                      VornOptions::TextHorzAlignment(), item.GetHorzAlignment(),
                      "Specifies how the text will be aligned horizontally"),
            OptionRow(RowId::VertAlignment, "Vertical Alignment", VornOptions::TextVertAlignment(),
                      item.GetVertAlignment(), "Specifies how the text will be aligned vertically"),
            FlagRow(RowId::WordWrap, "Word Wrap", VornOptions::TrueFalse(), item.GetWordWrap(),
                    "Breaks words. Lines are automatically broken between words if a word would "
                    "extend past the edge of the text rectangle"),
    };
}

QList<CPropertyRow> TextPage(const CVornText &item, int dpiY)
{
    QList<CPropertyRow> rows {Row(RowId::Object, "(Object)", Tr("Text Label"),
                                  PropertyRowKind::ReadOnly, "You have selected a text field")};
    rows += CommonTextRows(item, dpiY);
    rows.append(Row(RowId::Text, "Text", item.GetText(), PropertyRowKind::Text,
                    "The text that will be written in this place when the report will print"));
    rows.append(CanGrowRow(item));
    rows += ConditionRows(item);
    return rows;
}

QList<CPropertyRow> DbTextPage(const CVornReport &report, const CVornDbText &item, int dpiY)
{
    QList<CPropertyRow> rows {Row(RowId::Object, "(Object)", Tr("DB Text Label"),
                                  PropertyRowKind::ReadOnly, "You have selected a database field")};
    rows += CommonTextRows(item, dpiY);
    rows += {
            OptionRow(
                    RowId::DataSource, "Data Source", item.GetDataSource(), AllBandNames(report),
                    "The name of the band containing the SQL query this DB text label will display "
                    "the data from"),
            SqlRow(item.GetQuery(),
                   "SQL query used to receive this field data from the database for the case that "
                   "you wish to receive it in a separate query rather than retrieve it from the "
                   "query attached to the corresponding band"),
            Row(RowId::DataField, "Data Field", item.GetDataField(), PropertyRowKind::Text,
                "The name of the database field to display in this position"),
            Row(RowId::DataFormat, "Data Format", item.GetFormat(), PropertyRowKind::Text,
                "Data format in C/C++ rules, e.g. %s, %d, etc."),
            CanGrowRow(item),
            OptionRow(RowId::Aggregate, "Aggregate", VornOptions::Aggregate(), item.GetAggregate(),
                      "Prints, instead of the field's current value, its sum, count (of the rows "
                      "where it is not NULL, or of all rows when no field is named), average, "
                      "minimum or maximum over the rows of the data source band"),
            OptionRow(RowId::AggregateOver, "Aggregate Over", VornOptions::AggregateOver(),
                      item.GetAggregateOver(),
                      "The rows the aggregate takes: Band, those printed since this item's band "
                      "last printed; Page, those on the current page; Report, all printed so far"),
            ExpressionRow(RowId::Expression, "Expression", item.GetExpression(), false,
                          "Computes what the item prints instead of its field, e.g. "
                          "[QUANTITY] * [PRICE]; the Display Format or Data Format writes it"),
            [&item, &report] {
                CPropertyRow row = Row(RowId::DisplayFormat, "Display Format",
                                       item.GetDisplayFormat(), PropertyRowKind::Suggest);
                row.options = DisplayFormatPatterns();
                row.description = Tr("A date or number pattern that writes the value, in the "
                                     "report's Locale; it wins over the Data Format");
                if (!item.GetDisplayFormat().isEmpty())
                    row.description += u"\n"_s
                            + Tr("Sample: %1")
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
            Row(RowId::Object, "(Object)", Tr("Shape"), PropertyRowKind::ReadOnly),
            OptionRow(RowId::ShapeType, "Shape Type", VornOptions::ShapeType(), item.GetShapeType(),
                      "One of: Rectangle, Rounded Rectangle, Vertical Line, Horizontal Line, "
                      "Ellipse"),
            NameRow(item),
            PositionRow(item),
            ColorRow(RowId::Color, "Color", item.GetColor(), "Specifies the shape color"),
            ColorRow(RowId::BkColor, "Background Color", item.GetBkColor(),
                     "Specifies the shape background color"),
            OptionRow(RowId::LineStyle, "Line Style", VornOptions::LineStyle(), item.GetLineStyle(),
                      "Please select one pen style from the list"),
            PrintWhenRow(item.GetPrintWhen()),
            StylesRow(item),
    };
}

// The first five rows of the Image and DB Image pages.
QList<CPropertyRow> ImageRows(const CVornImage &item)
{
    return {
            Row(RowId::Object, "(Object)", Tr("Image"), PropertyRowKind::ReadOnly,
                "You have selected an image"),
            NameRow(item),
            PositionRow(item),
            OptionRow(RowId::HorzAlignment, "Horizontal Alignment",
                      VornOptions::ImageHorzAlignment(), item.GetHorzAlignment(),
                      "Specifies how the text will be aligned horizontally"),
            OptionRow(RowId::VertAlignment, "Vertical Alignment", VornOptions::ImageVertAlignment(),
                      item.GetVertAlignment(), "Specifies how the text will be aligned vertically"),
    };
}

QList<CPropertyRow> ImagePage(const CVornImage &item)
{
    QList<CPropertyRow> rows = ImageRows(item);
    // The model keeps the picture's bytes, not the name of the file they came from.
    rows.append(Row(RowId::ImageFile, "Image File", QString(), PropertyRowKind::File,
                    "Please choose the image file that will be printed in the report"));
    rows.append(PrintWhenRow(item.GetPrintWhen()));
    return rows;
}

QList<CPropertyRow> DbImagePage(const CVornReport &report, const CVornDbImage &item)
{
    QList<CPropertyRow> rows = ImageRows(item);
    rows += {
            OptionRow(
                    RowId::DataSource, "Data Source", item.GetDataSource(), AllBandNames(report),
                    "The name of the band containing the SQL query this DB text label will display "
                    "the data from"),
            Row(RowId::DataField, "Data Field", item.GetDataField(), PropertyRowKind::Text,
                "The name of the database field to display in this position"),
            PrintWhenRow(item.GetPrintWhen()),
    };
    return rows;
}

QList<CPropertyRow> BarcodePage(const CVornBarcode &item)
{
    return QList<CPropertyRow> {
                   Row(RowId::Object, "(Object)", Tr("Barcode"), PropertyRowKind::ReadOnly,
                       "You have selected a barcode field"),
                   NameRow(item),
                   PositionRow(item),
                   Row(RowId::Barcode, "Barcode", item.GetBarcode(), PropertyRowKind::Text,
                       "The barcode that will be displayed in this place when the report will "
                       "print"),
           }
    + BarcodeOptionRows(item) + QList<CPropertyRow> {PrintWhenRow(item.GetPrintWhen())};
}

QList<CPropertyRow> DbBarcodePage(const CVornReport &report, const CVornDbBarcode &item)
{
    return QList<CPropertyRow> {
                   Row(RowId::Object, "(Object)", Tr("DB Barcode"), PropertyRowKind::ReadOnly,
                       "You have selected a database barcode field"),
                   NameRow(item),
                   PositionRow(item),
                   OptionRow(RowId::DataSource, "Data Source", item.GetDataSource(),
                             AllBandNames(report),
                             "The name of the band containing the SQL query this DB barcode label "
                             "will "
                             "display the data from"),
                   Row(RowId::DataField, "Data Field", item.GetDataField(), PropertyRowKind::Text,
                       "The name of the database field to display barcode in this position"),
           }
    + BarcodeOptionRows(item) + QList<CPropertyRow> {PrintWhenRow(item.GetPrintWhen())};
}

// The page of an object whose class matches its kind; nothing otherwise.
template<typename Item, typename Build>
std::optional<QList<CPropertyRow>> PageOf(const CVornElement *current, Build build)
{
    const auto *item = dynamic_cast<const Item *>(current);
    if (!item)
        return std::nullopt;
    return build(*item);
}

} // namespace

std::optional<QList<CPropertyRow>> ItemPage(const CVornReport &report, const CVornElement *current,
                                            int screenDpiY)
{
    switch (current->GetKind()) {
    case VornKind::Text:
        return PageOf<CVornText>(current, [screenDpiY](const CVornText &item) {
            return TextPage(item, screenDpiY);
        });
    case VornKind::DbText:
        return PageOf<CVornDbText>(current, [&report, screenDpiY](const CVornDbText &item) {
            return DbTextPage(report, item, screenDpiY);
        });
    case VornKind::Shape:
        return PageOf<CVornShape>(current, ShapePage);
    case VornKind::Image:
        return PageOf<CVornImage>(current, ImagePage);
    case VornKind::DbImage:
        return PageOf<CVornDbImage>(
                current, [&report](const CVornDbImage &item) { return DbImagePage(report, item); });
    case VornKind::Barcode:
        return PageOf<CVornBarcode>(current, BarcodePage);
    case VornKind::DbBarcode:
        return PageOf<CVornDbBarcode>(current, [&report](const CVornDbBarcode &item) {
            return DbBarcodePage(report, item);
        });
    default:
        return std::nullopt;
    }
}
