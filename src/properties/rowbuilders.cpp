#include "rowbuilders.h"

#include "colorref.h"
#include "optionlist.h"
#include "propertyid.h"
#include "propertypage.h"
#include "stylerulestext.h"
#include "vornitem.h"
#include "vornreport.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace PropertyRows {

QString Tr(const char *text)
{
    return QCoreApplication::translate("Vantel", text);
}

CPropertyRow Row(QLatin1StringView id, const char *name, const QString &value, PropertyRowKind kind,
                 const char *description)
{
    CPropertyRow row;
    row.id = id;
    row.name = Tr(name);
    row.value = value;
    row.kind = kind;
    if (description)
        row.description = Tr(description);
    return row;
}

CPropertyRow OptionRow(QLatin1StringView id, const char *name, const QString &value,
                       const QStringList &options, const char *description)
{
    CPropertyRow row = Row(id, name, value, PropertyRowKind::Option, description);
    // A choice already in the list (exact comparison) is not offered twice.
    for (const QString &option : options) {
        if (!row.options.contains(option))
            row.options.append(option);
    }
    return row;
}

CPropertyRow OptionRow(QLatin1StringView id, const char *name, const COptionList &list, int code,
                       const char *description)
{
    return OptionRow(id, name, list.Name(code), list.Names(), description);
}

CPropertyRow IntegerRow(QLatin1StringView id, const char *name, int stored, const char *description)
{
    return Row(id, name, MillimetreText(stored), PropertyRowKind::Integer, description);
}

CPropertyRow GroupRow(QLatin1StringView id, const char *name, const QList<CPropertyRow> &subRows)
{
    CPropertyRow row = Row(id, name, GroupValue(subRows), PropertyRowKind::Group);
    row.subRows = subRows;
    return row;
}

CPropertyRow ColorRow(QLatin1StringView id, const char *name, quint32 color,
                      const char *description)
{
    CPropertyRow row = Row(id, name, ColorText(color), PropertyRowKind::Color, description);
    row.color = color;
    return row;
}

CPropertyRow SqlRow(const QString &sql, const char *description)
{
    CPropertyRow row
            = Row(RowId::Query, "SQL Query", SqlOneLine(sql), PropertyRowKind::Sql, description);
    row.sqlText = sql;
    return row;
}

CPropertyRow FlagRow(QLatin1StringView id, const char *name, const COptionList &list, int flag,
                     const char *description)
{
    return OptionRow(id, name, list, flag ? 1 : 0, description);
}

CPropertyRow ExpressionRow(QLatin1StringView id, const char *name, const QString &text,
                           bool condition, const char *description)
{
    CPropertyRow row
            = Row(id, name, ExpressionOneLine(text), PropertyRowKind::Expression, description);
    row.sqlText = text;
    row.condition = condition;
    return row;
}

CPropertyRow DisplayFormatRow(const QString &pattern, const QString &locale,
                              const char *description)
{
    CPropertyRow row = Row(RowId::DisplayFormat, "Display Format", pattern,
                           PropertyRowKind::Suggest, description);
    row.options = DisplayFormatPatterns();
    if (!pattern.isEmpty())
        row.description += u"\n"_s + Tr("Sample: %1").arg(DisplayFormatSample(pattern, locale));
    return row;
}

CPropertyRow PrintWhenRow(const QString &text)
{
    return ExpressionRow(RowId::PrintWhen, "Print When", text, true,
                         "A condition: the object prints only where it is true (empty: always). "
                         "A band that does not print takes no space; an item leaves its space "
                         "empty");
}

CPropertyRow StylesRow(const CVornItem &item)
{
    CPropertyRow row = Row(RowId::Styles, "Styles", StyleRulesSummary(item.GetStyleRules()),
                           PropertyRowKind::Styles,
                           "Up to 8 rules: the first whose condition is true sets the colour, "
                           "background, bold and italic of that printing");
    row.styleRules = item.GetStyleRules();
    return row;
}

QList<CPropertyRow> ConditionRows(const CVornItem &item)
{
    return {PrintWhenRow(item.GetPrintWhen()), StylesRow(item)};
}

CPropertyRow NameRow(const CVornItem &item)
{
    return Row(RowId::Name, "Name", item.GetName(), PropertyRowKind::Text);
}

CPropertyRow PositionRow(const CVornItem &item)
{
    return GroupRow(
            RowId::Position, "Position",
            {IntegerRow(RowId::Left, "Left", item.GetLeft(),
                        "Specifies the X coordinate or the upper-left corner of the text bounding "
                        "rectangle (mm)"),
             IntegerRow(RowId::Top, "Top", item.GetTop(),
                        "Specifies the Y coordinate or the upper-left corner of the text bounding "
                        "rectangle (mm)"),
             IntegerRow(RowId::Right, "Right", item.GetRight(),
                        "Specifies the X coordinate or the bottom-right corner of the text "
                        "bounding rectangle (mm)"),
             IntegerRow(RowId::Bottom, "Bottom", item.GetBottom(),
                        "Specifies the Y coordinate or the bottom-right corner of the text "
                        "bounding rectangle (mm)")});
}

QStringList AllBandNames(const CVornReport &report)
{
    return BandNames(report, [](const CVornBand *) { return true; });
}

} // namespace PropertyRows
