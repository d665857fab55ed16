#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <unordered_map>

// Pictures decoded from the image bytes of Image items, kept from one paint to the next so that
// a repaint does not decode every picture again.
//
// An entry is found by the address of the bytes' shared buffer and holds its own reference to
// that buffer. While the reference lives the buffer can be neither freed nor written to (a
// change to the item's bytes copies them first), so bytes found at a known address are the very
// bytes that were decoded: any change to an item's picture shows at once. Entries that a paint
// did not use are dropped at its end, so the cache never holds more than one report's pictures.
class CPictureCache
{
public:
    struct Picture
    {
        QImage image; // null when the bytes are no picture the loader knows
        QSize units; // natural size in hundredths of a millimetre
    };

    // The picture of the bytes, decoded now or on an earlier paint; null for no bytes. The
    // answer stays valid until the next Find or EndPaint.
    const Picture *Find(const QByteArray &bytes);

    // Marks the start and the end of one paint; EndPaint drops what the paint did not use.
    void BeginPaint() { ++m_paint; }
    void EndPaint();

    int GetCount() const { return int(m_entries.size()); }

    // Decodes bytes. The natural size comes from the picture's own resolution, or 96 pixels per
    // inch when it states none.
    static Picture Decode(const QByteArray &bytes);
    // The natural size of a decoded picture, as Decode gives it.
    static QSize NaturalUnits(const QImage &image);

private:
    struct Entry
    {
        QByteArray bytes; // keeps the decoded buffer alive and unchanged
        Picture picture;
        quint64 paint = 0;
    };

    std::unordered_map<const char *, Entry> m_entries;
    Picture m_uncached;
    quint64 m_paint = 0;
};
