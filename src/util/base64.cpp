#include "base64.h"

#include <QtEndian>

#include <array>
#include <cstdint>
#include <cstring>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::uint8_t kInvalid = 0xFF;

// Six-bit value of each byte value, kInvalid outside the alphabet (and from
// 0x80 up).
constexpr std::array<std::uint8_t, 256> MakeDecodeTable()
{
    std::array<std::uint8_t, 256> table {};
    for (std::uint8_t &entry : table)
        entry = kInvalid;
    for (std::uint8_t i = 0; i < 64; ++i)
        table[static_cast<unsigned char>(kAlphabet[i])] = i;
    return table;
}

constexpr std::array<std::uint8_t, 256> kDecodeTable = MakeDecodeTable();

// A UTF-16 unit or a UTF-8 byte: anything from 0x80 up is outside the alphabet.
std::uint8_t SixBits(char16_t c)
{
    return c < 128 ? kDecodeTable[c] : kInvalid;
}

std::uint8_t SixBits(unsigned char c)
{
    return kDecodeTable[c];
}

// The six bits of a character already in place in its group of 24 bits, for
// each of the four places: bit 24 marks a character outside the alphabet.
struct PlacedTables
{
    std::array<std::uint32_t, 256> at[4];
};

constexpr PlacedTables MakePlacedTables()
{
    PlacedTables tables {};
    for (int place = 0; place < 4; ++place) {
        for (int c = 0; c < 256; ++c) {
            const std::uint8_t bits = kDecodeTable[size_t(c)];
            tables.at[place][size_t(c)]
                    = bits == kInvalid ? (1u << 24) : std::uint32_t(bits) << (18 - 6 * place);
        }
    }
    return tables;
}

constexpr PlacedTables kPlaced = MakePlacedTables();

std::uint32_t Placed(int place, char16_t c)
{
    return c < 256 ? kPlaced.at[place][c] : (1u << 24);
}

std::uint32_t Placed(int place, unsigned char c)
{
    return kPlaced.at[place][c];
}

// One pass: whole groups are decoded while their four characters are all in
// the alphabet, the test folded into one check of the group.
template<typename Char>
QByteArray Decode(const Char *in, const Char *end)
{
    while (in != end && (*in == ' ' || *in == '\t'))
        ++in;
    // Room for every group the text could hold, and a spare byte for writing a
    // group as four; cut to what was decoded.
    QByteArray bytes((end - in) / 4 * 3 + 3, Qt::Uninitialized);
    auto *const first = reinterpret_cast<unsigned char *>(bytes.data());
    auto *out = first;
    for (; end - in >= 4; in += 4) {
        const std::uint32_t group
                = Placed(0, in[0]) | Placed(1, in[1]) | Placed(2, in[2]) | Placed(3, in[3]);
        if (group >> 24)
            break;
        const std::uint32_t ordered = qToBigEndian(group << 8);
        std::memcpy(out, &ordered, sizeof ordered);
        out += 3;
    }
    // The run ends within the next four characters: a trailing group of n
    // characters gives n - 1 bytes, except a single character, which still
    // gives one byte.
    qsizetype rest = 0;
    while (rest < 3 && in + rest != end && SixBits(in[rest]) != kInvalid)
        ++rest;
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
    bytes.truncate(out - first);
    if (bytes.capacity() > bytes.size() + bytes.size() / 8 + 64)
        bytes.squeeze(); // the run stopped well before the end of the text
    return bytes;
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
    return Decode(text.utf16(), text.utf16() + text.size());
}

QByteArray Base64Decode(QByteArrayView text)
{
    const auto *data = reinterpret_cast<const unsigned char *>(text.data());
    return Decode(data, data + text.size());
}
