#include "vorndbimage.h"

void CVornDbImage::Reset()
{
    CVornImage::Reset();
    m_dataSource.clear();
    m_dataField.clear();
}

std::unique_ptr<CVornItem> CVornDbImage::Clone() const
{
    auto copy = std::make_unique<CVornDbImage>();
    copy->CopyFrom(*this);
    return copy;
}

void CVornDbImage::CopyFrom(const CVornDbImage &other)
{
    CVornImage::CopyFrom(other);
    m_dataSource = other.m_dataSource;
    m_dataField = other.m_dataField;
}
