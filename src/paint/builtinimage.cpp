#include "builtinimage.h"

#include <QImageReader>

void PreferBuiltInDecoder(QImageReader &reader, QByteArrayView bytes)
{
    // No plug-in claims a PNG file, so guessing would end at the same decoder.
    static constexpr char pngSignature[] = "\x89PNG\r\n\x1a\n";
    if (bytes.startsWith(QByteArrayView(pngSignature, 8))) {
        reader.setFormat("png");
        reader.setAutoDetectImageFormat(false);
    }
}
