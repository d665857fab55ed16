#include "vornitem.h"
#include "vornitems.h"

void CVornItem::Reset()
{
    CVornElement::Reset();
    m_left = m_top = m_right = m_bottom = 0;
    m_color = 0;
    m_printWhen.clear();
    m_styleRules.clear();
}

void CVornItem::CopyFrom(const CVornItem &other)
{
    CVornElement::CopyFrom(other);
    m_left = other.m_left;
    m_top = other.m_top;
    m_right = other.m_right;
    m_bottom = other.m_bottom;
    m_color = other.m_color;
    m_printWhen = other.m_printWhen;
    m_styleRules = other.m_styleRules;
}

void CVornItem::SetRect(int left, int top, int right, int bottom)
{
    m_left = left;
    m_top = top;
    m_right = right;
    m_bottom = bottom;
}

std::unique_ptr<CVornItem> CreateItem(int kind)
{
    switch (kind) {
    case VornKind::Text:
        return std::make_unique<CVornText>();
    case VornKind::Shape:
        return std::make_unique<CVornShape>();
    case VornKind::DbText:
        return std::make_unique<CVornDbText>();
    case VornKind::Image:
        return std::make_unique<CVornImage>();
    case VornKind::DbImage:
        return std::make_unique<CVornDbImage>();
    case VornKind::Barcode:
        return std::make_unique<CVornBarcode>();
    case VornKind::DbBarcode:
        return std::make_unique<CVornDbBarcode>();
    default:
        return nullptr;
    }
}
