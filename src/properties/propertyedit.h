#pragma once

#include "editresult.h"
#include "rowedit.h"

#include <QString>

#include <vector>

class CVornDocument;
class CVornElement;
class CVornReport;

// Writes one committed row edit into the object shown in the grid: the report
// when current is null, otherwise a band or item of that report. Integer rows
// give whole millimetres, stored times 100 (clamped to the int range); names
// are checked for duplicates first; a band's new name is carried into the
// group headers, group footers and DB Text data sources of every band; an
// image file is read whole; a font's pixel height is converted to points at
// screenDpiY, and the colour chosen with the font becomes the text's colour.
// A refused edit, a row the object's handler does not know and an option text
// that matches no choice change nothing.
CEditResult ApplyEdit(CVornReport &report, CVornElement *current, const CRowEdit &edit,
                      int screenDpiY);

// ApplyEdit on the document's report as one undo step, named after the row
// ("Rename" for a name); an edit that changes nothing leaves no step.
CEditResult ApplyEditStep(CVornDocument &document, CVornElement *current, const CRowEdit &edit,
                          int screenDpiY);

// The same edit on several objects (the items selected together) as one undo
// step. Refused as a whole when it is refused for any of them: nothing
// changes and the message names that object.
CEditResult ApplyEditStepToAll(CVornDocument &document, const std::vector<CVornElement *> &objects,
                               const CRowEdit &edit, int screenDpiY);

// The hundredths of a millimetre a typed length in millimetres gives: optional
// blanks, an optional sign, digits, then optionally a point (or a comma) and
// decimals, up to the first other character; a third decimal rounds the second.
// 0 when it does not begin with a number; clamped to the int range.
int ReadTypedMillimetres(const QString &text);
