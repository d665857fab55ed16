#include "vornshape.h"

void CVornShape::Reset()
{
    CVornItem::Reset();
    m_shapeType = 1;
    m_bkColor = 0xFFFFFF;
    m_lineWidth = 1;
    m_lineStyle = 1;
}

std::unique_ptr<CVornItem> CVornShape::Clone() const
{
    auto copy = std::make_unique<CVornShape>();
    copy->CopyFrom(*this);
    return copy;
}

void CVornShape::CopyFrom(const CVornShape &other)
{
    CVornItem::CopyFrom(other);
    m_shapeType = other.m_shapeType;
    m_bkColor = other.m_bkColor;
    m_lineWidth = other.m_lineWidth;
    m_lineStyle = other.m_lineStyle;
}
