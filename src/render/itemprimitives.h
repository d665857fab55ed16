#pragma once

#include "bandcontent.h"
#include "pagecontent.h"

#include <QByteArray>
#include <QRgb>
#include <QVariant>

#include <memory>
#include <optional>

struct CChartData;
class CDataFormat;
class CDisplayFormat;
class CExprValue;
class CVornItem;
template<typename Entry>
class CKindTable;

// What the layout works out once per run for an item, before any row is printed.
struct CItemPlan
{
    const CVornItem *item = nullptr;
    CPageSource place; // the item's band and its place in the band's item list
    int font = 0; // of a text: index into the run's font table
    CPageText::Field field = CPageText::Field::None; // a page number or count a DB Text prints
    std::shared_ptr<const CDataFormat> format; // a DB Text's Data Format, when it has one
    std::shared_ptr<const CDisplayFormat> display; // its Display Format, which wins when set
    std::shared_ptr<const CPagePicture> picture; // of a static Image
};

// What the style rule that holds for a printing of an item sets in place of the item's own
// properties (nothing when none holds).
struct CItemStyle
{
    std::optional<QRgb> color;
    std::optional<QRgb> fill;
    int font = -1; // of a text: the font with the rule's bold and italic, -1 for the item's own
};

// One item in the printing of its band, as the layout hands it to the code that turns the item
// into page primitives: its plan, and its values in the row being printed. A call that answers
// false has failed the run, whose message says why.
class CItemRow
{
public:
    virtual const CItemPlan &Plan() const = 0;
    // Whether the report has no database: the caller gives every value.
    virtual bool NoDatabase() const = 0;
    // The value of a DB item's field: in the current row of its data source band, in the first
    // row of its own query when it has one, or from the caller without a database.
    virtual bool Value(const QString &dataSource, const QString &field, const QString &query,
                       QVariant &value)
            = 0;
    // Whether a DB Text prints a running total of its field, and that total as it stands with
    // the row being printed.
    virtual bool HasTotal() const = 0;
    virtual bool Total(QVariant &value) = 0;
    // The run's picture of bytes: the same bytes give the same picture, decoded once.
    virtual std::shared_ptr<const CPagePicture> PictureOf(const QByteArray &bytes) = 0;
    // The style rule's properties for this printing.
    virtual const CItemStyle &Style() const = 0;
    // Whether a DB Text computes its value by an expression, and that value: either now, or,
    // for one that reads the page number or count, a field computed when the page is drawn.
    virtual bool HasExpression() const = 0;
    virtual bool Evaluate(CExprValue &value, std::shared_ptr<const CPageFieldValue> &computed) = 0;
    // The value as the DB Text writes it: NULL as nothing, then by its Display Format or Data
    // Format. False, failing the run with a message naming the band, the item and the value,
    // when the format does not take it.
    virtual bool Write(const QVariant &value, QString &text) = 0;
    virtual bool Write(const CExprValue &value, QString &text) = 0;
    // Fails the run with a message naming the band and the item that cannot print what (a
    // value, and why); always false.
    virtual bool Refuse(const QString &what) = 0;
    // A chart's categories and series: the rows its data source band printed in its scope, or
    // all rows of its own query.
    virtual bool Chart(CChartData &data) = 0;

protected:
    ~CItemRow() = default;
};

// Adds the primitives of an item drawn in box (in the band, cut to its width) to content.
using CBuildPrimitives = bool (*)(const CVornItem &item, const CPageRect &box, CItemRow &row,
                                  CBandContent &content);

// One function per printable kind, in the files of its family.
bool BuildTextPrimitives(const CVornItem &item, const CPageRect &box, CItemRow &row,
                         CBandContent &content);
bool BuildDbTextPrimitives(const CVornItem &item, const CPageRect &box, CItemRow &row,
                           CBandContent &content);
bool BuildShapePrimitives(const CVornItem &item, const CPageRect &box, CItemRow &row,
                          CBandContent &content);
bool BuildImagePrimitives(const CVornItem &item, const CPageRect &box, CItemRow &row,
                          CBandContent &content);
bool BuildDbImagePrimitives(const CVornItem &item, const CPageRect &box, CItemRow &row,
                            CBandContent &content);
bool BuildBarcodePrimitives(const CVornItem &item, const CPageRect &box, CItemRow &row,
                            CBandContent &content);
bool BuildDbBarcodePrimitives(const CVornItem &item, const CPageRect &box, CItemRow &row,
                              CBandContent &content);

// How the engine prints the items of one kind.
struct CItemPrinting
{
    CBuildPrimitives build;
    // The picture an item prints whatever its data (a static Image's), decoded once per run;
    // null for a kind without one.
    const QByteArray *(*picture)(const CVornItem &item) = nullptr;
};

// The printing of the kind of that code; null for a kind that prints nothing.
const CItemPrinting *ItemPrintingOf(int code);

// Each kind family's printing, added by the file of its primitives.
void AddTextPrinting(CKindTable<CItemPrinting> &table);
void AddShapePrinting(CKindTable<CItemPrinting> &table);
void AddImagePrinting(CKindTable<CItemPrinting> &table);
void AddBarcodePrinting(CKindTable<CItemPrinting> &table);
void AddChartPrinting(CKindTable<CItemPrinting> &table);

// A colour of the model (0x00BBGGRR) as a page colour.
QRgb PageColor(quint32 colorRef);
