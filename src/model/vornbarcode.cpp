#include "vornbarcode.h"

void CVornBarcode::Reset()
{
    CVornItem::Reset();
    m_barcode.clear();
}

std::unique_ptr<CVornItem> CVornBarcode::Clone() const
{
    auto copy = std::make_unique<CVornBarcode>();
    copy->CopyFrom(*this);
    return copy;
}

void CVornBarcode::CopyFrom(const CVornBarcode &other)
{
    CVornItem::CopyFrom(other);
    m_barcode = other.m_barcode;
}
