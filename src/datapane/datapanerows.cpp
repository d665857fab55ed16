#include "datapanerows.h"

#include "connectstring.h"
#include "querycolumns.h"
#include "queryentries.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QCoreApplication>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("Vantel", text);
}

QString ConnectionText(const CVornReport &report)
{
    const QString &connect = report.GetConnectString();
    switch (report.GetDatabaseType()) {
    case 0:
        return Tr("SQLite: %1").arg(connect.trimmed());
    case 1: {
        const CFireBirdConnect parts = CFireBirdConnect::Parse(connect);
        return Tr("FireBird: %1")
                .arg(parts.login.isEmpty() ? parts.database : parts.login + u'@' + parts.database);
    }
    case 2:
        return Tr("ODBC: %1").arg(HideOdbcPassword(connect));
    default:
        return Tr("No database: the calling program gives the values");
    }
}

// An outcome of the query as it stands; one of an earlier text is not shown.
const CQueryOutcome *Current(const CQueryOutcome *outcome, const QString &sql)
{
    return outcome && outcome->IsFor(sql) ? outcome : nullptr;
}

// The rows under a query: its columns, or what became of it.
void AddOutcome(QList<CDataPaneRow> &rows, const CQueryOutcome *outcome, const QString &band,
                bool draggable, int depth, bool looking, int timeoutMs)
{
    CDataPaneRow note;
    note.depth = depth;
    if (!outcome) {
        if (!looking)
            return;
        note.text = Tr("Looking up the columns...");
        rows.append(note);
        return;
    }
    switch (outcome->state) {
    case CQueryOutcome::State::Ok:
        for (const CQueryColumn &column : outcome->columns) {
            CDataPaneRow row;
            row.kind = CDataPaneRow::Kind::Column;
            row.depth = depth;
            row.text = column.name;
            row.detail = column.type;
            if (draggable) {
                row.band = band;
                row.field = column.name;
                row.binary = column.binary;
            }
            rows.append(row);
        }
        if (outcome->columns.isEmpty()) {
            note.text = Tr("The query returns no columns");
            rows.append(note);
        }
        return;
    case CQueryOutcome::State::Failed:
        note.text = outcome->message;
        note.problem = true;
        break;
    case CQueryOutcome::State::TimedOut: {
        const int seconds = std::max(1, (timeoutMs + 999) / 1000);
        note.text = seconds == 1 ? Tr("No answer within 1 second: cancelled")
                                 : Tr("No answer within %1 seconds: cancelled").arg(seconds);
        note.problem = true;
        break;
    }
    case CQueryOutcome::State::Cancelled:
        note.text = Tr("Cancelled");
        break;
    }
    rows.append(note);
}

} // namespace

QList<CDataPaneRow> DataPaneRows(const CVornReport &report, const CReportColumns &columns,
                                 bool looking, int timeoutMs)
{
    QList<CDataPaneRow> rows;
    CDataPaneRow connection;
    connection.kind = CDataPaneRow::Kind::Connection;
    connection.text = ConnectionText(report);
    rows.append(connection);
    const int type = report.GetDatabaseType();
    if (type < 0 || type > 2)
        return rows;
    if (!columns.GetConnectionError().isEmpty() && !looking) {
        CDataPaneRow note;
        note.depth = 1;
        note.text = columns.GetConnectionError();
        note.problem = true;
        rows.append(note);
        return rows;
    }
    for (const CVornBand *band : report.GetBands()) {
        const bool ownQuery = HasQuery(band->GetDatabaseQuery());
        QList<CDataPaneRow> items;
        for (const CVornItem *item : band->GetItems()) {
            const auto *text = dynamic_cast<const CVornDbText *>(item);
            if (!text || !HasQuery(text->GetQuery()))
                continue;
            CDataPaneRow row;
            row.kind = CDataPaneRow::Kind::ItemQuery;
            row.depth = 1;
            row.text = item->GetName();
            row.detail = Tr("own query");
            items.append(row);
            // An item's own query serves that item only: its columns are not for dragging.
            AddOutcome(items,
                       Current(columns.Item(band->GetName(), item->GetName()), text->GetQuery()),
                       band->GetName(), false, 2, looking, timeoutMs);
        }
        if (!ownQuery && items.isEmpty())
            continue;
        CDataPaneRow bandRow;
        bandRow.kind = CDataPaneRow::Kind::Band;
        bandRow.text = band->GetName();
        bandRow.detail = band->BandKindName();
        rows.append(bandRow);
        if (ownQuery)
            AddOutcome(rows, Current(columns.Band(band->GetName()), band->GetDatabaseQuery()),
                       band->GetName(), true, 1, looking, timeoutMs);
        rows += items;
    }
    return rows;
}

QString ColumnReference(const CDataPaneRow &row)
{
    if (row.kind != CDataPaneRow::Kind::Column || row.band.isEmpty())
        return {};
    return row.band + u'.' + row.field;
}
