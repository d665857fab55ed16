#pragma once

#include "vornitem.h"

// An EAN-13 barcode of a fixed value.
class CVornBarcode : public CVornItem
{
public:
    static constexpr int Kind = VornKind::Barcode;
    int GetKind() const override { return Kind; }
    void VisitFields(CFieldVisitor &fields) override;

    const QString &GetBarcode() const { return m_barcode; }
    void SetBarcode(const QString &barcode) { m_barcode = barcode; }

protected:
    // The item's fields, then the value (saved in the file or not).
    void VisitBarcodeFields(CFieldVisitor &fields, CFieldVisitor::Saved valueSaved);

private:
    QString m_barcode;
};
