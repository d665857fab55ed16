#pragma once

#include "vornkind.h"

#include <QString>

// The root of every report object, band or printable item: a name, a kind code
// and the design view's selection flag (never stored in the file).
class CVornElement
{
public:
    CVornElement() = default;
    CVornElement(const CVornElement &) = delete;
    CVornElement &operator=(const CVornElement &) = delete;
    virtual ~CVornElement() = default;

    // Back to the state of a new object of the class.
    virtual void Reset();

    // False with the reason in message when the object is not fit for a report.
    virtual bool Validate(QString &message) const;

    // Copies name, selection flag and kind.
    void CopyFrom(const CVornElement &other);

    virtual int GetKind() const { return m_kind; }
    virtual void SetKind(int kind) { m_kind = kind; }

    const QString &GetName() const { return m_name; }
    void SetName(const QString &name) { m_name = name; }
    bool IsSelected() const { return m_selected; }
    void SetSelected(bool selected) { m_selected = selected; }

    bool IsBandElement() const { return IsBand(GetKind()); }

protected:
    // The name as a field of the item lists (CVornItem::VisitFields).
    QString &NameField() { return m_name; }

private:
    QString m_name;
    bool m_selected = false;
    int m_kind = VornKind::None;
};
