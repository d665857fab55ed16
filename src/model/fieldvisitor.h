#pragma once

#include "chartseries.h"
#include "stylerule.h"

#include <QByteArray>
#include <QString>

#include <variant>
#include <vector>

// One field of an item's state, as its kind lists it.
using FieldRef = std::variant<int *, quint32 *, QString *, QByteArray *, CStyleRules *,
                              CChartSeriesSettings *>;

// Told every field of an item in a fixed order, by the kind's one list of its
// fields (CVornItem::VisitFields). Copying, resetting and comparing an item's
// state (undo, clones, the live preview's snapshot) all walk that list, so a
// field the list names cannot be left out of one of them.
class CFieldVisitor
{
public:
    // How the template file holds the field.
    enum class Saved {
        Yes, // always written, read back as written
        IfNotDefault, // written only when it differs from a new item's (added to the format later)
        Legacy, // written as it is, but what reading it does is the kind's business
        No, // never written: a database item's value comes from its data
    };

    virtual ~CFieldVisitor() = default;

    // name is the field's child element in the template: "color"; "font@size" for the
    // attribute size of the child element font; "@name" for an attribute of the item's own
    // element.
    template<typename T>
    void Field(const char *name, T &value, Saved saved = Saved::Yes)
    {
        Visit(name, FieldRef(&value), saved);
    }

protected:
    virtual void Visit(const char *name, FieldRef value, Saved saved) = 0;
};
