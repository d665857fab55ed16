#pragma once

#include <QString>

class CVornReport;
class QImage;
struct CRunOptions;

// The files a run of a report makes without keeping its pages. Each checks the output target
// before anything runs and writes it as an output file (see COutputFile): a failed run, a
// refused target or a failed write leaves the target as it was, with one message.

// Runs the report and writes every page to a PDF as it is laid out. The layout runs on a
// thread of its own, at most a few pages ahead of the writer, so that memory does not grow
// with the number of pages; a report that shows the number of pages is laid out twice, once
// to count them and once to write them.
bool RunReportToPdf(const CVornReport &report, const CRunOptions &options, const QString &path,
                    const QString &title, QString &message);

// Runs the report as far as page number (from 1), or to its end when the page shows the
// number of pages, and writes that page as a PNG image at dpi.
bool RunReportToPng(const CVornReport &report, const CRunOptions &options, int number, int dpi,
                    const QString &path, QString &message);

// Writes an image to path as PNG.
bool WritePngFile(const QImage &image, const QString &path, QString &message);
