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
};
} // namespace VornKind

// True exactly for the six band kinds 1, 2, 3, 4, 5 and 8.
bool IsBand(int kind);

// True for the seven printable item kinds 9 to 12 and 14 to 16.
bool IsItemKind(int kind);

// Display name of a kind ("Report Contents", "Text", "DB Barcode", ...), or the
// empty text for a code that is no kind.
QString KindName(int kind);

// Display names of the alignment codes. The horizontal codes run Left, Right,
// Center; Stretch (3) exists for images only, so a text shows "(Unknown)" for it.
QString HorzAlignmentName(int code, bool allowStretch);
QString VertAlignmentName(int code, bool allowStretch);

// Display names of the shape types (1 to 5) and line styles (1 Solid, 2 Dotted);
// any other code gives the empty text.
QString ShapeTypeName(int type);
QString LineStyleName(int style);

// Display names of a DB Text's aggregates (0 "None", 1 "Sum", 2 "Count", 3 "Average",
// 4 "Minimum", 5 "Maximum") and of their scopes (0 "Band", 1 "Page", 2 "Report"); any other
// code gives the empty text.
QString AggregateName(int aggregate);
QString AggregateOverName(int over);
// The names of a band's "Start New Page" and "Column Order" codes.
QString NewPageName(int code);
QString ColumnOrderName(int code);

// Case-insensitive equality of two names, as every name comparison of the model uses.
bool SameName(const QString &a, const QString &b);
