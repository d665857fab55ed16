#pragma once

#include <QString>

#include <memory>
#include <vector>

class CVornItem;

// What the model knows of one printable item kind: its code in the template,
// its display name and how a new item of it is made. Everything else of the
// kind's state follows from the fields its class lists (CVornItem::VisitFields).
struct CItemKind
{
    int code;
    const char *name; // untranslated; KindName gives it translated
    std::unique_ptr<CVornItem> (*create)();
};

// Every registered item kind, in code order.
const std::vector<CItemKind> &ItemKinds();

// The registered kind of that code, or null.
const CItemKind *FindItemKind(int code);
