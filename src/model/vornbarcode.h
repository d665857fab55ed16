#pragma once

#include "vornitem.h"

// An EAN-13 barcode of a fixed value.
class CVornBarcode : public CVornItem
{
public:
    int GetKind() const override { return VornKind::Barcode; }
    void Reset() override;
    std::unique_ptr<CVornItem> Clone() const override;
    void CopyFrom(const CVornBarcode &other);

    const QString &GetBarcode() const { return m_barcode; }
    void SetBarcode(const QString &barcode) { m_barcode = barcode; }

private:
    QString m_barcode;
};
