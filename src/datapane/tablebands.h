#pragma once

#include "catalogue.h"
#include "tablechoice.h"

#include <QList>
#include <QString>

class CVornBand;
class CVornDocument;
class CVornReport;

// Queries and bands built from the database's tables, as plain code: what a table dragged
// from the Data pane's schema tree becomes on the design view.
namespace TableBands {

// "SELECT a, b FROM t", names quoted as the database needs; all columns when none are given.
QString SelectQuery(const CCatalogue &catalogue, const CCatalogueTable &table,
                    const QStringList &columns);
// The rows of child that belong to the current row of its master: the query above with
// "WHERE fk = {PK}" for each column of the key, the entries named after the master's columns.
QString DetailQuery(const CCatalogue &catalogue, const CCatalogueTable &child,
                    const QStringList &columns, const CCatalogueForeignKey &key);

// The table a band's query reads first (after its first FROM); null when the catalogue has
// no such table.
const CCatalogueTable *QueryTable(const CCatalogue &catalogue, const QString &query);
// The foreign keys of child that refer to master.
QList<CCatalogueForeignKey> KeysTo(const CCatalogueTable &child, const CCatalogueTable &master);
// The text of a key for the user: "CustomerId -> Customer.CustomerId".
QString KeyText(const CCatalogueForeignKey &key);

// One foreign key followed from a table to the table it refers to.
struct CJoinStep
{
    const CCatalogueTable *from = nullptr;
    CCatalogueForeignKey key;
    const CCatalogueTable *to = nullptr;
};
// The shortest chain of foreign keys from base to target (Track -> Album -> Artist), at most
// three steps; empty when target is not reached (or is base).
QList<CJoinStep> LookUpPath(const CCatalogue &catalogue, const CCatalogueTable &base,
                            const CCatalogueTable &target);

// The band's query with the column of the path's last table added through LEFT JOINs, one per
// step not joined yet, named after its table (another name when the query uses that one).
// Columns of the base table that the new tables share are qualified, and a "*" becomes the
// base table's. field is the name under which the query returns the new column (an alias
// when the query has a column of that name already). False with a message when the query is
// not one that can be extended this way (no SELECT ... FROM at its top, a DISTINCT, a UNION).
bool AddLookUp(const CCatalogue &catalogue, const QString &query, const QList<CJoinStep> &path,
               const QString &column, QString &result, QString &field, QString &message);

// The query with the column added to its select list unless it selects it already (or "*").
QString EnsureSelected(const CCatalogue &catalogue, const QString &query, const QString &column);

// What a drop of a table on a band (bandIndex, -1 below every band) becomes.
struct CDropPlan
{
    enum class Kind {
        NewBand, // a Contents band of the table after the band, headings in a band above it
        SetQuery, // the band has no query: it gets the table's, and its fields
        Detail, // the table refers to the band's: a detail band under it
        LookUp, // columns of a table the band's table reaches: joined into its query
        Fields, // columns of the band's own table: its fields, selected by its query if need be
        Refused,
    };
    Kind kind = Kind::Refused;
    const CCatalogueTable *table = nullptr;
    QStringList columns; // those dropped, all the table's when the whole table was
    QList<CCatalogueForeignKey> keys; // Detail: the keys that could join (the user picks one)
    QList<CJoinStep> path; // LookUp
    QString message; // Refused: why
};
CDropPlan PlanDrop(const CCatalogue &catalogue, const CVornReport &report, int bandIndex,
                   const CTableChoice &choice);

// Where the new items go, in hundredths of a millimetre.
struct CLayout
{
    int left = 1000;
    int columnWidth = 3500; // at most; narrower when the columns would run off the page
    int lineHeight = 500;
    int pageWidth = 21000;
};

// Carries out a plan as one undo step, the new items selected. Detail uses keys[key]; a
// look-up takes lookUpQuery (AddLookUp's result, as the user confirmed it) and lookUpField.
// Returns the band that shows the table's fields, null (with a message) when nothing was done.
CVornBand *Apply(CVornDocument &document, const CCatalogue &catalogue, const CDropPlan &plan,
                 int bandIndex, int key, const QString &lookUpQuery, const QString &lookUpField,
                 const CLayout &layout, QString &message);

} // namespace TableBands
