#include "barcodesymbology.h"
#include "ean13.h"
#include "itemprimitives.h"
#include "kindtable.h"
#include "vornitems.h"

#include <QCoreApplication>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("CReportLayout", text);
}

// Adds the barcode of value; false, failing the run, when it cannot be printed. A DB Barcode's
// EAN-13 that is no valid code fails the run like any other symbology; a fixed one keeps its
// crossed box, which the design view shows and the report's checks warn about.
bool AddBarcode(const CVornBarcode &item, QString value, const CPageRect &box, CItemRow &row,
                CBandContent &content)
{
    if (value.isEmpty())
        return true;
    CPageBarcode barcode;
    const int symbology = item.GetSymbology();
    if (symbology == BarcodeSymbology::Ean13) {
        if (item.GetKind() == VornKind::DbBarcode && !IsValidEan13(value))
            return row.Refuse(Tr("the barcode value \"%1\": it is not an EAN-13 code of 13 "
                                 "digits with a valid check digit")
                                      .arg(value));
    } else {
        QString problem;
        barcode.drawing
                = SharedBarcodeDrawing({symbology, item.GetEccLevel(), item.GetShowText() != 0},
                                       value, box.right - box.left, box.bottom - box.top, problem);
        if (!barcode.drawing)
            return row.Refuse(Tr("the barcode value \"%1\" as %2: %3")
                                      .arg(value, BarcodeSymbology::Name(symbology), problem));
    }
    barcode.box = box;
    barcode.clip = box;
    barcode.value = std::move(value);
    barcode.source = row.Plan().place;
    content.Add(std::move(barcode));
    return true;
}

} // namespace

bool BuildBarcodePrimitives(const CVornItem &item, const CPageRect &box, CItemRow &row,
                            CBandContent &content)
{
    const auto &barcode = static_cast<const CVornBarcode &>(item);
    return AddBarcode(barcode, barcode.GetBarcode(), box, row, content);
}

bool BuildDbBarcodePrimitives(const CVornItem &item, const CPageRect &box, CItemRow &row,
                              CBandContent &content)
{
    const auto &dbBarcode = static_cast<const CVornDbBarcode &>(item);
    QVariant value;
    if (!row.Value(dbBarcode.GetDataSource(), dbBarcode.GetDataField(), {}, value))
        return false;
    return AddBarcode(dbBarcode, value.toString().trimmed(), box, row, content);
}

void AddBarcodePrinting(CKindTable<CItemPrinting> &table)
{
    table.Add(CVornBarcode::Kind, {BuildBarcodePrimitives});
    table.Add(CVornDbBarcode::Kind, {BuildDbBarcodePrimitives});
}
