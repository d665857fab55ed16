#include "reportoutput.h"

#include "outputfile.h"
#include "pagequeue.h"
#include "pagerender.h"
#include "pagewriter.h"
#include "pdfwriter.h"
#include "reportrun.h"
#include "vornreport.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QImageWriter>

#include <exception>
#include <thread>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("ReportOutput", text);
}

// Pages a layout may run ahead of the PDF writer.
constexpr int QueuedPages = 16;

// Counts the pages of a run and keeps one of them, if asked; drops the others at once.
class CPageCounter final : public CPageSink
{
public:
    explicit CPageCounter(int keep = 0, bool toTheEnd = true)
        : m_keep(keep)
        , m_toTheEnd(toTheEnd)
    { }

    Next AddPage(std::shared_ptr<const CPage> page, int number, QString &) override
    {
        m_count = number;
        if (number == m_keep) {
            m_kept = std::move(page);
            if (!m_toTheEnd)
                return Next::Enough;
        }
        return Next::More;
    }

    bool Finish(int pageCount, QString &) override
    {
        m_complete = true;
        m_count = pageCount;
        return true;
    }

    int m_keep;
    bool m_toTheEnd;
    int m_count = 0;
    bool m_complete = false;
    std::shared_ptr<const CPage> m_kept;
};

// Hands each page to a writer as soon as the layout has made it, on the layout's thread.
class CWriterSink final : public CPageSink
{
public:
    CWriterSink(CPageWriter &writer, int first, int last, int count)
        : m_writer(writer)
        , m_first(first)
        , m_last(last)
        , m_count(count)
    { }

    Next AddPage(std::shared_ptr<const CPage> page, int number, QString &message) override
    {
        m_seen = number;
        if (number >= m_first) {
            m_written
                    = m_writer.WritePage(*page, number, m_count > 0 ? m_count : number, m_message);
            if (!m_written) {
                message = m_message;
                return Next::Fail;
            }
        }
        m_enough = m_last > 0 && number >= m_last;
        return m_enough ? Next::Enough : Next::More;
    }

    bool Finish(int pageCount, QString &) override
    {
        m_finalCount = pageCount;
        return true;
    }

    CPageWriter &m_writer;
    const int m_first;
    const int m_last;
    const int m_count;
    int m_seen = 0;
    int m_finalCount = 0;
    bool m_written = true;
    bool m_enough = false;
    QString m_message;
};

QString ExceptionText(const std::exception_ptr &error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception &e) {
        return Tr("The layout stopped: %1").arg(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return Tr("The layout stopped unexpectedly");
    }
}

} // namespace

