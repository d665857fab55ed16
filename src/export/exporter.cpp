#include "exporter.h"

#include "datawriter.h"
#include "htmlwriter.h"
#include "imagewriter.h"
#include "pagemodel.h"
#include "pdfwriter.h"
#include "reportoutput.h"
#include "reportrun.h"

#include <QCoreApplication>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("ExportModel", text);
}

} // namespace

std::unique_ptr<CPageWriter> CreatePageWriter(const CExportOptions &options)
{
    switch (options.format) {
    case ExportFormat::Pdf:
        return std::make_unique<CPdfFileWriter>(options.path, options.title, options.pdfa);
    case ExportFormat::Png:
    case ExportFormat::Svg:
        return std::make_unique<CImageWriter>(options);
    case ExportFormat::Html:
        return std::make_unique<CHtmlWriter>(options);
    case ExportFormat::Csv:
    case ExportFormat::Xlsx:
        break;
    }
    return std::make_unique<CDataWriter>(options);
}

bool ExportModel(const CPageModel &model, const CExportOptions &options, QString &message)
{
    const int count = model.GetPageCount();
    if (count == 0) {
        message = Tr("The report has no pages to write.");
        return false;
    }
    // The pages a file per page takes; the other formats take them all.
    int first = 1;
    int last = count;
    if (ExportFiles::IsPerPage(options.format)) {
        first = options.firstPage;
        last = !ExportFiles::HasPagePattern(options.path) ? first
                : options.lastPage > 0                    ? std::min(options.lastPage, count)
                                                          : count;
        if (first < 1 || first > count) {
            message = QCoreApplication::translate("ExportModel",
                                                  "The report has %n page(s); there is no page %1",
                                                  nullptr, count)
                              .arg(first);
            return false;
        }
    }
    std::unique_ptr<CPageWriter> writer = CreatePageWriter(options);
    if (!writer->Begin(model.GetPageSize(), message))
        return false;
    for (int number = first; number <= last; ++number) {
        if (options.cancel && options.cancel->load()) {
            writer->Cancel();
            message = Tr("Cancelled");
            return false;
        }
        const std::shared_ptr<const CPage> page = model.GetPage(number - 1);
        if (!page || !writer->WritePage(*page, number, count, message)) {
            writer->Cancel();
            return false;
        }
        if (options.progress)
            options.progress(number - first + 1, last - first + 1);
    }
    if (!writer->Finish(message)) {
        writer->Cancel();
        return false;
    }
    return true;
}

bool RunReportToFile(const CVornReport &report, const CRunOptions &runOptions,
                     const CExportOptions &options, QString &message, bool layOutHere,
                     int *pagesLaidOut)
{
    int first = 1;
    int last = 0;
    if (ExportFiles::IsPerPage(options.format)) {
        first = options.firstPage;
        last = ExportFiles::HasPagePattern(options.path) ? options.lastPage : first;
    }
    std::unique_ptr<CPageWriter> writer = CreatePageWriter(options);
    return RunReportToWriter(report, runOptions, *writer, first, last, message, layOutHere,
                             pagesLaidOut);
}
