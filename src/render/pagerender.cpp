#include "pagerender.h"

#include "pagecontent.h"
#include "pagemodel.h"
#include "pagepainting.h"

#include <QCoreApplication>
#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Resolution of the PDF's drawing space: fine enough that no rounding shows on paper.
constexpr int PdfResolution = 1200;

QString Tr(const char *text)
{
    return QCoreApplication::translate("WritePdf", text);
}

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

void PaintPage(QPainter &painter, const CPageModel &model, int index, const QRectF &target)
{
    const std::shared_ptr<const CPage> page = model.GetPage(index);
    const QSize size = model.GetPageSize();
    const QPaintDevice *device = painter.device();
    if (!page || !device || size.width() <= 0 || size.height() <= 0 || target.width() <= 0)
        return;
    const int dpiX = device->logicalDpiX();
    const int dpiY = device->logicalDpiY();
    // The page is drawn in pixels of the device's resolution, scaled to fill target's width.
    const double pageWidth = size.width() * (dpiX / 2540.0);
    const double scale = target.width() / pageWidth;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(scale, scale);
    painter.fillRect(QRectF(0, 0, pageWidth, size.height() * (dpiY / 2540.0)), Qt::white);
    painter.setClipRect(QRectF(0, 0, pageWidth, size.height() * (dpiY / 2540.0)),
                        Qt::IntersectClip);
    CPagePainting(painter, dpiX, dpiY).Paint(*page, index + 1, model.GetPageCount());
    painter.restore();
}

QImage RenderPageImage(const CPageModel &model, int index, int dpi)
{
    const std::shared_ptr<const CPage> page = model.GetPage(index);
    if (!page)
        return {};
    return RenderPageImage(*page, model.GetPageSize(), index + 1, model.GetPageCount(), dpi);
}

QImage RenderPageImage(const CPage &page, QSize size, int number, int count, int dpi)
{
    if (size.width() <= 0 || size.height() <= 0)
        return {};
    if (dpi <= 0)
        dpi = 96;
    const double width = std::ceil(size.width() * (dpi / 2540.0));
    const double height = std::ceil(size.height() * (dpi / 2540.0));
    // An A4 page at 1200 dpi is 140 million pixels; a larger request gets no image rather
    // than gigabytes of memory.
    if (width * height > 1.5e8)
        return {};
    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    // Dots per metre such that the image reports exactly dpi as its logical resolution.
    const int dotsPerMetre = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    QPainter painter(&image);
    CPagePainting(painter, image.logicalDpiX(), image.logicalDpiY()).Paint(page, number, count);
    return image;
}

bool WritePdf(const CPageModel &model, const QString &path, const QString &title,
              QString &message)
{
    const int count = model.GetPageCount();
    const QSize size = model.GetPageSize();
    if (count == 0 || size.width() <= 0 || size.height() <= 0) {
        message = Tr("The report has no pages to write.");
        return false;
    }
    // Written beside path and renamed over it only once complete; dropped on any failure.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        message = Tr("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    bool painted = false;
    {
        QPdfWriter writer(&file);
        writer.setResolution(PdfResolution);
        writer.setTitle(title);
        writer.setCreator(u"Vantel"_s);
        writer.setPageLayout(PdfPageLayout(size));
        QPainter painter;
        if (painter.begin(&writer)) {
            // One page at a time: nothing of a page is kept once it is written.
            CPagePainting painting(painter, writer.logicalDpiX(), writer.logicalDpiY());
            for (int i = 0; i < count; ++i) {
                if (i > 0)
                    writer.newPage();
                if (const std::shared_ptr<const CPage> page = model.GetPage(i))
                    painting.Paint(*page, i + 1, count);
            }
            painted = painter.end();
        }
    }
    if (!painted || file.error() != QFileDevice::NoError) {
        message = Tr("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(path), file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        message = Tr("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}