bool RunReportToWriter(const CVornReport &report, const CRunOptions &options, CPageWriter &writer,
                       int first, int last, QString &message, bool layOutHere, int *pagesLaidOut)
{
    const QSize pageSize {report.GetPageWidth(), report.GetPageHeight()};
    if (pageSize.width() <= 0 || pageSize.height() <= 0) {
        // The run says what is wrong with the page.
        CPageCounter counter;
        if (!RunReport(report, options, counter, message))
            return false;
    }
    if (!writer.Begin(pageSize, message))
        return false;
    int count = 0;
    if (UsesPageCount(report)) {
        CPageCounter counter;
        if (!RunReport(report, options, counter, message)) {
            writer.Cancel();
            return false;
        }
        count = counter.m_count;
    }

    bool laidOut = false;
    bool written = true;
    bool enough = false;
    int seen = 0;
    int finalCount = 0;
    QString layoutMessage;
    QString writeMessage;
    if (layOutHere) {
        CWriterSink sink(writer, first, last, count);
        try {
            laidOut = RunReport(report, options, sink, layoutMessage);
        } catch (...) {
            layoutMessage = ExceptionText(std::current_exception());
        }
        written = sink.m_written;
        writeMessage = sink.m_message;
        enough = sink.m_enough;
        seen = sink.m_seen;
        finalCount = sink.m_finalCount;
    } else {
        // The layout on a thread of its own, the writer here: page N + 1 is laid out while
        // page N is written, and the texts of a page to be drawn are broken into lines there
        // too, which leaves the writer only the drawing. Nothing thrown may leave the thread.
        CPageQueue queue(QueuedPages, writer.DrawsPages());
        std::thread layout([&] {
            try {
                laidOut = RunReport(report, options, queue, layoutMessage);
            } catch (...) {
                layoutMessage = ExceptionText(std::current_exception());
            }
            queue.End();
        });
        std::shared_ptr<const CPage> page;
        while (queue.Take(page, seen)) {
            if (seen >= first)
                written = writer.WritePage(*page, seen, count > 0 ? count : seen, writeMessage);
            page.reset();
            enough = last > 0 && seen >= last;
            if (!written || enough) {
                // A failed write, or the last page wanted: the layout need not go on.
                queue.Close();
                break;
            }
        }
        layout.join();
        finalCount = queue.GetFinalCount();
    }
    if (!written) {
        writer.Cancel();
        message = writeMessage;
        return false;
    }
    if (!laidOut) {
        writer.Cancel();
        message = layoutMessage.isEmpty() ? Tr("The report could not be run") : layoutMessage;
        return false;
    }
    if (!enough && count > 0 && finalCount != count) {
        // The pages already written say "of N" with the first count.
        writer.Cancel();
        message = Tr("The data changed while the report was written: %1 pages counted, then "
                     "%2; run it again")
                          .arg(count)
                          .arg(finalCount);
        return false;
    }
    if (seen < first) {
        writer.Cancel();
        message = QCoreApplication::translate("CRenderArguments",
                                              "The report has %n page(s); there is no page %1",
                                              nullptr, seen)
                          .arg(first);
        return false;
    }
    if (!writer.Finish(message)) {
        writer.Cancel();
        return false;
    }
    if (pagesLaidOut)
        *pagesLaidOut = seen;
    return true;
}

bool RunReportToPdf(const CVornReport &report, const CRunOptions &options, const QString &path,
                    const QString &title, QString &message, bool pdfa)
{
    CPdfFileWriter writer(path, title, pdfa);
    return RunReportToWriter(report, options, writer, 1, 0, message);
}

bool RunReportToPng(const CVornReport &report, const CRunOptions &options, int number, int dpi,
                    const QString &path, QString &message)
{
    COutputFile check;
    if (!check.Open(path)) {
        message = check.GetMessage();
        return false;
    }
    check.Cancel();
    // Only the page asked for is kept; the layout stops after it unless the page count is
    // needed.
    CPageCounter pages(number, UsesPageCount(report));
    if (!RunReport(report, options, pages, message))
        return false;
    if (!pages.m_kept) {
        message = QCoreApplication::translate("CRenderArguments",
                                              "The report has %n page(s); there is no page %1",
                                              nullptr, pages.m_count)
                          .arg(number);
        return false;
    }
    const QSize size {report.GetPageWidth(), report.GetPageHeight()};
    const QImage image = RenderPageImage(*pages.m_kept, size, number,
                                         pages.m_complete ? pages.m_count : number, dpi);
    if (image.isNull()) {
        message = Tr("The page is too large at %1 dpi").arg(dpi);
        return false;
    }
    return WritePngFile(image, path, message);
}

bool WritePngFile(const QImage &image, const QString &path, QString &message)
{
    // Made in memory first: the encoder then never meets a failing disk, whose error is told
    // once, by the file.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter encoder(&buffer, "png");
    if (!encoder.write(image)) {
        message = Tr("The image could not be made: %1").arg(encoder.errorString());
        return false;
    }
    COutputFile file;
    if (!file.Open(path) || !file.Write(bytes) || !file.Commit()) {
        message = file.GetMessage();
        return false;
    }
    return true;
}
