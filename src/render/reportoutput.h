#pragma once

#include <QString>

class CPageWriter;
class CVornReport;
class QImage;
struct CRunOptions;

// The files a run of a report makes without keeping its pages. Each checks the output target
// before anything runs and writes it as an output file (see COutputFile): a failed run, a
// refused target or a failed write leaves the target as it was, with one message.

// Runs the report and hands the pages first to last (0: to the end) to writer as they are laid
// out. The writer's target is checked (Begin) before anything runs. The layout runs on a thread
// of its own, at most a few pages ahead of the writer, so that memory does not grow with the
// number of pages, and stops after the last page wanted; a report that shows the number of
// pages is laid out twice, once to count them and once to write them. On any failure the
// writer is cancelled and message says why. With layOutHere the layout runs on the calling
// thread instead, each page written as soon as it is made: for many small runs in a row, which
// share a connection opened on this thread (options.connection) and gain nothing from a thread
// started for each. pagesLaidOut, when given, receives the number of pages laid out.
bool RunReportToWriter(const CVornReport &report, const CRunOptions &options, CPageWriter &writer,
                       int first, int last, QString &message, bool layOutHere = false,
                       int *pagesLaidOut = nullptr);

// RunReportToWriter for every page into a PDF (PDF/A-1b when pdfa is set).
bool RunReportToPdf(const CVornReport &report, const CRunOptions &options, const QString &path,
                    const QString &title, QString &message, bool pdfa = false);

// Runs the report as far as page number (from 1), or to its end when the page shows the
// number of pages, and writes that page as a PNG image at dpi.
bool RunReportToPng(const CVornReport &report, const CRunOptions &options, int number, int dpi,
                    const QString &path, QString &message);

// Writes an image to path as PNG.
bool WritePngFile(const QImage &image, const QString &path, QString &message);
