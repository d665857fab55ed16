#include "pdfflate.h"

#include <zlib.h>

struct CPdfFlate::Private
{
    z_stream deflater {};
    z_stream inflater {};
    bool deflating = false;
    bool inflating = false;
};

CPdfFlate::CPdfFlate()
    : d(std::make_unique<Private>())
{
    d->deflating = deflateInit(&d->deflater, Z_BEST_SPEED) == Z_OK;
    d->inflating = inflateInit(&d->inflater) == Z_OK;
}

CPdfFlate::~CPdfFlate()
{
    if (d->deflating)
        deflateEnd(&d->deflater);
    if (d->inflating)
        inflateEnd(&d->inflater);
}

QByteArray CPdfFlate::Deflate(const QByteArray &data)
{
    if (!d->deflating || deflateReset(&d->deflater) != Z_OK)
        return qCompress(data, 1).mid(4);
    QByteArray out(qsizetype(deflateBound(&d->deflater, uLong(data.size()))), Qt::Uninitialized);
    d->deflater.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    d->deflater.avail_in = uInt(data.size());
    d->deflater.next_out = reinterpret_cast<Bytef *>(out.data());
    d->deflater.avail_out = uInt(out.size());
    if (deflate(&d->deflater, Z_FINISH) != Z_STREAM_END)
        return qCompress(data, 1).mid(4);
    out.truncate(qsizetype(d->deflater.total_out));
    return out;
}

bool CPdfFlate::Inflate(const QByteArray &data, QByteArray &out)
{
    if (!d->inflating || inflateReset(&d->inflater) != Z_OK)
        return false;
    out.resize(std::max<qsizetype>(data.size() * 4, 4096));
    d->inflater.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    d->inflater.avail_in = uInt(data.size());
    for (;;) {
        d->inflater.next_out = reinterpret_cast<Bytef *>(out.data() + d->inflater.total_out);
        d->inflater.avail_out = uInt(out.size() - qsizetype(d->inflater.total_out));
        const int result = inflate(&d->inflater, Z_NO_FLUSH);
        if (result == Z_STREAM_END) {
            out.truncate(qsizetype(d->inflater.total_out));
            return true;
        }
        if ((result != Z_OK && result != Z_BUF_ERROR) || out.size() > (qsizetype(1) << 30))
            return false;
        if (d->inflater.avail_out == 0)
            out.resize(out.size() * 2);
        else if (d->inflater.avail_in == 0)
            return false; // the data ends before its stream does
    }
}

namespace {

thread_local bool t_stored = false;

} // namespace

CStoredPdfStreams::CStoredPdfStreams()
{
    t_stored = true;
}

CStoredPdfStreams::~CStoredPdfStreams()
{
    t_stored = false;
}

bool IsStoredFlate(const QByteArray &data)
{
    if (data.size() < 3)
        return false;
    const unsigned header = unsigned(quint8(data[0])) << 8 | quint8(data[1]);
    // Deflate, no preset dictionary, a valid check; then the first block's type bits.
    return (header >> 8 & 0x0f) == 8 && header % 31 == 0 && (header & 0x20) == 0
            && (quint8(data[2]) >> 1 & 3) == 0;
}

// zlib's deflateInit is a macro for this function, which the PDF writer calls for every stream
// it compresses. It starts deflate as zlib's own does (its default window and memory level), at
// no compression under CStoredPdfStreams.
extern "C" int deflateInit_(z_streamp stream, int level, const char *version, int size)
{
    constexpr int DefaultMemoryLevel = 8;
    return deflateInit2_(stream, t_stored ? Z_NO_COMPRESSION : level, Z_DEFLATED, MAX_WBITS,
                         DefaultMemoryLevel, Z_DEFAULT_STRATEGY, version, size);
}
