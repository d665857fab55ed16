#pragma once

#include <QString>

#include <atomic>
#include <functional>

class CVornReport;

// What an export writes and where: the format follows the file name's suffix.
enum class ExportFormat { Pdf, Png, Svg, Html, Csv, Xlsx };

struct CExportOptions
{
    ExportFormat format = ExportFormat::Pdf;
    // The file to write. For PNG and SVG it may hold one "%d", which stands for the page
    // number: every page (or the range below) then goes to a file of its own.
    QString path;
    // The report's title: the PDF's and the HTML page's title, the XLSX sheet's name.
    QString title;
    // The report itself, for the data exports (band names, data fields, Data Formats). It must
    // stay unchanged while the export runs.
    const CVornReport *report = nullptr;
    // PDF/A-1b for archives instead of a plain PDF.
    bool pdfa = false;
    // Resolution of PNG images.
    int dpi = 96;
    // The pages of a PNG or SVG export, from 1; lastPage 0 stands for the last page there is.
    // A name without "%d" gets firstPage alone.
    int firstPage = 1;
    int lastPage = 0;
    // Set from another thread to stop; the export then fails with "Cancelled" and leaves no
    // file behind.
    const std::atomic_bool *cancel = nullptr;
    // Called after each page written, with the count written so far and the count to write.
    std::function<void(int done, int total)> progress;
};

namespace ExportFiles {

// The format a file name ends in (".pdf", ".png", ".svg", ".html" or ".htm", ".csv", ".xlsx",
// letter case ignored); false when it ends in none of them.
bool FormatOf(const QString &path, ExportFormat &format);

// Whether the name holds a page pattern: exactly one "%d" (other '%' signs are plain text).
bool HasPagePattern(const QString &path);

// The name of one page's file: the pattern with its "%d" replaced by the page number.
QString PagePath(const QString &pattern, int page);

// Whether the format writes a file per page (PNG, SVG).
bool IsPerPage(ExportFormat format);

// The save dialog's filter for the format ("PDF Files (*.pdf)").
QString FilterOf(ExportFormat format);
// The suffix a new file of the format gets ("pdf").
QString SuffixOf(ExportFormat format);

} // namespace ExportFiles
