#pragma once

#include "pagecontent.h"

#include <QString>

#include <atomic>
#include <functional>

class CDataConnection;
class CPageModel;
class CPageSink;
class CVornReport;

// What one run of a report needs besides the report itself.
struct CRunOptions
{
    // The report file's folder: relative SQLite paths are taken from it.
    QString reportFolder;
    // The run's value of the parameter (band, name), letter case ignored, or a null QString
    // when the run has none. Built from the values stored in the report, overridden by the
    // caller's (the command line, the engine's value callback).
    std::function<QString(const QString &band, const QString &name)> parameter;
    // For a report without a database: the value of a DB item, asked with its data source
    // band and data field.
    std::function<QString(const QString &band, const QString &field)> value;
    // Set from another thread to stop the run; the run then fails with "Cancelled".
    const std::atomic_bool *cancel = nullptr;
    // Called on the layout's thread after each page is added to the model.
    std::function<void(int pageCount)> progress;
    // Bounds of a run, so that a query or a report without end fails instead of filling
    // memory or the disk: the rows one query of a band may return, the pages of the run.
    // The column places (labels) left empty before the first printing of each band in columns;
    // -1: as each band says.
    int skipLabels = -1;
    qint64 maxRows = 1'000'000'000;
    int maxPages = 1'000'000;
    // An open connection to the report's database that the run uses instead of opening its
    // own, so that many runs share one (a batch). It stays open after the run; the run must be
    // on the thread that opened it. Null: the run opens and closes its own.
    CDataConnection *connection = nullptr;
};

// Runs the report against its database and lays it out page by page into sink, each page as
// soon as it is complete. Opens and closes its own connection on the calling thread. True when
// the layout reached the end of the report (then the sink's Finish has been called) or the sink
// wanted no more pages; false with the run's one message on failure. failedAt, when given,
// receives the band and item the run was working on when it failed (-1 for none, as for a
// failed connection).
bool RunReport(const CVornReport &report, const CRunOptions &options, CPageSink &sink,
               QString &message, CPageSource *failedAt = nullptr);

// The same into a page model that keeps every page; the model is complete after a run that
// reached the end.
bool RunReport(const CVornReport &report, const CRunOptions &options, CPageModel &model,
               QString &message, CPageSource *failedAt = nullptr);

// Whether a page of the report shows the number of pages, which is known only once the whole
// report has been laid out.
bool UsesPageCount(const CVornReport &report);

// Reads a saved report for a run as File Open would, with messages that name the file: "File
// not found: <path>", "Cannot read the report "<path>": <the system's reason>", and "The report
// "<path>" cannot be opened: <the loader's message>" for a file that is not a valid report.
bool LoadReportForRun(CVornReport &report, const QString &path, QString &message);
