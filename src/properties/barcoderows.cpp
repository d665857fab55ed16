#include "barcoderows.h"

#include "barcodesymbology.h"
#include "optionlist.h"
#include "propertyid.h"
#include "rowbuilders.h"
#include "vornbarcode.h"

using namespace PropertyRows;

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
