#pragma once

#include <QString>

class CRenderArguments;
class CVornReport;
struct CRunOptions;

// What vantel-render --print asks of the printing system.
struct CPrintRequest
{
    QString queue; // the CUPS queue; empty for the system's default
    int copies = 1;
    int firstPage = 1;
    int lastPage = 0; // 0: to the last page
    QString title; // the job's name
};

// Prints a report through CUPS as the designer prints it: every page (or the range asked for)
// on a sheet of the report's own size without margins, the paper asked for by its standard name
// where it has one. The pages are written as a PDF to a temporary file and handed to CUPS's lp
// command, which queues them. jobId receives the job's name in the queue ("office-17"), pages
// the pages the report has. False with a message when the run failed, lp is missing or CUPS
// refused the job.
bool PrintReport(const CVornReport &report, const CRunOptions &options,
                 const CPrintRequest &request, QString &jobId, int &pages, QString &message,
                 bool layOutHere = false);

// The media name lp is given for pages of size (hundredths of a millimetre, as they lie): a
// standard paper's name ("A4", "Letter") when the size is one, either way round, else a custom
// size in millimetres ("Custom.100x150mm").
QString PrintMedia(int width, int height);

// The request the command line makes: its queue, copies and pages; the report's title (or
// the file's name without its suffix) as the job's name.
CPrintRequest PrintRequestOf(const CRenderArguments &arguments, const CVornReport &report);

// vantel-render REPORT.vnt --print [QUEUE] [--copies N] [--pages A-B]: one job, its id printed
// on standard output by the caller.
bool RunPrintCommand(const CRenderArguments &arguments, QString &jobId, QString &message);
