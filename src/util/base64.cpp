#include "base64.h"

#include <array>
#include <cstdint>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::uint8_t kInvalid = 0xFF;

// Six-bit value of each ASCII character, kInvalid outside the alphabet.
constexpr std::array<std::uint8_t, 128> MakeDecodeTable()
{
    std::array<std::uint8_t, 128> table {};
    for (std::uint8_t &entry : table)
        entry = kInvalid;
    for (std::uint8_t i = 0; i < 64; ++i)
        table[static_cast<unsigned char>(kAlphabet[i])] = i;
    return table;
}

constexpr std::array<std::uint8_t, 128> kDecodeTable = MakeDecodeTable();

std::uint8_t SixBits(char16_t c)
{
    return c < 128 ? kDecodeTable[c] : kInvalid;
}

} // namespace

QByteArray Base64Encode(const QByteArray &bytes)
{
    const qsizetype size = bytes.size();
    QByteArray text((size + 2) / 3 * 4, Qt::Uninitialized);
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.constData());
    char *out = text.data();
    qsizetype i = 0;
    for (; i + 3 <= size; i += 3) {
        const std::uint32_t group = (in[i] << 16) | (in[i + 1] << 8) | in[i + 2];
        *out++ = kAlphabet[(group >> 18) & 0x3F];
        *out++ = kAlphabet[(group >> 12) & 0x3F];
        *out++ = kAlphabet[(group >> 6) & 0x3F];
        *out++ = kAlphabet[group & 0x3F];
    }
    const qsizetype rest = size - i;
    if (rest > 0) {
        const std::uint32_t group = (in[i] << 16) | (rest == 2 ? in[i + 1] << 8 : 0);
        *out++ = kAlphabet[(group >> 18) & 0x3F];
        *out++ = kAlphabet[(group >> 12) & 0x3F];
        *out++ = rest == 2 ? kAlphabet[(group >> 6) & 0x3F] : '=';
        *out++ = '=';
    }
    return text;
}

QByteArray Base64Decode(QStringView text)
{
    const char16_t *begin = text.utf16();
    const char16_t *end = begin + text.size();
    while (begin != end && (*begin == u' ' || *begin == u'\t'))
        ++begin;
    const char16_t *runEnd = begin;
    while (runEnd != end && SixBits(*runEnd) != kInvalid)
        ++runEnd;

    const qsizetype count = runEnd - begin;
    const qsizetype rest = count % 4;
    // A trailing group of n characters gives n - 1 bytes, except a single
    // character, which still gives one byte.
    const qsizetype restBytes = rest == 0 ? 0 : (rest == 1 ? 1 : rest - 1);
    QByteArray bytes(count / 4 * 3 + restBytes, Qt::Uninitialized);
    auto *out = reinterpret_cast<unsigned char *>(bytes.data());

    const char16_t *in = begin;
    for (const char16_t *groupsEnd = begin + (count - rest); in != groupsEnd; in += 4) {
        const std::uint32_t group = (SixBits(in[0]) << 18) | (SixBits(in[1]) << 12)
                | (SixBits(in[2]) << 6) | SixBits(in[3]);
        *out++ = static_cast<unsigned char>(group >> 16);
        *out++ = static_cast<unsigned char>(group >> 8);
        *out++ = static_cast<unsigned char>(group);
    }
    if (rest == 1) {
        *out++ = static_cast<unsigned char>(SixBits(in[0]) << 2);
    } else if (rest > 1) {
        std::uint32_t group = (SixBits(in[0]) << 18) | (SixBits(in[1]) << 12);
        if (rest == 3)
            group |= SixBits(in[2]) << 6;
        *out++ = static_cast<unsigned char>(group >> 16);
        if (rest == 3)
            *out++ = static_cast<unsigned char>(group >> 8);
    }
    return bytes;
}
