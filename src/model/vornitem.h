#pragma once

#include "vornelement.h"

#include <memory>

// Base of the printable items: a rectangle in hundredths of a millimetre,
// measured from the top-left corner of the band that holds the item, and a
// colour (0x00BBGGRR: text colour of the text kinds, line colour of shapes).
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

private:
    int m_left = 0;
    int m_top = 0;
    int m_right = 0;
    int m_bottom = 0;
    quint32 m_color = 0;
};

// A new item of the given item kind with its defaults, or null for a code that
// is no item kind.
std::unique_ptr<CVornItem> CreateItem(int kind);
