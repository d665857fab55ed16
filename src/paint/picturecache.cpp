#include "picturecache.h"

#include "builtinimage.h"

#include <QBuffer>
#include <QImageReader>

#include <cmath>

namespace {

// Hundredths of a millimetre for a number of pixels at a resolution in dots per metre.
int PixelsToUnits(int pixels, double dotsPerMetre)
{
    return int(std::lround(pixels * 100000.0 / dotsPerMetre));
}

// The resolution a QImage gets when its file states none (that of the default screen).
int DefaultDotsPerMetre()
{
    static const int dpm = QImage(1, 1, QImage::Format_RGB32).dotsPerMeterX();
    return dpm;
}

double StatedOr96(int dotsPerMetre)
{
    if (dotsPerMetre <= 0 || dotsPerMetre == DefaultDotsPerMetre())
        return 96 / 0.0254;
    return dotsPerMetre;
}

} // namespace

CPictureCache::Picture CPictureCache::Decode(const QByteArray &bytes)
{
    Picture picture;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    AllowLargePictures();
    QImageReader reader(&buffer);
    PreferBuiltInDecoder(reader, bytes);
    const QImage image = reader.read();
    if (image.isNull())
        return picture;
    picture.units = NaturalUnits(image);
    // The formats the raster painter blits fastest; the pixels are the same.
    picture.image = image.convertToFormat(
            image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    return picture;
}

QSize CPictureCache::NaturalUnits(const QImage &image)
{
    return QSize(PixelsToUnits(image.width(), StatedOr96(image.dotsPerMeterX())),
                 PixelsToUnits(image.height(), StatedOr96(image.dotsPerMeterY())));
}

const CPictureCache::Picture *CPictureCache::Find(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return nullptr;
    QByteArray reference = bytes;
    if (!reference.data_ptr().isMutable()) {
        // Bytes that merely point at memory owned elsewhere can change behind the cache's back.
        m_uncached = Decode(bytes);
        return &m_uncached;
    }
    const char *key = bytes.constData();
    auto it = m_entries.find(key);
    if (it == m_entries.end() || it->second.bytes.size() != bytes.size()) {
        Entry entry;
        entry.bytes = std::move(reference);
        entry.picture = Decode(bytes);
        it = m_entries.insert_or_assign(key, std::move(entry)).first;
    }
    it->second.paint = m_paint;
    return &it->second.picture;
}

void CPictureCache::EndPaint()
{
    std::erase_if(m_entries, [this](const auto &entry) { return entry.second.paint != m_paint; });
}
