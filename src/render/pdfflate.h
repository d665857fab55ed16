#pragma once

#include <QByteArray>

#include <memory>

// Flate (zlib) compression for the streams of a PDF, its state kept from one stream to the next:
// starting zlib anew takes longer than compressing a small stream. A stream compressed here has
// the same bytes as one compressed on its own.
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
