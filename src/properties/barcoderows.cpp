#include "barcoderows.h"

#include "barcodesymbology.h"
#include "vornbarcode.h"
#include "vornkind.h"

#include <QCoreApplication>

namespace {

QString T(const char *text)
{
    return QCoreApplication::translate("Vantel", text);
}

CPropertyRow OptionRow(const char *name, const QString &value, QString (*names)(int), int count,
                       const char *description)
{
    CPropertyRow row;
    row.name = T(name);
    row.value = value;
    row.kind = PropertyRowKind::Option;
    for (int code = 0; code < count; ++code)
        row.options.append(names(code));
    row.description = T(description);
    return row;
}

QString YesNo(int flag)
{
    return flag ? T("Yes") : T("No");
}

// The code whose name is value, letter case ignored; -1 for none.
int CodeOf(const QString &value, QString (*names)(int), int count)
{
    for (int code = 0; code < count; ++code) {
        if (SameName(value, names(code)))
            return code;
    }
    return -1;
}

} // namespace

QList<CPropertyRow> BarcodeOptionRows(const CVornBarcode &item)
{
    const int symbology = item.GetSymbology();
    QList<CPropertyRow> rows {OptionRow(
            "Symbology", BarcodeSymbology::Name(symbology), BarcodeSymbology::Name,
            BarcodeSymbology::Count,
            "The kind of barcode printed: EAN-13, the linear Code 128, GS1-128, EAN-8, UPC-A, "
            "Code 39 and ITF-14, or the two-dimensional QR Code, DataMatrix and PDF417")};
    if (symbology == BarcodeSymbology::QrCode) {
        rows.append(OptionRow("Error Correction",
                              BarcodeSymbology::EccLevelName(item.GetEccLevel()),
                              BarcodeSymbology::EccLevelName, BarcodeSymbology::EccLevelCount,
                              "How much of the QR Code can be damaged and still read: the higher "
                              "the level, the larger the symbol"));
    } else if (BarcodeSymbology::IsKnown(symbology) && symbology != BarcodeSymbology::Ean13
               && !BarcodeSymbology::IsTwoDimensional(symbology)) {
        rows.append(OptionRow("Show Text", YesNo(item.GetShowText()), YesNo, 2,
                              "Yes: the value is printed in readable characters under the bars"));
    }
    return rows;
}

std::optional<CEditResult> BarcodeOptionEdit(CVornBarcode &item, const CRowEdit &edit)
{
    int code = -1;
    if (SameName(edit.name, T("Symbology"))) {
        code = CodeOf(edit.value, BarcodeSymbology::Name, BarcodeSymbology::Count);
        if (code >= 0)
            item.SetSymbology(code);
    } else if (SameName(edit.name, T("Error Correction"))) {
        code = CodeOf(edit.value, BarcodeSymbology::EccLevelName, BarcodeSymbology::EccLevelCount);
        if (code >= 0)
            item.SetEccLevel(code);
    } else if (SameName(edit.name, T("Show Text"))) {
        code = CodeOf(edit.value, YesNo, 2);
        if (code >= 0)
            item.SetShowText(code);
    } else {
        return std::nullopt;
    }
    CEditResult result;
    result.changed = code >= 0;
    return result;
}
