#include "reportprinter.h"

#include "pagemodel.h"
#include "pagerender.h"
#include "reportprintdialog.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace ReportPrinter {

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("ReportPrinter", text);
}

// Paper sizes are given to a tenth of a millimetre or in inches; within this they are the same.
constexpr double PaperSlack = 0.5;

} // namespace

QPageLayout ReportPageLayout(QSize size)
{
    // Drivers know sheets in portrait position, turned as needed; a size within a point of a
    // standard paper takes its name, so that a printer gets "A5" rather than a custom size.
    const bool landscape = size.width() > size.height();
    const QSizeF portrait = landscape ? QSizeF(size.height() / 100.0, size.width() / 100.0)
                                      : QSizeF(size.width() / 100.0, size.height() / 100.0);
    return QPageLayout(QPageSize(portrait, QPageSize::Millimeter),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(),
                       QPageLayout::Millimeter);
}

void PreparePrinter(const CPageModel &model, QPrinter &printer)
{
    printer.setPageLayout(ReportPageLayout(model.GetPageSize()));
    printer.setFullPage(true);
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFromTo(1, std::max(1, model.GetPageCount()));
}

QRectF PlaceOnPaper(QSizeF pageSize, QSizeF paperSize)
{
    if (pageSize.isEmpty() || paperSize.isEmpty())
        return QRectF();
    double scale = 1.0;
    if (pageSize.width() > paperSize.width() + PaperSlack
        || pageSize.height() > paperSize.height() + PaperSlack)
        scale = std::min(paperSize.width() / pageSize.width(),
                         paperSize.height() / pageSize.height());
    const QSizeF placed = pageSize * scale;
    return QRectF(QPointF((paperSize.width() - placed.width()) / 2,
                          (paperSize.height() - placed.height()) / 2),
                  placed);
}

bool PrintPages(const CPageModel &model, QPrinter &printer, QString &message,
                const std::atomic_bool *cancel,
                const std::function<void(int done, int total)> &progress)
{
    const int count = model.GetPageCount();
    int first = 0;
    int last = count - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(0, printer.fromPage() - 1);
        last = std::min(count - 1, std::max(first, printer.toPage() - 1));
    }
    const QSize units = model.GetPageSize();
    const QSizeF pageMm(units.width() / 100.0, units.height() / 100.0);
    QPainter painter;
    if (!painter.begin(&printer)) {
        message = Tr("The printer could not be opened");
        return false;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (int index = first; index <= last; ++index) {
        if (cancel && cancel->load()) {
            // Nothing of a cancelled job reaches the printer.
            printer.abort();
            message = Tr("Cancelled");
            return false;
        }
        if (index > first && !printer.newPage()) {
            message = Tr("Printing stopped at page %1").arg(index + 1);
            return false;
        }
        // The paper as the driver gave it, which may differ from the report's sheet.
        const QPageLayout paper = printer.pageLayout();
        const QRectF placed = PlaceOnPaper(pageMm, paper.fullRect(QPageLayout::Millimeter).size());
        const double pixelsPerMm = printer.resolution() / 25.4;
        PaintPage(painter, model, index,
                  QRectF(placed.topLeft() * pixelsPerMm, placed.size() * pixelsPerMm));
        if (progress)
            progress(index - first + 1, last - first + 1);
    }
    if (!painter.end()) {
        message = Tr("The printer could not finish the job");
        return false;
    }
    return true;
}

bool AskPrinter(const CPageModel &model, QPrinter &printer, QWidget *parent)
{
    PreparePrinter(model, printer);
    CReportPrintDialog dialog(&printer, ReportPageLayout(model.GetPageSize()), parent);
    dialog.setMinMax(1, std::max(1, model.GetPageCount()));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace ReportPrinter
