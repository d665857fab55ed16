#include "userimages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

namespace UserImages {

QString DefaultPath()
{
    return QDir::currentPath() + QStringLiteral("/UserImages.bmp");
}

QList<QPixmap> Load(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > MaxFileSize)
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // The size is checked again on what was read: the file may have grown meanwhile.
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (bytes.size() > MaxFileSize)
        return {};
    QImage strip;
    if (!strip.loadFromData(bytes, "BMP") || strip.width() < ImageSize
        || strip.height() < ImageSize)
        return {};
    strip = strip.convertToFormat(QImage::Format_ARGB32);
    const QRgb transparent = qRgb(192, 192, 192);
    for (int y = 0; y < ImageSize; ++y) {
        auto *line = reinterpret_cast<QRgb *>(strip.scanLine(y));
        for (int x = 0; x < strip.width(); ++x) {
            if ((line[x] & 0x00ffffff) == (transparent & 0x00ffffff))
                line[x] = 0;
        }
    }
    QList<QPixmap> images;
    for (int x = 0; x + ImageSize <= strip.width(); x += ImageSize)
        images.append(QPixmap::fromImage(strip.copy(x, 0, ImageSize, ImageSize)));
    return images;
}

} // namespace UserImages
