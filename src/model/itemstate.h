#pragma once

#include <QtGlobal>

class CVornBand;
class CVornItem;

// Whole-state copies of an item, as the edit history keeps them: every field
// its kind lists (CVornItem::VisitFields), the picture bytes included, but never
// the selection flag, which belongs to the design view's moment rather than to
// the report.
namespace ItemState {

// Gives target every field of source; an item of another kind is left as it is.
void Assign(CVornItem &target, const CVornItem &source);

// Whether the two items hold the same fields (the selection flag aside).
bool Same(const CVornItem &a, const CVornItem &b);

// The picture bytes an item or a band with its items holds.
qsizetype PictureBytes(const CVornItem &item);
qsizetype PictureBytes(const CVornBand &band);

} // namespace ItemState
