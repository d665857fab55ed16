#pragma once

#include <QList>
#include <QPixmap>
#include <QString>

// The user's own toolbar button images: a bitmap strip of 16 x 16 pixel
// images side by side, read at start-up from "UserImages.bmp" in the current
// folder when it is there. The Customize dialog offers them for the buttons of
// the "Standard" toolbar.
namespace UserImages {

constexpr int ImageSize = 16;
// Larger files are not read.
constexpr qint64 MaxFileSize = 819200;

// The path looked at: "UserImages.bmp" in the current folder.
QString DefaultPath();

// The images of the strip, left to right; none when the file is missing, too
// large, not a bitmap, or less than one image in size. Light grey
// (192, 192, 192) is transparent, as in classic toolbar bitmaps.
QList<QPixmap> Load(const QString &path);

} // namespace UserImages
