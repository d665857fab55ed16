#include "itemproperties.h"

#include "barcodesymbology.h"
#include "kindtable.h"
#include "optionlist.h"
#include "propertyid.h"
#include "rowbuilders.h"
#include "vorndbbarcode.h"

using namespace Qt::StringLiterals;

namespace {

using namespace PropertyEdits;
using namespace PropertyRows;

// The rows that say how the value prints: "Symbology", then "Error Correction" for a QR Code
// and "Show Text" for a linear symbol other than EAN-13.
QList<CPropertyRow> BarcodeOptionRows(const CVornBarcode &item)
{
    const int symbology = item.GetSymbology();
    QList<CPropertyRow> rows {OptionRow(
            RowId::Symbology, "Symbology", VornOptions::Symbology(), symbology,
            "The kind of barcode printed: EAN-13, the linear Code 128, GS1-128, EAN-8, UPC-A, "
            "Code 39 and ITF-14, or the two-dimensional QR Code, DataMatrix and PDF417")};
    if (symbology == BarcodeSymbology::QrCode) {
        rows.append(OptionRow(RowId::EccLevel, "Error Correction", VornOptions::EccLevel(),
                              item.GetEccLevel(),
                              "How much of the QR Code can be damaged and still read: the higher "
                              "the level, the larger the symbol"));
    } else if (BarcodeSymbology::IsKnown(symbology) && symbology != BarcodeSymbology::Ean13
               && !BarcodeSymbology::IsTwoDimensional(symbology)) {
        rows.append(FlagRow(RowId::ShowText, "Show Text", VornOptions::YesNo(), item.GetShowText(),
                            "Yes: the value is printed in readable characters under the bars"));
    }
    return rows;
}

// Applies an edit of one of those rows; nothing when the edit is of another row. An option
// text that is none of the row's changes nothing.
std::optional<CEditResult> BarcodeOptionEdit(CVornBarcode &item, const CRowEdit &edit)
{
    std::optional<int> code;
    if (edit.id == RowId::Symbology) {
        if ((code = VornOptions::Symbology().Code(edit.value)))
            item.SetSymbology(*code);
    } else if (edit.id == RowId::EccLevel) {
        if ((code = VornOptions::EccLevel().Code(edit.value)))
            item.SetEccLevel(*code);
    } else if (edit.id == RowId::ShowText) {
        if ((code = VornOptions::YesNo().Code(edit.value)))
            item.SetShowText(*code);
    } else {
        return std::nullopt;
    }
    CEditResult result;
    result.changed = code.has_value();
    return result;
}

QList<CPropertyRow> BarcodePage(const CVornReport &, const CVornBarcode &item, int)
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

QList<CPropertyRow> DbBarcodePage(const CVornReport &report, const CVornDbBarcode &item, int)
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

CEditResult BarcodeEdit(const CVornReport &report, CVornBarcode &item, const CRowEdit &edit, int)
{
    if (std::optional<CEditResult> result = CommonItemEdit(report, item, edit))
        return *result;
    if (std::optional<CEditResult> result = BarcodeOptionEdit(item, edit))
        return *result;
    if (!Is(edit, RowId::Barcode))
        return CEditResult();
    item.SetBarcode(edit.value);
    return Changed();
}

CEditResult DbBarcodeEdit(const CVornReport &report, CVornDbBarcode &item, const CRowEdit &edit,
                          int)
{
    if (std::optional<CEditResult> result = CommonItemEdit(report, item, edit))
        return *result;
    if (std::optional<CEditResult> result = BarcodeOptionEdit(item, edit))
        return *result;
    return DataFieldEdit(item, edit).value_or(CEditResult());
}

} // namespace

void AddBarcodeProperties(CKindTable<CItemProperties> &table)
{
    table.Add(CVornBarcode::Kind, PropertiesOf<CVornBarcode, BarcodePage, BarcodeEdit>());
    table.Add(CVornDbBarcode::Kind, PropertiesOf<CVornDbBarcode, DbBarcodePage, DbBarcodeEdit>());
}
