#include "vorntext.h"

CVornText::CVornText()
{
    ResetFont();
}

void CVornText::Reset()
{
    CVornItem::Reset();
    m_text.clear();
    ResetFont();
    m_horzAlignment = 0;
    m_vertAlignment = 0;
    m_wordWrap = 1;
    m_canGrow = 0;
}

void CVornText::ResetFont()
{
    m_fontName = QStringLiteral("Times New Roman");
    m_fontSize = 10;
    m_charset = 1;
    m_bold = m_italic = m_underline = m_strikeout = 0;
}

std::unique_ptr<CVornItem> CVornText::Clone() const
{
    auto copy = std::make_unique<CVornText>();
    copy->CopyFrom(*this);
    return copy;
}

void CVornText::CopyFrom(const CVornText &other)
{
    CVornItem::CopyFrom(other);
    m_text = other.m_text;
    m_fontName = other.m_fontName;
    m_fontSize = other.m_fontSize;
    m_charset = other.m_charset;
    m_bold = other.m_bold;
    m_italic = other.m_italic;
    m_underline = other.m_underline;
    m_strikeout = other.m_strikeout;
    m_horzAlignment = other.m_horzAlignment;
    m_vertAlignment = other.m_vertAlignment;
    m_wordWrap = other.m_wordWrap;
    m_canGrow = other.m_canGrow;
}
