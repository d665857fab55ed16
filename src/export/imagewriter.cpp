#include "imagewriter.h"

#include "exporttarget.h"
#include "pagecontent.h"
#include "pagepainting.h"
#include "pagerender.h"

#include <QCoreApplication>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QSvgGenerator>

#include <cmath>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("CImageWriter", text);
}

// SVG coordinates are CSS pixels: 96 to the inch.
constexpr int SvgResolution = 96;

} // namespace

CImageWriter::CImageWriter(const CExportOptions &options)
    : m_options(options)
    , m_pattern(ExportFiles::HasPagePattern(options.path))
{
}

CImageWriter::~CImageWriter()
{
    Cancel();
}

bool CImageWriter::Begin(QSize pageSize, QString &message)
{
    if (pageSize.width() <= 0 || pageSize.height() <= 0) {
        message = Tr("The report's page has no size.");
        return false;
    }
    m_pageSize = pageSize;
    return true;
}

bool CImageWriter::Wanted(int number) const
{
    if (!m_pattern)
        return number == m_options.firstPage;
    return number >= m_options.firstPage
        && (m_options.lastPage <= 0 || number <= m_options.lastPage);
}

bool CImageWriter::WritePage(const CPage &page, int number, int count, QString &message)
{
    if (!Wanted(number))
        return true;
    const QString path = m_pattern ? ExportFiles::PagePath(m_options.path, number)
                                   : m_options.path;
    CExportTarget target;
    if (!target.Open(path)) {
        message = target.GetMessage();
        return false;
    }
    bool written = false;
    if (m_options.format == ExportFormat::Svg) {
        written = WriteSvg(page, number, count, *target.GetDevice());
    } else {
        const QImage image = RenderPageImage(page, m_pageSize, number, count, m_options.dpi);
        if (image.isNull()) {
            message = Tr("The page is too large at %1 dpi").arg(m_options.dpi);
            return false;
        }
        QImageWriter writer(target.GetDevice(), "png");
        written = writer.write(image);
    }
    if (!written || !target.Commit()) {
        message = target.GetMessage();
        target.Cancel();
        return false;
    }
    m_written.push_back(path);
    return true;
}

bool CImageWriter::WriteSvg(const CPage &page, int number, int count, QIODevice &device) const
{
    const QSize pixels(int(std::ceil(m_pageSize.width() * SvgResolution / 2540.0)),
                       int(std::ceil(m_pageSize.height() * SvgResolution / 2540.0)));
    QSvgGenerator generator;
    generator.setOutputDevice(&device);
    generator.setResolution(SvgResolution);
    generator.setSize(pixels);
    generator.setViewBox(QRect(QPoint(0, 0), pixels));
    generator.setTitle(m_options.title);
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    painter.fillRect(QRect(QPoint(0, 0), pixels), Qt::white);
    CPagePainting(painter, SvgResolution, SvgResolution).Paint(page, number, count);
    return painter.end();
}

bool CImageWriter::Finish(QString &message)
{
    if (m_written.empty()) {
        message = Tr("The report has no page %1").arg(m_options.firstPage);
        return false;
    }
    m_written.clear();
    return true;
}

void CImageWriter::Cancel()
{
    // The pages already put in place belong to an export that did not finish.
    for (const QString &path : m_written)
        QFile::remove(path);
    m_written.clear();
}
