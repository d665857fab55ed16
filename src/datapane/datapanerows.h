#pragma once

#include <QList>
#include <QString>

class CReportColumns;
class CVornReport;

// One row of the Data pane, as plain data: the pane's tree only shows a list of them.
struct CDataPaneRow
{
    enum class Kind {
        Connection, // the report's database
        Band, // a band with a query of its own
        ItemQuery, // a DB Text with a query of its own, under its band
        Column, // a column of the query above
        Note, // a message under the row above: a failure, a time-out, "looking up"
    };

    Kind kind = Kind::Note;
    int depth = 0; // 0 for the connection and the bands
    QString text;
    QString detail; // the second column: a column's type, a band's kind
    bool problem = false; // shown as a problem (a failed query, no connection)
    // Columns of a band's query: what a drag of the row places.
    QString band;
    QString field;
    bool binary = false;

    friend bool operator==(const CDataPaneRow &, const CDataPaneRow &) = default;
};

// The rows of the Data pane for the report: its connection (the password never shown), then
// every band with a query of its own in report order with its columns (name and type in query
// order) or what went wrong, and under it each DB Text that has a query of its own with its
// columns. Bands without a query are left out. columns are the last ones looked up; looking
// says a look-up is running, so that a query not answered yet shows "Looking up the
// columns...".
QList<CDataPaneRow> DataPaneRows(const CVornReport &report, const CReportColumns &columns,
                                 bool looking, int timeoutMs);

// The text a double-click on a column puts on the clipboard: "Band.FIELD".
QString ColumnReference(const CDataPaneRow &row);
