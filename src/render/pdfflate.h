#pragma once

#include <QByteArray>

#include <memory>

// Flate (zlib) compression for the streams of a PDF, its state kept from one stream to the next:
// starting zlib anew takes longer than compressing a small stream. A stream compressed here has
// the same bytes as one compressed on its own. It compresses for speed: a file per row of a
// batch is written in less time than zlib's default takes, for a few per cent more bytes.
class CPdfFlate
{
public:
    CPdfFlate();
    ~CPdfFlate();
    CPdfFlate(const CPdfFlate &) = delete;
    CPdfFlate &operator=(const CPdfFlate &) = delete;

    QByteArray Deflate(const QByteArray &data);
    // False when the data is not a complete zlib stream.
    bool Inflate(const QByteArray &data, QByteArray &out);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// While one lives, the PDF writer compresses nothing it writes on this thread: its streams are
// kept in zlib's stored blocks, which cost a copy. A document that is only drawn to be cut into
// others (CPdfSplitter, which compresses what it copies) would otherwise be compressed at zlib's
// default level, the slowest part of drawing it, only to be inflated again. The writer gives no
// say over its compression, so this takes zlib's deflateInit for the process and passes every
// other call on unchanged.
class CStoredPdfStreams
{
public:
    CStoredPdfStreams();
    ~CStoredPdfStreams();
    CStoredPdfStreams(const CStoredPdfStreams &) = delete;
    CStoredPdfStreams &operator=(const CStoredPdfStreams &) = delete;
};

// Whether data is a zlib stream whose first block is stored: what a stream written under
// CStoredPdfStreams looks like.
bool IsStoredFlate(const QByteArray &data);
