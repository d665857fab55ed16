#pragma once

#include "querycolumns.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

class CVornBand;
class CVornReport;

// How to look up a report's columns.
struct CDiscoveryOptions
{
    // The report file's folder: relative SQLite paths are taken from it.
    QString reportFolder;
    // The value of the parameter (band, name) to use instead of the stored one, or a null
    // QString to take the stored value (the command line's --param).
    std::function<QString(const QString &band, const QString &name)> parameter;
    // Set from another thread to stop; the queries not yet answered are then Cancelled.
    const std::atomic_bool *cancel = nullptr;
    // A query (and a server's connection) that has not answered within this time is cancelled
    // and reported as TimedOut; the next query gets a fresh connection.
    int timeoutMs = 10000;
};

// Runs every query of the report against its database, as a run would but fetching at most one
// row of each, to learn the columns they return: each band's own query and each DB Text's query
// of its own. Entries take their values as in a run: the first row of the bands of their context
// (EntryContext), then the parameter's value. Goes through the engine's data layer, so the
// same read-only rules hold. Runs on the calling thread (a worker, for the designer); it may
// take as long as the queries do, bounded per query by the timeout.
CReportColumns DiscoverColumns(const CVornReport &report, const CDiscoveryOptions &options);

// The values the first rows of a band's context (EntryContext) give the named entries, as a run
// binds them: each context band's query is run as DiscoverColumns runs it and the nearest row
// that has a column of the name gives its value. Keys in lower case; names no row holds are left
// out. Nothing for a band without a context.
QHash<QString, QString> ContextEntryValues(const CVornReport &report, const CVornBand &band,
                                           const QStringList &names,
                                           const CDiscoveryOptions &options);
