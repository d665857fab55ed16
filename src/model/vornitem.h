#pragma once

#include "stylerule.h"
#include "vornelement.h"

#include <memory>

// Base of the printable items: a rectangle in hundredths of a millimetre,
// measured from the top-left corner of the band that holds the item, a
// colour (0x00BBGGRR: text colour of the text kinds, line colour of shapes),
// the condition under which it prints (empty: always) and its style rules.
class CVornItem : public CVornElement
{
public:
    void Reset() override;

    // Copies the element fields, the colour and the four coordinates.
    void CopyFrom(const CVornItem &other);

    // A new item of the same class with every field copied (image bytes included).
    virtual std::unique_ptr<CVornItem> Clone() const = 0;

    int GetLeft() const { return m_left; }
    int GetTop() const { return m_top; }
    int GetRight() const { return m_right; }
    int GetBottom() const { return m_bottom; }
    void SetLeft(int v) { m_left = v; }
    void SetTop(int v) { m_top = v; }
    void SetRight(int v) { m_right = v; }
    void SetBottom(int v) { m_bottom = v; }
    void SetRect(int left, int top, int right, int bottom);
    quint32 GetColor() const { return m_color; }
    void SetColor(quint32 color) { m_color = color; }
    const QString &GetPrintWhen() const { return m_printWhen; }
    void SetPrintWhen(const QString &expression) { m_printWhen = expression; }
    const CStyleRules &GetStyleRules() const { return m_styleRules; }
    void SetStyleRules(const CStyleRules &rules) { m_styleRules = rules; }

private:
    int m_left = 0;
    int m_top = 0;
    int m_right = 0;
    int m_bottom = 0;
    quint32 m_color = 0;
    QString m_printWhen;
    CStyleRules m_styleRules;
};

// A new item of the given item kind with its defaults, or null for a code that
// is no item kind.
std::unique_ptr<CVornItem> CreateItem(int kind);
