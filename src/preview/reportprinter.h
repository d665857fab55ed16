#pragma once

#include <QPageLayout>
#include <QRectF>
#include <QString>

#include <atomic>
#include <functional>

class CPageModel;
class QPrinter;
class QWidget;

// Printing a laid-out report: each page on a sheet of the report's own size and orientation,
// without margins, as the layout placed it. On other paper a page is printed at its real size
// in the middle of the sheet when it fits, else scaled down to fit whole: never cut.
namespace ReportPrinter {

// The sheet of a report whose pages are size (hundredths of a millimetre, landscape applied):
// the standard paper of that size where there is one (A4, A5, Letter...), turned for a page
// wider than high, without margins.
QPageLayout ReportPageLayout(QSize size);

// Sets the printer's paper to the report's sheet and the page range to every page there is.
void PreparePrinter(const CPageModel &model, QPrinter &printer);

// Where a page of pageSize goes on a sheet of paperSize (both in millimetres, as they lie):
// at 100 % in the middle when it fits (half a millimetre of slack for the rounding of paper
// sizes), else scaled down, keeping its proportions, until it fits whole, in the middle.
QRectF PlaceOnPaper(QSizeF pageSize, QSizeF paperSize);

// Prints the pages the printer's range asks for (every page when it asks for none), each
// placed on the printer's paper by PlaceOnPaper. The printer may be used from any thread.
// Stops, printing nothing, when cancel is set (the message is then "Cancelled"); progress is
// told the pages printed and the pages to print. False with a message when printing failed.
bool PrintPages(const CPageModel &model, QPrinter &printer, QString &message,
                const std::atomic_bool *cancel = nullptr,
                const std::function<void(int done, int total)> &progress = {});

// The system print dialog over parent for a prepared printer; it opens with the report's sheet
// (set again after the dialog has applied the printer's defaults) and every page. False when
// the user cancelled.
bool AskPrinter(const CPageModel &model, QPrinter &printer, QWidget *parent);

} // namespace ReportPrinter
