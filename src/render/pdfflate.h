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
