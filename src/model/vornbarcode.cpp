#include "vornbarcode.h"

void CVornBarcode::Reset()
{
    CVornItem::Reset();
    m_barcode.clear();
    m_symbology = DefaultSymbology;
    m_eccLevel = DefaultEccLevel;
    m_showText = DefaultShowText;
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
    m_symbology = other.m_symbology;
    m_eccLevel = other.m_eccLevel;
    m_showText = other.m_showText;
}
