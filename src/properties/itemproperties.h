#pragma once

#include "editresult.h"
#include "propertyrow.h"
#include "rowedit.h"

#include <QList>
#include <QString>

#include <optional>

class COptionList;
class CVornItem;
class CVornReport;
template<typename Entry>
class CKindTable;

// How the Properties pane shows and edits the items of one kind: the kind's page of rows top
// to bottom (font rows convert point sizes to pixels at screenDpiY), and the edit of one of
// them, which changes nothing for a row the page does not have.
struct CItemProperties
{
    QList<CPropertyRow> (*page)(const CVornReport &report, const CVornItem &item, int screenDpiY);
    CEditResult (*edit)(const CVornReport &report, CVornItem &item, const CRowEdit &edit,
                        int screenDpiY);
};

// The entry of a kind whose page and edit take the kind's own class (the report and the screen
// resolution unnamed where a kind has no use for them).
template<typename Item, QList<CPropertyRow> (*Page)(const CVornReport &, const Item &, int),
         CEditResult (*Edit)(const CVornReport &, Item &, const CRowEdit &, int)>
CItemProperties PropertiesOf()
{
    return {[](const CVornReport &report, const CVornItem &item, int screenDpiY) {
                return Page(report, static_cast<const Item &>(item), screenDpiY);
            },
            [](const CVornReport &report, CVornItem &item, const CRowEdit &edit, int screenDpiY) {
                return Edit(report, static_cast<Item &>(item), edit, screenDpiY);
            }};
}

// The properties of the kind of that code; null for a kind the pane shows nothing for.
const CItemProperties *ItemPropertiesOf(int code);

// Each kind family's pages and edits, added by its own file.
void AddTextProperties(CKindTable<CItemProperties> &table);
void AddShapeProperties(CKindTable<CItemProperties> &table);
void AddImageProperties(CKindTable<CItemProperties> &table);
void AddBarcodeProperties(CKindTable<CItemProperties> &table);
void AddChartProperties(CKindTable<CItemProperties> &table);

// What the edits of the report, the bands and every kind share.
namespace PropertyEdits {

bool Is(const CRowEdit &edit, QLatin1StringView id);

// The hundredths of a millimetre the edit's typed millimetres give.
int Stored(const CRowEdit &edit);

// Stores the code of the option picked through the setter; a text that is none of the
// options changes nothing.
template<typename Setter>
bool SetOption(const QString &value, const COptionList &list, Setter set);

CEditResult Changed(bool changed = true);

// A name that another object of the report has already.
CEditResult Refused(const QString &name);

// Rows every item page has: the four edges, the name, the condition and the style rules.
// Nothing when the row is none of them.
std::optional<CEditResult> CommonItemEdit(const CVornReport &report, CVornItem &item,
                                          const CRowEdit &edit);
// The "Data Source" band and "Data Field" of an item that prints a field of a band's query.
template<typename Item>
std::optional<CEditResult> DataFieldEdit(Item &item, const CRowEdit &edit);

} // namespace PropertyEdits

#include "optionlist.h"
#include "propertyid.h"

template<typename Setter>
bool PropertyEdits::SetOption(const QString &value, const COptionList &list, Setter set)
{
    const std::optional<int> code = list.Code(value);
    if (!code)
        return false;
    set(*code);
    return true;
}

template<typename Item>
std::optional<CEditResult> PropertyEdits::DataFieldEdit(Item &item, const CRowEdit &edit)
{
    if (Is(edit, RowId::DataSource))
        item.SetDataSource(edit.value);
    else if (Is(edit, RowId::DataField))
        item.SetDataField(edit.value);
    else
        return std::nullopt;
    return Changed();
}
