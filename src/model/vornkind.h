#pragma once

#include <QString>

// Kind codes of report objects. They are stored in the template's "type"
// attribute and select the property page, the drawing and the toolbox entry.
// 0, 6, 7 and 13 denote no object; 0 means "unspecified".
namespace VornKind {
enum : int {
    None = 0,
    ReportContents = 1,
    ReportHeader = 2,
    ReportFooter = 3,
    PageHeader = 4,
    PageFooter = 5,
    PageBreak = 8,
    Text = 9,
    Shape = 10,
    DbText = 11,
    Image = 12,
    DbImage = 14,
    Barcode = 15,
    DbBarcode = 16,
    // Kinds added after the first format take codes from here up, so that
    // a reader can tell a newer file from a damaged one.
    FirstAddedKind = 32,
    Chart = 32,
};
} // namespace VornKind

// True exactly for the six band kinds 1, 2, 3, 4, 5 and 8.
bool IsBand(int kind);

// True for the registered printable item kinds (ItemKinds): 9 to 12, 14 to 16 and 32.
bool IsItemKind(int kind);

// Display name of a kind ("Report Contents", "Text", "DB Barcode", ...), or the
// empty text for a code that is no kind.
QString KindName(int kind);

// Case-insensitive equality of two names, as every name comparison of the model uses.
bool SameName(const QString &a, const QString &b);
