#pragma once

#include "fieldvisitor.h"
#include "stylerule.h"
#include "vornelement.h"

#include <memory>

// Base of the printable items: a rectangle in hundredths of a millimetre,
// measured from the top-left corner of the band that holds the item, a
// colour (0x00BBGGRR: text colour of the text kinds, line colour of shapes),
// the condition under which it prints (empty: always) and its style rules.
//
// Each kind's class lists its fields once, in VisitKindFields; resetting, copying
// and cloning an item (and comparing and assigning its state for undo) follow
// that list.
class CVornItem : public CVornElement
{
public:
    // Every field back to the value a new item of the kind has; not selected.
    void Reset() override;

    // Copies every field and the selection flag from an item of the same kind; picture
    // bytes are copied, never shared.
    void CopyFrom(const CVornItem &other);
    // The same without the selection flag, which stays as it is.
    void CopyFields(const CVornItem &other);

    // A new item of the same kind with every field copied (image bytes included).
    std::unique_ptr<CVornItem> Clone() const;

    // Tells the visitor every field of the item in the order the template file holds them: the
    // element level's name first, then the colour and rectangle, the kind's own fields
    // (VisitKindFields) and last the condition and style rules every kind has.
    void VisitFields(CFieldVisitor &fields);

    // Called when the template reader has read every field; a kind mends here what older files
    // stored differently.
    virtual void ReadFinished() { }

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

protected:
    // The kind's own fields, in the order its element holds them.
    virtual void VisitKindFields(CFieldVisitor &) { }

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
// is no registered item kind.
std::unique_ptr<CVornItem> CreateItem(int kind);

// The fields of an item in the order its kind lists them. The pointers point into the item;
// the item is only read through them when it is const.
std::vector<FieldRef> ItemFields(const CVornItem &item);
