#include "imagewriter.h"

#include "outputfile.h"
#include "pagecontent.h"
#include "pagepainting.h"
#include "pagerender.h"
#include "reportoutput.h"
#include "xmltext.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
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
{ }

CImageWriter::~CImageWriter()
{
    Cancel();
}

bool CImageWriter::Begin(QSize pageSize, QString &message)
{
    m_pageSize = pageSize;
    // The first file is checked before anything runs; the others are checked as they come.
    const QString first = m_pattern ? ExportFiles::PagePath(m_options.path, m_options.firstPage)
                                    : m_options.path;
    COutputFile check;
    if (!check.Open(first)) {
        message = check.GetMessage();
        return false;
    }
    check.Cancel();
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
    const QString path = m_pattern ? ExportFiles::PagePath(m_options.path, number) : m_options.path;
    if (m_options.format == ExportFormat::Png) {
        const QImage image = RenderPageImage(page, m_pageSize, number, count, m_options.dpi);
        if (image.isNull()) {
            message = Tr("The page is too large at %1 dpi").arg(m_options.dpi);
            return false;
        }
        if (!WritePngFile(image, path, message))
            return false;
    } else {
        COutputFile target;
        if (!target.Open(path)) {
            message = target.GetMessage();
            return false;
        }
        if (!WriteSvg(page, number, count, *target.GetDevice()) || !target.Commit()) {
            message = target.GetMessage();
            target.Cancel();
            return false;
        }
    }
    m_written.push_back(path);
    return true;
}

bool CImageWriter::WriteSvg(const CPage &page, int number, int count, QIODevice &device) const
{
    const QSize pixels(int(std::ceil(m_pageSize.width() * SvgResolution / 2540.0)),
                       int(std::ceil(m_pageSize.height() * SvgResolution / 2540.0)));
    // The generator keeps the whole drawing until its end anyway. It is written to memory first,
    // so that the title goes in escaped (the generator may write it as it is) and characters
    // that XML refuses (a NUL in a database's text) are dropped from the texts.
    const QByteArray titleMark = "vantel-title-" + QByteArray::number(quintptr(this), 36);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setResolution(SvgResolution);
    generator.setSize(pixels);
    generator.setViewBox(QRect(QPoint(0, 0), pixels));
    generator.setTitle(QString::fromLatin1(titleMark));
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    painter.fillRect(QRect(QPoint(0, 0), pixels), Qt::white);
    CPagePainting(painter, SvgResolution, SvgResolution).Paint(page, number, count);
    if (!painter.end())
        return false;
    QByteArray svg = XmlText::AllowedUtf8(buffer.data());
    buffer.close();
    svg.replace(titleMark, XmlText::Escaped(m_options.title).toUtf8());
    return device.write(svg) == svg.size();
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
