// Decodes anything as the text of an image element, and checks that encoding
// any bytes and decoding the result gives the bytes back.

#include "base64.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    // Any 16-bit units as text: never more bytes than the characters can carry.
    const QStringView text(reinterpret_cast<const char16_t *>(data), qsizetype(size / 2));
    const QByteArray decoded = Base64Decode(text);
    if (decoded.size() > (text.size() * 3) / 4 + 1)
        std::abort();

    const QByteArray encoded = Base64Encode(bytes);
    if (encoded.size() != (bytes.size() + 2) / 3 * 4)
        std::abort();
    for (const char c : encoded) {
        const bool alphabet = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')
                || (c >= '0' && c <= '9') || c == '+' || c == '/' || c == '=';
        if (!alphabet)
            std::abort();
    }
    if (Base64Decode(QString::fromLatin1(encoded)) != bytes)
        std::abort();
    return 0;
}
