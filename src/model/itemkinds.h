#pragma once

#include <QString>

#include <memory>
#include <vector>

class CVornItem;

// How a kind shows in the designer: its name, its Elements pane entry and
// icon, the design view's insertion mode that places one, the height a new one gets and
// whether it lies under the other items of its band.
struct CKindLook
{
    const char *name; // untranslated; KindName gives it translated
    const char *elementsEntry; // untranslated, in the "Vantel" context
    int icon; // the picture in the Elements pane's strip of icons (ElementsIcons)
    int insertMode; // the command id of the insertion mode
    int newHeight = 20; // pixels at full size
    bool underOthers = false; // drawn (and hit) before the band's other items
};

// What the model knows of one printable item kind: its code in the template,
// how it shows and how a new item of it is made. Everything else of the kind's
// state follows from the fields its class lists (CVornItem::VisitFields).
struct CItemKind
{
    int code;
    CKindLook look;
    std::unique_ptr<CVornItem> (*create)();
};

// Every registered item kind, in the order of the Elements pane.
const std::vector<CItemKind> &ItemKinds();

// The registered kind of that code, or null.
const CItemKind *FindItemKind(int code);

// Whether items of the kind lie under the other items of their band: the design
// view and the engine draw them first, and a click hits the others first.
bool IsDrawnUnderOthers(int code);
