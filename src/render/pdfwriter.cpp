#include "pdfwriter.h"

#include "outputfile.h"
#include "pagecontent.h"
#include "pagemodel.h"
#include "pagepainting.h"
#include "pdfsourcedate.h"
#include "sourcedate.h"
#include "xmltext.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

using namespace Qt::StringLiterals;

namespace {

// Resolution of the PDF's drawing space: fine enough that no rounding shows on paper.
constexpr int PdfResolution = 1200;
// Pictures finer than this show no difference on paper, only in the file's size.
constexpr int PdfPictureDpi = 300;

QPageLayout PdfPageLayout(QSize units)
{
    // Hundredths of a millimetre; a page wider than high is a portrait sheet turned.
    const bool landscape = units.width() > units.height();
    const QSizeF portrait = landscape ? QSizeF(units.height(), units.width()) / 100.0
                                      : QSizeF(units.width(), units.height()) / 100.0;
    return QPageLayout(QPageSize(portrait, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

// Puts the painter back to the state it had when the page began and has the PDF writer take
// every part of it, drawing nothing. The painter hands the writer only what changed since the
// last drawing, and the writer writes that at the next drawing or page: after this, both are
// the same whatever the page drew.
void Settle(QPainter &painter)
{
    painter.restore();
    painter.save();
    painter.setPen(QPen(Qt::red));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::SolidPattern);
    painter.setBrush(Qt::NoBrush);
    painter.setBrushOrigin(1, 1);
    painter.setBrushOrigin(0, 0);
    painter.setOpacity(0.5);
    painter.setOpacity(1);
    painter.setTransform(QTransform::fromTranslate(1, 0));
    painter.resetTransform();
    painter.setClipping(true);
    painter.setClipping(false);
    const QRectF nothing;
    painter.drawRects(&nothing, 1);
    painter.setPen(QPen());
}

} // namespace

struct CPdfPageWriter::Private
{
    explicit Private(QIODevice &device)
        : writer(&device)
    { }

    QPdfWriter writer;
    QPainter painter;
    std::unique_ptr<CPagePainting> painting;
    bool started = false;
    bool failed = false;
    int written = 0;
};

CPdfPageWriter::CPdfPageWriter(QIODevice &device, QSize pageSize, const QString &title, bool pdfa)
    : d(std::make_unique<Private>(device))
{
    d->writer.setResolution(PdfResolution);
    // The title goes into the PDF/A metadata, which is XML.
    d->writer.setTitle(XmlText::Allowed(title));
    d->writer.setCreator(u"Vantel"_s);
    if (pdfa)
        d->writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    d->writer.setPageLayout(PdfPageLayout(pageSize));
}

CPdfPageWriter::~CPdfPageWriter()
{
    if (d->painter.isActive())
        d->painter.end();
}

bool CPdfPageWriter::Write(const CPage &page, int number, int count)
{
    if (d->failed)
        return false;
    if (!d->started) {
        d->started = true;
        if (!d->painter.begin(&d->writer)) {
            d->failed = true;
            return false;
        }
        d->painting = std::make_unique<CPagePainting>(d->painter, d->writer.logicalDpiX(),
                                                      d->writer.logicalDpiY());
        d->painting->SetPictureDpi(PdfPictureDpi);
        if (m_separate) {
            d->painter.save();
            Settle(d->painter);
        }
    }
    if ((m_separate || d->written > 0) && !d->writer.newPage()) {
        d->failed = true;
        return false;
    }
    d->painting->Paint(page, number, count);
    if (m_separate)
        Settle(d->painter);
    ++d->written;
    return true;
}

bool CPdfPageWriter::End()
{
    if (d->failed || !d->started)
        return false;
    d->painting.reset();
    if (m_separate) {
        if (!d->writer.newPage())
            return false;
        d->painter.restore();
    }
    return d->painter.end();
}

CPdfFileWriter::CPdfFileWriter(const QString &path, const QString &title, bool pdfa)
    : m_path(path)
    , m_title(title)
    , m_pdfa(pdfa)
{ }

CPdfFileWriter::~CPdfFileWriter()
{
    Cancel();
}

bool CPdfFileWriter::Begin(QSize pageSize, QString &message)
{
    if (!m_file.Open(m_path)) {
        message = m_file.GetMessage();
        return false;
    }
    m_writer = std::make_unique<CPdfPageWriter>(*m_file.GetDevice(), pageSize, m_title, m_pdfa);
    return true;
}

bool CPdfFileWriter::WritePage(const CPage &page, int number, int count, QString &message)
{
    if (m_writer && m_writer->Write(page, number, count) && m_file.GetErrorCode() == 0)
        return true;
    // A full disk says so; a painter that would not start is told as such.
    CommitPdf(m_file, false, message);
    return false;
}

bool CPdfFileWriter::Finish(QString &message)
{
    const bool ended = m_writer && m_writer->End();
    m_writer.reset();
    return CommitPdf(m_file, ended, message);
}

void CPdfFileWriter::Cancel()
{
    m_writer.reset();
    m_file.Cancel();
}

bool WritePdf(const CPageModel &model, const QString &path, const QString &title, QString &message)
{
    const int count = model.GetPageCount();
    const QSize size = model.GetPageSize();
    if (count == 0 || size.width() <= 0 || size.height() <= 0) {
        message = QCoreApplication::translate("WritePdf", "The report has no pages to write.");
        return false;
    }
    COutputFile file;
    if (!file.Open(path)) {
        message = file.GetMessage();
        return false;
    }
    bool written = true;
    {
        CPdfPageWriter writer(*file.GetDevice(), size, title);
        for (int i = 0; i < count && written && file.GetErrorCode() == 0; ++i) {
            if (const std::shared_ptr<const CPage> page = model.GetPage(i))
                written = writer.Write(*page, i + 1, count);
        }
        written = writer.End() && written;
    }
    return CommitPdf(file, written, message);
}

bool SealPdf(COutputFile &file, bool written)
{
    qint64 seconds = 0;
    if (written && file.GetErrorCode() == 0 && ReadSourceDate(seconds) == ESourceDate::Set)
        SetPdfSourceDate(file, seconds);
    return written && file.GetErrorCode() == 0;
}

bool DropPdf(COutputFile &file, QString &message)
{
    if (file.GetErrorCode() != 0) {
        message = file.GetMessage();
    } else {
        // The painter refused to start or end with a device that took every byte: said rather
        // than left as a broken file.
        message = QCoreApplication::translate("WritePdf", "The PDF could not be made.");
    }
    file.Cancel();
    return false;
}

bool CommitPdf(COutputFile &file, bool written, QString &message)
{
    if (SealPdf(file, written) && file.Commit())
        return true;
    return DropPdf(file, message);
}
