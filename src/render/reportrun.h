#pragma once

#include "pagecontent.h"

#include <QString>

#include <atomic>
#include <functional>

class CPageModel;
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
};

// Runs the report against its database and lays it out into model, page by page (the first
// page is in the model as soon as it is complete). Opens and closes its own connection on the
// calling thread. False with the run's one message on failure; the model is then incomplete.
// failedAt, when given, receives the band and item the run was working on when it failed
// (-1 for none, as for a failed connection).
bool RunReport(const CVornReport &report, const CRunOptions &options, CPageModel &model,
               QString &message, CPageSource *failedAt = nullptr);
