#pragma once

#include "objectarray.h"
#include "validationfault.h"
#include "vornelement.h"
#include "vornitem.h"

class CQueryEntries;

// How a band meets the pages, beyond its place in the band list. Every field is an extension of
// the file format, written only when it differs from the default here.
struct CBandPaging
{
    enum NewPage { NoNewPage = 0, NewPageBefore = 1, NewPageAfter = 2 };
    enum ColumnOrder { AcrossThenDown = 0, DownThenAcross = 1 };

    int newPage = NoNewPage; // of a Report Contents band: it starts, or ends, a page
    int resetPageNumber = 0; // 1: each printing starts the page numbers again at 1
    int keepWithNext = 0; // 1: never the last thing on a page, where the next band fits
    int repeatHeader = 0; // 1: a group header printed again on the pages its group goes on to
    int keepTogether = 0; // 1: the band with all it prints after it on one page, where it fits
    int columns = 1; // the band's rows side by side in this many columns
    int columnGap = 0; // between two columns, in hundredths of a millimetre
    int columnOrder = AcrossThenDown;
    // The width of one column (0: the page's width shared out, the first column at the left
    // edge) and the first column's left edge, in hundredths of a millimetre.
    int columnWidth = 0;
    int columnLeft = 0;
    int skipLabels = 0; // column places left empty before the first row

    friend bool operator==(const CBandPaging &, const CBandPaging &) = default;
};

// Where the columns of a band lie across a page, in hundredths of a millimetre: column c from
// left + c * pitch, width wide. Out-of-range settings from a file are brought into range: at
// most 100 columns, no negative gap; a single column when a column would start beyond the
// page's right edge.
struct CColumnPlaces
{
    int count = 1;
    int left = 0;
    int width = 0;
    int pitch = 0;
};
CColumnPlaces ColumnPlacesOf(const CBandPaging &paging, int pageWidth);

// One horizontal band of the report page with its items. Its kind is one of the
// six band codes; only a Report Contents band may name group header and footer
// bands, which must themselves be Report Contents bands.
class CVornBand : public CVornElement
{
public:
    CVornBand() = default;
    explicit CVornBand(int kind, const QString &name = QString());
    ~CVornBand() override;

    // Height 0, no group bands, printed on the first page, no items; name,
    // kind, query and parent data source stay.
    void Reset() override;
    bool Validate(QString &message) const override;
    // Every rule of Validate that the band breaks, in Validate's order, with the message
    // Validate gives for it and the item it concerns (-1 for the band itself): Validate's
    // message is the first. A walk goes on while found returns true; false when it stopped.
    // The faults' band is -1: the band does not know its place in the report.
    bool VisitFaults(const ValidationVisitor &found) const;

    // Display name of the band's kind, "Unknown" for a code that is no band.
    QString BandKindName() const;

    // Adds the entries of the band's query and of its DB Text items' queries.
    bool CollectQueryEntries(CQueryEntries &entries, QString &message) const;

    // The height the band takes on the page: 0 for a Page Break.
    int GetEffectiveHeight() const;

    const CObjectArray<CVornItem *> &GetItems() const { return m_items; }
    CObjectArray<CVornItem *> &GetItems() { return m_items; }

    int GetHeight() const { return m_height; }
    void SetHeight(int height) { m_height = height; }
    int GetPrintOnFirstPage() const { return m_printOnFirstPage; }
    void SetPrintOnFirstPage(int print) { m_printOnFirstPage = print; }
    const QString &GetHeader() const { return m_header; }
    void SetHeader(const QString &name) { m_header = name; }
    const QString &GetFooter() const { return m_footer; }
    void SetFooter(const QString &name) { m_footer = name; }
    const QString &GetDatabaseQuery() const { return m_databaseQuery; }
    void SetDatabaseQuery(const QString &query) { m_databaseQuery = query; }
    const QString &GetParentDataSource() const { return m_parentDataSource; }
    void SetParentDataSource(const QString &name) { m_parentDataSource = name; }
    // The condition under which the band prints (empty: always); a band that does not print
    // takes no space.
    const QString &GetPrintWhen() const { return m_printWhen; }
    void SetPrintWhen(const QString &expression) { m_printWhen = expression; }
    const CBandPaging &GetPaging() const { return m_paging; }
    CBandPaging &GetPaging() { return m_paging; }
    void SetPaging(const CBandPaging &paging) { m_paging = paging; }

private:
    CObjectArray<CVornItem *> m_items;
    int m_height = 0;
    int m_printOnFirstPage = 1;
    QString m_header;
    QString m_footer;
    QString m_databaseQuery;
    QString m_parentDataSource;
    QString m_printWhen;
    CBandPaging m_paging;
};
