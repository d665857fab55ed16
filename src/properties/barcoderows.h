#pragma once

#include "editresult.h"
#include "propertyrow.h"
#include "rowedit.h"

#include <QList>

#include <optional>

class CVornBarcode;

// The rows of a Barcode and a DB Barcode that say how the value prints: "Symbology", then
// "Error Correction" for a QR Code and "Show Text" for a linear symbol other than EAN-13.
QList<CPropertyRow> BarcodeOptionRows(const CVornBarcode &item);

// Applies an edit of one of those rows; nothing when the edit is of another row. An option
// text that is none of the row's changes nothing.
std::optional<CEditResult> BarcodeOptionEdit(CVornBarcode &item, const CRowEdit &edit);
