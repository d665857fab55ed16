#include "pdfsourcedate.h"

#include "outputfile.h"

#include <QCryptographicHash>
#include <QDateTime>

namespace {

// QPdfWriter puts its dates near the start and the ID in the trailer, the last few hundred
// bytes.
constexpr qsizetype HeadBytes = 64 * 1024;
constexpr qsizetype TailBytes = 4096;

// A date of the same length as old for the time: in UTC, written "Z" where old says so and
// as a zero offset where it gives one.
QByteArray SameLengthDate(const QByteArray &old, const QDateTime &time, const char *format,
                          const char *zeroOffset)
{
    QByteArray date = time.toString(QString::fromLatin1(format)).toLatin1();
    date += old.endsWith('Z') ? QByteArray("Z") : QByteArray(zeroOffset);
    return date.size() == old.size() ? date : QByteArray();
}

} // namespace

std::vector<CBytePatch> PdfDatePatches(const QByteArray &head, qint64 seconds)
{
    const QDateTime time = QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
    std::vector<CBytePatch> patches;
    const auto patch
            = [&](const QByteArray &key, char end, const char *format, const char *zeroOffset) {
                  for (qsizetype at = head.indexOf(key); at >= 0; at = head.indexOf(key, at + 1)) {
                      const qsizetype start = at + key.size();
                      const qsizetype stop = head.indexOf(end, start);
                      if (stop < 0)
                          break;
                      const QByteArray date = SameLengthDate(head.mid(start, stop - start), time,
                                                             format, zeroOffset);
                      if (!date.isEmpty())
                          patches.push_back({start, date});
                  }
              };
    patch("/CreationDate (D:", ')', "yyyyMMddHHmmss", "+00'00'");
    patch("/ModDate (D:", ')', "yyyyMMddHHmmss", "+00'00'");
    for (const char *key : {"xmp:CreateDate=\"", "xmp:ModifyDate=\"", "xmp:MetadataDate=\""})
        patch(key, '"', "yyyy-MM-ddTHH:mm:ss", "+00:00");
    return patches;
}

std::vector<qsizetype> PdfIdPlaces(const QByteArray &tail)
{
    const qsizetype at = tail.lastIndexOf("/ID [");
    if (at < 0)
        return {};
    std::vector<qsizetype> places;
    qsizetype from = at;
    for (int i = 0; i < 2; ++i) {
        const qsizetype open = tail.indexOf('<', from);
        const qsizetype close = open < 0 ? -1 : tail.indexOf('>', open);
        if (close < 0 || close - open - 1 != 32)
            return {};
        places.push_back(open + 1);
        from = close;
    }
    return places;
}

bool SetPdfSourceDate(COutputFile &file, qint64 seconds)
{
    const qint64 size = file.GetWrittenSize();
    QByteArray head;
    if (!file.ReadAt(0, qsizetype(std::min<qint64>(size, HeadBytes)), head))
        return false;
    for (const CBytePatch &patch : PdfDatePatches(head, seconds)) {
        if (!file.WriteAt(patch.offset, patch.bytes))
            return false;
    }
    const qint64 tailOffset = std::max<qint64>(0, size - TailBytes);
    QByteArray tail;
    if (!file.ReadAt(tailOffset, qsizetype(size - tailOffset), tail))
        return false;
    const std::vector<qsizetype> places = PdfIdPlaces(tail);
    if (places.empty())
        return true;
    // The ID is a digest of everything before it, dates already set.
    QCryptographicHash digest(QCryptographicHash::Md5);
    const qint64 end = tailOffset + places.front();
    QByteArray chunk;
    for (qint64 at = 0; at < end; at += chunk.size()) {
        if (!file.ReadAt(at, qsizetype(std::min<qint64>(end - at, 1 << 20)), chunk))
            return false;
        digest.addData(chunk);
    }
    const QByteArray id = digest.result().toHex();
    for (const qsizetype place : places) {
        if (!file.WriteAt(tailOffset + place, id))
            return false;
    }
    return true;
}
