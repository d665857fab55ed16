#include "vorntext.h"

CVornText::CVornText()
{
    ResetFont();
}

void CVornText::ResetFont()
{
    m_fontName = QStringLiteral("Times New Roman");
    m_fontSize = 10;
    m_charset = 1;
    m_bold = m_italic = m_underline = m_strikeout = 0;
}

void CVornText::VisitKindFields(CFieldVisitor &fields)
{
    VisitTextFields(fields, CFieldVisitor::Saved::Yes);
    VisitCanGrow(fields);
}

void CVornText::VisitTextFields(CFieldVisitor &fields, CFieldVisitor::Saved textSaved)
{
    fields.Field("text", m_text, textSaved);
    fields.Field("horz_alignment", m_horzAlignment);
    fields.Field("vert_alignment", m_vertAlignment);
    fields.Field("word_wrap", m_wordWrap);
    fields.Field("font@name", m_fontName);
    fields.Field("font@size", m_fontSize);
    fields.Field("font@charset", m_charset);
    fields.Field("font@bold", m_bold);
    fields.Field("font@italic", m_italic);
    fields.Field("font@underline", m_underline);
    fields.Field("font@strikeout", m_strikeout);
}

void CVornText::VisitCanGrow(CFieldVisitor &fields)
{
    fields.Field("can_grow", m_canGrow, CFieldVisitor::Saved::IfNotDefault);
}
