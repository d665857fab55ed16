#include "pdfexport.h"

#include "pagecontent.h"
#include "pagepainting.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

using namespace Qt::StringLiterals;

namespace {

// Resolution of the PDF's drawing space: fine enough that no rounding shows on paper.
constexpr int PdfResolution = 1200;

QPageLayout PdfPageLayout(QSize units)
{
    // Hundredths of a millimetre; a page wider than high is a portrait sheet turned.
    const bool landscape = units.width() > units.height();
    const QSizeF portrait = landscape ? QSizeF(units.height(), units.width()) / 100.0
                                      : QSizeF(units.width(), units.height()) / 100.0;
    return QPageLayout(QPageSize(portrait, QPageSize::Millimeter, QString(),
                                 QPageSize::ExactMatch),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

} // namespace

CPdfExport::CPdfExport(const CExportOptions &options)
    : m_options(options)
{
}

CPdfExport::~CPdfExport()
{
    Cancel();
}

bool CPdfExport::Begin(QSize pageSize, QString &message)
{
    if (pageSize.width() <= 0 || pageSize.height() <= 0) {
        message = QCoreApplication::translate("CPdfExport", "The report's page has no size.");
        return false;
    }
    if (!m_target.Open(m_options.path)) {
        message = m_target.GetMessage();
        return false;
    }
    m_writer = std::make_unique<QPdfWriter>(m_target.GetDevice());
    m_writer->setResolution(PdfResolution);
    m_writer->setTitle(m_options.title);
    m_writer->setCreator(u"Vantel"_s);
    if (m_options.pdfa)
        m_writer->setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    m_writer->setPageLayout(PdfPageLayout(pageSize));
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_writer.get())) {
        message = m_target.GetMessage();
        return false;
    }
    m_painting = std::make_unique<CPagePainting>(*m_painter, m_writer->logicalDpiX(),
                                                 m_writer->logicalDpiY());
    return true;
}

bool CPdfExport::WritePage(const CPage &page, int number, int count, QString &message)
{
    if (!m_painting)
        return false;
    if (!m_first && !m_writer->newPage()) {
        message = m_target.GetMessage();
        return false;
    }
    m_first = false;
    m_painting->Paint(page, number, count);
    return true;
}

bool CPdfExport::Finish(QString &message)
{
    m_painting.reset();
    const bool ended = m_painter && m_painter->end();
    m_painter.reset();
    m_writer.reset();
    if (!ended || !m_target.Commit()) {
        message = m_target.GetMessage();
        m_target.Cancel();
        return false;
    }
    return true;
}

void CPdfExport::Cancel()
{
    m_painting.reset();
    if (m_painter && m_painter->isActive())
        m_painter->end();
    m_painter.reset();
    m_writer.reset();
    m_target.Cancel();
}
