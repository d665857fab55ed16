#pragma once

#include "propertyrow.h"
#include "vornreport.h"

#include <QLatin1StringView>

class COptionList;
class CVornItem;

// The pieces every property page is built from: a row of each kind, keyed by its id (RowId)
// and named by the untranslated text the pane shows translated, and the rows several pages share.
namespace PropertyRows {

QString Tr(const char *text);

CPropertyRow Row(QLatin1StringView id, const char *name, const QString &value, PropertyRowKind kind,
                 const char *description = nullptr);
CPropertyRow OptionRow(QLatin1StringView id, const char *name, const QString &value,
                       const QStringList &options, const char *description);
// A row picking one code of a list, showing the name of the code it holds.
CPropertyRow OptionRow(QLatin1StringView id, const char *name, const COptionList &list, int code,
                       const char *description);
// A row of a flag: any value but 0 shows as set.
CPropertyRow FlagRow(QLatin1StringView id, const char *name, const COptionList &list, int flag,
                     const char *description);
// A length in hundredths of a millimetre, shown in millimetres.
CPropertyRow IntegerRow(QLatin1StringView id, const char *name, int stored,
                        const char *description);
CPropertyRow GroupRow(QLatin1StringView id, const char *name, const QList<CPropertyRow> &subRows);
CPropertyRow ColorRow(QLatin1StringView id, const char *name, quint32 color,
                      const char *description);
CPropertyRow SqlRow(const QString &sql, const char *description);
CPropertyRow ExpressionRow(QLatin1StringView id, const char *name, const QString &text,
                           bool condition, const char *description);

// "Display Format": a pattern offered from the usual ones, with a sample of it in the report's
// locale under the description.
CPropertyRow DisplayFormatRow(const QString &pattern, const QString &locale,
                              const char *description);
CPropertyRow PrintWhenRow(const QString &text);
CPropertyRow StylesRow(const CVornItem &item);
// The rows every item kind with style rules ends with: Print When and Styles.
QList<CPropertyRow> ConditionRows(const CVornItem &item);
CPropertyRow NameRow(const CVornItem &item);
CPropertyRow PositionRow(const CVornItem &item);

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
// The empty text, then every band's name.
QStringList AllBandNames(const CVornReport &report);

} // namespace PropertyRows
