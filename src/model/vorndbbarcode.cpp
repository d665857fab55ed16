#include "vorndbbarcode.h"

void CVornDbBarcode::Reset()
{
    CVornBarcode::Reset();
    m_dataSource.clear();
    m_dataField.clear();
}

std::unique_ptr<CVornItem> CVornDbBarcode::Clone() const
{
    auto copy = std::make_unique<CVornDbBarcode>();
    copy->CopyFrom(*this);
    return copy;
}

void CVornDbBarcode::CopyFrom(const CVornDbBarcode &other)
{
    CVornBarcode::CopyFrom(other);
    m_dataSource = other.m_dataSource;
    m_dataField = other.m_dataField;
}
