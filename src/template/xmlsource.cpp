#include "xmlsource.h"

#include <QtEndian>

#include <cstring>

namespace {

bool IsBlank(char32_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

bool IsHigh(char32_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLow(char32_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Bytes of one code point in UTF-8.
qsizetype Utf8Length(char32_t c)
{
    return c < 0x80 ? 1 : (c < 0x800 ? 2 : (c < 0x10000 ? 3 : 4));
}

// The code units of the file in one encoding. Every scan below is written once over these and
// compiled once per encoding, so that reading a unit is a plain load, not a choice per unit.
//
// Raw is the unit as it lies in memory; a raw unit that is 0 is NUL in every encoding, and
// one whose bits under doubtMask equal doubtValue may start a surrogate (0xED in UTF-8).
struct Utf8Units
{
    static constexpr bool utf8 = true;
    using Raw = unsigned char;
    static constexpr Raw doubtMask = 0xFF;
    static constexpr Raw doubtValue = 0xED;
    const unsigned char *data;
    qsizetype count;
    char32_t operator[](qsizetype i) const { return data[i]; }
};

struct Utf16LeUnits
{
    static constexpr bool utf8 = false;
    using Raw = char16_t;
    static constexpr Raw doubtMask = qToLittleEndian<char16_t>(0xF800);
    static constexpr Raw doubtValue = qToLittleEndian<char16_t>(0xD800);
    const unsigned char *data;
    qsizetype count;
    char32_t operator[](qsizetype i) const { return qFromLittleEndian<char16_t>(data + 2 * i); }
};

struct Utf16BeUnits
{
    static constexpr bool utf8 = false;
    using Raw = char16_t;
    static constexpr Raw doubtMask = qToBigEndian<char16_t>(0xF800);
    static constexpr Raw doubtValue = qToBigEndian<char16_t>(0xD800);
    const unsigned char *data;
    qsizetype count;
    char32_t operator[](qsizetype i) const { return qFromBigEndian<char16_t>(data + 2 * i); }
};

// Raw units side by side in a 64-bit word, as they lie in memory.
template<typename Raw>
constexpr quint64 Repeated(Raw value)
{
    quint64 word = 0;
    for (size_t k = 0; k < sizeof(quint64) / sizeof(Raw); ++k)
        word |= quint64(value) << (8 * sizeof(Raw) * k);
    return word;
}

// Non-zero when a raw unit of the word is 0 (a lane above a zero one may be flagged too,
// which only sends the block to the careful look).
template<typename Raw>
constexpr quint64 HasZeroLane(quint64 word)
{
    constexpr quint64 ones = Repeated<Raw>(1);
    constexpr quint64 highs = ones << (8 * sizeof(Raw) - 1);
    return (word - ones) & ~word & highs;
}

template<typename Units>
class CScan
{
public:
    using Fault = CXmlSource::Fault;

    explicit CScan(Units units)
        : u(units)
        , count(units.count)
    {
    }

    // The first NUL or unpaired surrogate anywhere in the text, the mark included.
    Fault CheckCharacters() const
    {
        // Runs of plain units are passed over in blocks, eight bytes at a time, with a test
        // that has no branch per unit; a block with anything doubtful is looked at unit by
        // unit.
        using Raw = typename Units::Raw;
        constexpr qsizetype block = 64;
        constexpr qsizetype blockBytes = block * qsizetype(sizeof(Raw));
        qsizetype i = 0;
        while (i < count) {
            if (i + block <= count) {
                quint64 doubtful = 0;
                const unsigned char *at = u.data + i * qsizetype(sizeof(Raw));
                for (qsizetype k = 0; k < blockBytes; k += 8) {
                    quint64 word;
                    std::memcpy(&word, at + k, sizeof word);
                    doubtful |= HasZeroLane<Raw>(word)
                            | HasZeroLane<Raw>((word & Repeated<Raw>(Units::doubtMask))
                                          ^ Repeated<Raw>(Units::doubtValue));
                }
                if (!doubtful) {
                    i += block;
                    continue;
                }
            }
            const qsizetype end = qMin(count, i + block);
            for (; i < end; ++i) {
                const char32_t c = u[i];
                if (c == 0)
                    return {i, "Invalid character"};
                if constexpr (Units::utf8) {
                    // 0xED 0xA0..0xBF starts a surrogate written as UTF-8.
                    if (c == 0xED && i + 1 < count && u[i + 1] >= 0xA0)
                        return {i, "Unpaired surrogate"};
                } else {
                    if (IsHigh(c) && i + 1 < count && IsLow(u[i + 1])) {
                        ++i; // the pair may reach into the next block
                        continue;
                    }
                    if (IsHigh(c) || IsLow(c))
                        return {i, "Unpaired surrogate"};
                }
            }
        }
        // An odd last byte of UTF-16 is left to the parser.
        return {};
    }

    void CheckMarkup(qsizetype from, Fault &character, Fault &outside) const
    {
        qsizetype depth = 0;
        qsizetype i = from;
        while (i < count) {
            if (depth > 0) {
                // Inside the root only '<' and '&' matter.
                while (i < count && u[i] != u'<' && u[i] != u'&')
                    ++i;
                if (i == count)
                    return;
            }
            const char32_t c = u[i];
            if (c == u'<') {
                const char32_t next = i + 1 < count ? u[i + 1] : 0;
                if (next == u'!' && StartsWith(i, "<!--")) {
                    i = Find(i + 4, "-->");
                } else if (next == u'!' && StartsWith(i, "<![CDATA[")) {
                    if (depth == 0 && !outside)
                        outside = {i, "Text outside the root element"};
                    i = Find(i + 9, "]]>");
                } else if (next == u'?') {
                    i = Find(i + 2, "?>");
                } else if (next == u'!') {
                    i = SkipDeclaration(i, character);
                } else if (next == u'/') {
                    i = SkipTag(i, character);
                    depth = depth > 0 ? depth - 1 : 0;
                } else {
                    const qsizetype end = SkipTag(i, character);
                    if (!(end >= i + 2 && u[end - 2] == u'/' && u[end - 1] == u'>'))
                        ++depth;
                    i = end;
                }
            } else {
                if (c == u'&' && !character && BadReference(i))
                    character = {i, "Invalid character reference"};
                if (depth == 0 && !IsBlank(c) && !outside)
                    outside = {i, "Text outside the root element"};
                ++i;
            }
            if (character)
                return;
        }
    }

    void LineAndPosition(qsizetype from, qsizetype unit, qsizetype &line, qsizetype &pos) const
    {
        line = 1;
        pos = 1;
        const qsizetype end = qBound(qsizetype(0), unit, count);
        for (qsizetype i = from; i < end; ++i) {
            const char32_t c = u[i];
            if (c == u'\r' || c == u'\n') {
                if (c == u'\r' && i + 1 < end && u[i + 1] == u'\n')
                    ++i;
                ++line;
                pos = 1;
            } else if (Units::utf8 ? (c & 0xC0) != 0x80 : !IsLow(c)) {
                ++pos;
            }
        }
    }

    qsizetype UnitOfUtf8Offset(qsizetype offset) const
    {
        if constexpr (Units::utf8)
            return offset;
        qsizetype bytes = 0;
        qsizetype i = 0;
        while (i < count && bytes < offset) {
            char32_t c = u[i];
            qsizetype units = 1;
            if (IsHigh(c) && i + 1 < count && IsLow(u[i + 1])) {
                c = 0x10000;
                units = 2;
            }
            bytes += Utf8Length(c);
            i += units;
        }
        return i;
    }

private:
    template<qsizetype N>
    bool StartsWith(qsizetype at, const char (&text)[N]) const
    {
        constexpr qsizetype length = N - 1;
        if (at + length > count)
            return false;
        for (qsizetype k = 0; k < length; ++k) {
            if (u[at + k] != char32_t(static_cast<unsigned char>(text[k])))
                return false;
        }
        return true;
    }

    // The unit after the first `text` at or after `from`; the end when none.
    template<qsizetype N>
    qsizetype Find(qsizetype from, const char (&text)[N]) const
    {
        const char32_t first = static_cast<unsigned char>(text[0]);
        for (qsizetype i = from; i < count; ++i) {
            if (u[i] == first && StartsWith(i, text))
                return i + (N - 1);
        }
        return count;
    }

    // Whether the '&' at `at` starts a character reference that names no XML character the
    // parser could keep: NUL (the parser ends the text there), a surrogate or a value beyond
    // Unicode. Malformed references are left to the parser.
    bool BadReference(qsizetype at) const
    {
        qsizetype i = at + 1;
        if (i >= count || u[i] != u'#')
            return false;
        ++i;
        const bool hex = i < count && u[i] == u'x';
        if (hex)
            ++i;
        char32_t value = 0;
        qsizetype digits = 0;
        for (; i < count; ++i, ++digits) {
            const char32_t c = u[i];
            char32_t digit = 0;
            if (c >= u'0' && c <= u'9')
                digit = c - u'0';
            else if (hex && c >= u'a' && c <= u'f')
                digit = c - u'a' + 10;
            else if (hex && c >= u'A' && c <= u'F')
                digit = c - u'A' + 10;
            else
                break;
            value = value * (hex ? 16 : 10) + digit;
            if (value > 0x10FFFF)
                value = 0x110000; // stays out of range however many digits follow
        }
        if (digits == 0 || i >= count || u[i] != u';')
            return false;
        return value == 0 || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF;
    }

    // The unit after the '>' that ends the tag starting at `from`; quoted attribute values
    // may hold '>'. References inside the values are checked.
    qsizetype SkipTag(qsizetype from, Fault &character) const
    {
        char32_t quote = 0;
        for (qsizetype i = from + 1; i < count; ++i) {
            const char32_t c = u[i];
            if (quote) {
                if (c == quote)
                    quote = 0;
                else if (c == u'&' && !character && BadReference(i))
                    character = {i, "Invalid character reference"};
            } else if (c == u'"' || c == u'\'') {
                quote = c;
            } else if (c == u'>') {
                return i + 1;
            }
        }
        return count;
    }

    // A DOCTYPE or another "<!" declaration, with an internal subset in brackets.
    qsizetype SkipDeclaration(qsizetype from, Fault &character) const
    {
        char32_t quote = 0;
        int brackets = 0;
        for (qsizetype i = from + 2; i < count; ++i) {
            const char32_t c = u[i];
            if (quote) {
                if (c == quote)
                    quote = 0;
                else if (c == u'&' && !character && BadReference(i))
                    character = {i, "Invalid character reference"};
            } else if (c == u'"' || c == u'\'') {
                quote = c;
            } else if (c == u'[') {
                ++brackets;
            } else if (c == u']') {
                brackets = brackets > 0 ? brackets - 1 : 0;
            } else if (c == u'<' && StartsWith(i, "<!--")) {
                i = Find(i + 4, "-->") - 1;
            } else if (c == u'>' && brackets == 0) {
                return i + 1;
            }
        }
        return count;
    }

    const Units u;
    const qsizetype count;
};

} // namespace

CXmlSource::CXmlSource(QByteArrayView bytes)
    : m_bytes(bytes)
{
    const auto byte = [bytes](qsizetype i) {
        return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : -1;
    };
    if ((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == '<' && byte(1) == 0))
        m_encoding = Encoding::Utf16Le;
    else if ((byte(0) == 0xFE && byte(1) == 0xFF) || (byte(0) == 0 && byte(1) == '<'))
        m_encoding = Encoding::Utf16Be;
    if (m_encoding != Encoding::Utf8)
        m_markUnits = byte(0) == '<' || byte(1) == '<' ? 0 : 1;
    else
        m_markUnits = byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF ? 3 : 0;
}

template<typename Work>
auto CXmlSource::WithScan(Work &&work) const
{
    const auto *data = reinterpret_cast<const unsigned char *>(m_bytes.data());
    const qsizetype size = m_bytes.size();
    switch (m_encoding) {
    case Encoding::Utf16Le:
        return work(CScan(Utf16LeUnits {data, size / 2}));
    case Encoding::Utf16Be:
        return work(CScan(Utf16BeUnits {data, size / 2}));
    case Encoding::Utf8:
        break;
    }
    return work(CScan(Utf8Units {data, size}));
}

void CXmlSource::Check(Fault &character, Fault &outside) const
{
    character = {};
    outside = {};
    WithScan([&](const auto &scan) {
        character = scan.CheckCharacters();
        if (!character)
            scan.CheckMarkup(m_markUnits, character, outside);
    });
}

void CXmlSource::LineAndPosition(qsizetype unit, qsizetype &line, qsizetype &pos) const
{
    WithScan([&](const auto &scan) { scan.LineAndPosition(m_markUnits, unit, line, pos); });
}

qsizetype CXmlSource::UnitOfUtf8Offset(qsizetype offset) const
{
    return WithScan([&](const auto &scan) { return scan.UnitOfUtf8Offset(offset); });
}
