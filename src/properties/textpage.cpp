#include "itemproperties.h"

#include "kindtable.h"
#include "optionlist.h"
#include "propertyid.h"
#include "propertypage.h"
#include "rowbuilders.h"
#include "vorndbtext.h"
#include "vornreport.h"

namespace {

using namespace PropertyEdits;
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

QList<CPropertyRow> TextPage(const CVornReport &, const CVornText &item, int dpiY)
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
            DisplayFormatRow(item.GetDisplayFormat(), report.GetLocale(),
                             "A date or number pattern that writes the value, in the "
                             "report's Locale; it wins over the Data Format"),
    };
    rows += ConditionRows(item);
    return rows;
}

std::optional<CEditResult> CommonTextEdit(const CVornReport &report, CVornText &item,
                                          const CRowEdit &edit, int dpiY)
{
    if (std::optional<CEditResult> result = CommonItemEdit(report, item, edit))
        return result;
    if (Is(edit, RowId::TextColor)) {
        item.SetColor(edit.color);
        return Changed();
    }
    if (Is(edit, RowId::Font)) {
        // The colour chosen in the font dialog is the text's colour.
        StoreItemFont(item, edit.font, dpiY);
        item.SetColor(edit.font.color);
        return Changed();
    }
    if (Is(edit, RowId::HorzAlignment))
        return Changed(SetOption(edit.value, VornOptions::TextHorzAlignment(),
                                 [&item](int code) { item.SetHorzAlignment(code); }));
    if (Is(edit, RowId::VertAlignment))
        return Changed(SetOption(edit.value, VornOptions::TextVertAlignment(),
                                 [&item](int code) { item.SetVertAlignment(code); }));
    if (Is(edit, RowId::WordWrap))
        return Changed(SetOption(edit.value, VornOptions::TrueFalse(),
                                 [&item](int code) { item.SetWordWrap(code); }));
    if (Is(edit, RowId::CanGrow))
        return Changed(SetOption(edit.value, VornOptions::YesNo(),
                                 [&item](int code) { item.SetCanGrow(code); }));
    return std::nullopt;
}

CEditResult TextEdit(const CVornReport &report, CVornText &item, const CRowEdit &edit, int dpiY)
{
    if (std::optional<CEditResult> result = CommonTextEdit(report, item, edit, dpiY))
        return *result;
    if (!Is(edit, RowId::Text))
        return CEditResult();
    item.SetText(edit.value);
    return Changed();
}

CEditResult DbTextEdit(const CVornReport &report, CVornDbText &item, const CRowEdit &edit, int dpiY)
{
    if (std::optional<CEditResult> result = CommonTextEdit(report, item, edit, dpiY))
        return *result;
    if (std::optional<CEditResult> result = DataFieldEdit(item, edit))
        return *result;
    if (Is(edit, RowId::DataFormat))
        item.SetFormat(edit.value);
    else if (Is(edit, RowId::Expression))
        item.SetExpression(edit.value.trimmed());
    else if (Is(edit, RowId::DisplayFormat))
        item.SetDisplayFormat(edit.value);
    else if (Is(edit, RowId::Aggregate))
        return Changed(SetOption(edit.value, VornOptions::Aggregate(),
                                 [&item](int code) { item.SetAggregate(code); }));
    else if (Is(edit, RowId::AggregateOver))
        return Changed(SetOption(edit.value, VornOptions::AggregateOver(),
                                 [&item](int code) { item.SetAggregateOver(code); }));
    else if (Is(edit, RowId::Query))
        // The full text, as for a band: the one-line form would join a "--"
        // comment with the rest of the query and squeeze blanks inside strings.
        item.SetQuery(edit.sqlText);
    else
        return CEditResult();
    return Changed();
}

} // namespace

void AddTextProperties(CKindTable<CItemProperties> &table)
{
    table.Add(VornKind::Text, PropertiesOf<CVornText, TextPage, TextEdit>());
    table.Add(VornKind::DbText, PropertiesOf<CVornDbText, DbTextPage, DbTextEdit>());
}
