#pragma once

#include "vornitem.h"

// A static text printed in its rectangle with its own font and alignment.
class CVornText : public CVornItem
{
public:
    CVornText();

    static constexpr int Kind = VornKind::Text;
    int GetKind() const override { return Kind; }

    const QString &GetText() const { return m_text; }
    void SetText(const QString &text) { m_text = text; }
    const QString &GetFontName() const { return m_fontName; }
    void SetFontName(const QString &name) { m_fontName = name; }
    int GetFontSize() const { return m_fontSize; }
    void SetFontSize(int points) { m_fontSize = points; }
    int GetCharset() const { return m_charset; }
    void SetCharset(int charset) { m_charset = charset; }
    int GetBold() const { return m_bold; }
    void SetBold(int bold) { m_bold = bold; }
    int GetItalic() const { return m_italic; }
    void SetItalic(int italic) { m_italic = italic; }
    int GetUnderline() const { return m_underline; }
    void SetUnderline(int underline) { m_underline = underline; }
    int GetStrikeout() const { return m_strikeout; }
    void SetStrikeout(int strikeout) { m_strikeout = strikeout; }
    int GetHorzAlignment() const { return m_horzAlignment; }
    void SetHorzAlignment(int alignment) { m_horzAlignment = alignment; }
    int GetVertAlignment() const { return m_vertAlignment; }
    void SetVertAlignment(int alignment) { m_vertAlignment = alignment; }
    int GetWordWrap() const { return m_wordWrap; }
    void SetWordWrap(int wordWrap) { m_wordWrap = wordWrap; }
    // Non-zero: a wrapped text is printed as tall as its lines need, never shorter than its box.
    int GetCanGrow() const { return m_canGrow; }
    void SetCanGrow(int canGrow) { m_canGrow = canGrow; }

    // Face "Times New Roman", 10 points, character set 1, no bold, italic,
    // underline or strike-out.
    void ResetFont();

protected:
    void VisitKindFields(CFieldVisitor &fields) override;
    // The text (saved as textSaved says), the alignments, word wrap
    // and the font; growth, added to the format later, is left to the kind's list.
    void VisitTextFields(CFieldVisitor &fields, CFieldVisitor::Saved textSaved);
    void VisitCanGrow(CFieldVisitor &fields);

private:
    QString m_text;
    QString m_fontName;
    int m_fontSize = 10;
    int m_charset = 1;
    int m_bold = 0;
    int m_italic = 0;
    int m_underline = 0;
    int m_strikeout = 0;
    int m_horzAlignment = 0;
    int m_vertAlignment = 0;
    int m_wordWrap = 1;
    int m_canGrow = 0;
};
