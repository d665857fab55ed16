#include "reportprinter.h"

#include "pagemodel.h"
#include "pagerender.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace ReportPrinter {

void PreparePrinter(const CPageModel &model, QPrinter &printer)
{
    // Hundredths of a millimetre; drivers know sheets in portrait position, turned as needed.
    const QSize size = model.GetPageSize();
    const bool landscape = size.width() > size.height();
    const QSizeF portrait = landscape ? QSizeF(size.height() / 100.0, size.width() / 100.0)
                                      : QSizeF(size.width() / 100.0, size.height() / 100.0);
    printer.setPageLayout(QPageLayout(QPageSize(portrait, QPageSize::Millimeter),
                                      landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      QMarginsF(), QPageLayout::Millimeter));
    printer.setFullPage(true);
    printer.setFromTo(0, 0);
}

bool PrintPages(const CPageModel &model, QPrinter &printer, QString &message)
{
    const int count = model.GetPageCount();
    int first = 0;
    int last = count - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(0, printer.fromPage() - 1);
        last = std::min(count - 1, std::max(first, printer.toPage() - 1));
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        message = QCoreApplication::translate("ReportPrinter", "The printer could not be opened");
        return false;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (int index = first; index <= last; ++index) {
        if (index > first && !printer.newPage()) {
            message = QCoreApplication::translate("ReportPrinter", "Printing stopped at page %1")
                              .arg(index + 1);
            return false;
        }
        const QRectF paper = printer.pageLayout().fullRectPixels(printer.resolution());
        PaintPage(painter, model, index, QRectF(QPointF(0, 0), paper.size()));
    }
    return painter.end();
}

bool PrintWithDialog(const CPageModel &model, const QString &title, QWidget *parent,
                     QString &message)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    PreparePrinter(model, printer);
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, std::max(1, model.GetPageCount()));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return PrintPages(model, printer, message);
}

} // namespace ReportPrinter
