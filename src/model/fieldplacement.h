#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class CVornBand;
class CVornDocument;
class CVornItem;
class CVornReport;

// A database field to place on a band as a new item: a DB Text, or a DB Image for a column
// that holds binary data. The Data pane hands such fields to the design view by drag and drop
// (under FieldsMimeType), and the Elements pane's ready-made page-number entries are lists of
// them too.
struct CFieldChoice
{
    QString dataSource; // the band whose query returns the field; empty for page fields
    QString dataField;
    bool binary = false;
    QString format; // the DB Text's Data Format
    int horzAlignment = 0;
    // The new item's name before it is made unique; the field's name when empty.
    QString name;
    // The new item's width in hundredths of a millimetre; 0 for the width of the placement.
    int width = 0;

    friend bool operator==(const CFieldChoice &, const CFieldChoice &) = default;
};

namespace FieldChoice {

// The type of dragged fields.
inline constexpr char MimeType[] = "application/x-vantel-fields";

QByteArray Encode(const QList<CFieldChoice> &fields);
// Empty for bytes that are not a list of fields.
QList<CFieldChoice> Decode(const QByteArray &bytes);

// The Elements pane's "Page Number" (one DB Text "Page %d" of #PAGE) and "Page N of M" (that one
// right-aligned, followed by "of %d" of #PAGES, only as wide as a count of four digits needs).
QList<CFieldChoice> PageNumber();
QList<CFieldChoice> PageNofM();

// The codes of those two entries among the kind codes of the Elements pane's rows, and the
// fields an entry places (none for any other code).
inline constexpr int PageNumberEntry = 101;
inline constexpr int PageNofMEntry = 102;
QList<CFieldChoice> ForElementsEntry(int code);

// A name for a new item showing the field: the base itself, else "base 2", "base 3" and so on,
// the first that no band or item of the report has and that is no query entry of the band (an
// item named like one of its band's entries would make the report invalid). Empty when none
// up to 99999 is free.
QString UniqueItemName(const CVornReport &report, const CVornBand &band, const QString &base);

// Where and how large the new items are, in hundredths of a millimetre: the first one's top-left
// corner in the band's coordinates, each one's width and height, and the page's right edge.
struct Placement
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int pageRight = 0;
};

// Puts one new item per field on the band, side by side from the placement's corner (those of
// no width of their own narrower when they would run past the page's right edge, all of them
// further left when they still would, and moved up when they would hang below the band), as
// one undo step named stepName; the new items become the selection. A DB Image is as
// high as it is wide. Returns the new items.
QList<CVornItem *> Place(CVornDocument &document, CVornBand &band, const Placement &placement,
                         const QList<CFieldChoice> &fields, const QString &stepName);

} // namespace FieldChoice
