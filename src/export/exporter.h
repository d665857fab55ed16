#pragma once

#include "exportoptions.h"
#include "pagewriter.h"

#include <QString>

#include <memory>

class CPageModel;
class CVornReport;
struct CRunOptions;

// A writer for the options' format. PNG and SVG write the pages options.firstPage to
// options.lastPage (one page when the name holds no "%d").
std::unique_ptr<CPageWriter> CreatePageWriter(const CExportOptions &options);

// Writes a complete page model (the preview's): every page the options ask for, then the
// output put in place. False with a message on failure or cancellation ("Cancelled"); no file
// is left then.
bool ExportModel(const CPageModel &model, const CExportOptions &options, QString &message);

// Runs the report and writes its pages as they are laid out (RunReportToWriter), in the
// options' format: the command line's way, with memory that does not grow with the pages.
// layOutHere and pagesLaidOut as for RunReportToWriter.
bool RunReportToFile(const CVornReport &report, const CRunOptions &runOptions,
                     const CExportOptions &options, QString &message, bool layOutHere = false,
                     int *pagesLaidOut = nullptr);
