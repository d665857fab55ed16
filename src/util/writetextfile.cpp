#include "writetextfile.h"

#include "outputfile.h"

#include <QSysInfo>

#include <cerrno>

bool WriteTextFile(const QString &path, const QString &text, QString *message)
{
    // The template format is little-endian whatever the machine's own order.
    QString swapped;
    const QString *units = &text;
    if constexpr (QSysInfo::ByteOrder != QSysInfo::LittleEndian) {
        swapped = text;
        for (QChar &c : swapped)
            c = QChar(char16_t((c.unicode() << 8) | (c.unicode() >> 8)));
        units = &swapped;
    }
    COutputFile file;
    if (file.Open(path)
        && file.Write(reinterpret_cast<const char *>(units->utf16()),
                      units->size() * qsizetype(sizeof(char16_t)))
        && file.Commit()) {
        return true;
    }
    if (message)
        *message = file.GetErrorText();
    errno = file.GetErrorCode();
    return false;
}
