#pragma once

#include "fieldvisitor.h"

#include <QLatin1StringView>
#include <QVarLengthArray>

#include <memory>
#include <string_view>
#include <vector>

class CVornItem;

// How the element of an item kind is laid out in the template, worked out once from the
// kind's field list (CVornItem::VisitFields): its child elements in the order they are
// written, each holding one field as its text or several as its attributes ("font@size").
// The reader and the writer of items follow it, so a kind's fields are read and written
// without code of the kind's own in the template.
struct CItemElement
{
    // One attribute of a child element, and the index of its field in the item's field list.
    struct Attribute
    {
        QLatin1StringView name;
        size_t field;
    };

    // One child element; its name in lower case, as the reader compares names.
    struct Child
    {
        QLatin1StringView name;
        CFieldVisitor::Saved saved;
        size_t field; // the field of an element written as text
        std::vector<Attribute> attributes; // the fields of an element written as attributes
    };

    std::vector<Child> children;
    size_t fieldCount = 0;
    // Whether a field holds picture bytes, which make the element much longer than others.
    bool holdsBytes = false;
    // A new item of the kind: the defaults of the fields added to the format later.
    std::unique_ptr<CVornItem> fresh;
    std::vector<FieldRef> defaults;

    // The index of the child named name (lower case), looked for from hint on, as children
    // mostly come in the order they are written; -1 when the kind has no such child.
    int Find(std::string_view name, size_t hint) const;
};

// The element of the registered item kind of that code, or null.
const CItemElement *ItemElementOf(int code);

// The addresses of an item's fields in its kind's order, as ItemFields gives them, kept on
// the stack: the reader and the writer take them for every item of a file.
using CFieldAddresses = QVarLengthArray<FieldRef, 32>;
void CollectFields(const CVornItem &item, CFieldAddresses &fields);
