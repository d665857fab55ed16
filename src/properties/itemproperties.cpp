#include "itemproperties.h"

#include "kindtable.h"
#include "propertyedit.h"
#include "propertyid.h"
#include "vornitem.h"
#include "vornreport.h"

#include <QCoreApplication>

const CItemProperties *ItemPropertiesOf(int code)
{
    // A new kind adds its pages and edits here, one line.
    static const CKindTable<CItemProperties> properties = [] {
        CKindTable<CItemProperties> table;
        AddTextProperties(table);
        AddShapeProperties(table);
        AddImageProperties(table);
        AddBarcodeProperties(table);
        AddChartProperties(table);
        return table;
    }();
    return properties.Find(code);
}

namespace PropertyEdits {

bool Is(const CRowEdit &edit, QLatin1StringView id)
{
    return edit.id == id;
}

int Stored(const CRowEdit &edit)
{
    return ReadTypedMillimetres(edit.value);
}

CEditResult Changed(bool changed)
{
    CEditResult result;
    result.changed = changed;
    return result;
}

CEditResult Refused(const QString &name)
{
    CEditResult result;
    result.nameRefused = true;
    result.message = QCoreApplication::translate("Vantel", "Duplicate object name: ") + name;
    return result;
}

std::optional<CEditResult> CommonItemEdit(const CVornReport &report, CVornItem &item,
                                          const CRowEdit &edit)
{
    if (Is(edit, RowId::Left))
        item.SetLeft(Stored(edit));
    else if (Is(edit, RowId::Top))
        item.SetTop(Stored(edit));
    else if (Is(edit, RowId::Right))
        item.SetRight(Stored(edit));
    else if (Is(edit, RowId::Bottom))
        item.SetBottom(Stored(edit));
    else if (Is(edit, RowId::Name)) {
        if (!report.IsNameUnique(&item, edit.value))
            return Refused(edit.value);
        item.SetName(edit.value);
    } else if (Is(edit, RowId::PrintWhen))
        item.SetPrintWhen(edit.value.trimmed());
    else if (Is(edit, RowId::Styles))
        item.SetStyleRules(edit.styleRules);
    else
        return std::nullopt;
    return Changed();
}

} // namespace PropertyEdits
