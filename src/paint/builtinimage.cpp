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

void AllowLargePictures()
{
    static const bool raised = [] {
        constexpr int limitMb = 256;
        const int limit = QImageReader::allocationLimit(); // 0 stands for no limit
        if (limit != 0 && limit < limitMb)
            QImageReader::setAllocationLimit(limitMb);
        return true;
    }();
    Q_UNUSED(raised);
}
