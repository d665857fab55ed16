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
    static constexpr Raw nonAscii = 0x80;
    const unsigned char *data;
    qsizetype count;
    char32_t operator[](qsizetype i) const { return data[i]; }
    static constexpr Raw RawOf(char c) { return Raw(c); }
};

struct Utf16LeUnits
{
    static constexpr bool utf8 = false;
    using Raw = char16_t;
    static constexpr Raw doubtMask = qToLittleEndian<char16_t>(0xF800);
    static constexpr Raw doubtValue = qToLittleEndian<char16_t>(0xD800);
    static constexpr Raw nonAscii = qToLittleEndian<char16_t>(0xFF80);
    const unsigned char *data;
    qsizetype count;
    char32_t operator[](qsizetype i) const { return qFromLittleEndian<char16_t>(data + 2 * i); }
    static constexpr Raw RawOf(char c) { return qToLittleEndian<char16_t>(char16_t(c)); }
};

struct Utf16BeUnits
{
    static constexpr bool utf8 = false;
    using Raw = char16_t;
    static constexpr Raw doubtMask = qToBigEndian<char16_t>(0xF800);
    static constexpr Raw doubtValue = qToBigEndian<char16_t>(0xD800);
    static constexpr Raw nonAscii = qToBigEndian<char16_t>(0xFF80);
    const unsigned char *data;
    qsizetype count;
    char32_t operator[](qsizetype i) const { return qFromBigEndian<char16_t>(data + 2 * i); }
    static constexpr Raw RawOf(char c) { return qToBigEndian<char16_t>(char16_t(c)); }
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
    { }

    qsizetype Count() const { return count; }

    // The first NUL or unpaired surrogate anywhere in the text, the mark included. Sets
    // `badReference` when an '&' from unit `referencesFrom` on, in markup or not, starts a
    // reference BadReference refuses: such references are rare, and only where one occurs
    // does it matter whether it is markup.
    Fault CheckCharacters(qsizetype referencesFrom, bool &badReference) const
    {
        // Runs of plain units are passed over in blocks, eight bytes at a time, with a test
        // that has no branch per unit; a block with anything doubtful (or an '&') is looked at
        // unit by unit.
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
                                               ^ Repeated<Raw>(Units::doubtValue))
                            | HasZeroLane<Raw>(word ^ Repeated<Raw>(Units::RawOf('&')));
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
                if (c == u'&' && !badReference && i >= referencesFrom && BadReference(i))
                    badReference = true;
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

    // Follows the markup from `from` at element depth `depth` until `end`, looking for text
    // or CDATA outside the root (into `outside`) and, when `character` is given, for
    // references to characters XML does not allow (into *character: the scan stops there).
    void ScanMarkup(qsizetype from, qsizetype depth, qsizetype end, Fault *character,
                    Fault &outside) const
    {
        const char other = character ? '&' : '<';
        qsizetype i = from;
        while (i < end) {
            if (depth > 0) {
                // Inside the root only '<' and '&' matter.
                i = FindUnit(i, '<', other);
                if (i >= end)
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
                    const qsizetype tagEnd = SkipTag(i, character);
                    if (!(tagEnd >= i + 2 && u[tagEnd - 2] == u'/' && u[tagEnd - 1] == u'>'))
                        ++depth;
                    i = tagEnd;
                }
            } else {
                if (c == u'&' && character && !*character && BadReference(i))
                    *character = {i, "Invalid character reference"};
                if (depth == 0 && !IsBlank(c) && !outside)
                    outside = {i, "Text outside the root element"};
                ++i;
            }
            if (character && *character)
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
            // Blocks of ASCII units, a byte each, at a time while they all lie before the
            // offset.
            if (i + 64 <= count && bytes + 64 <= offset) {
                quint64 any = 0;
                for (qsizetype k = 0; k < 16; ++k) {
                    quint64 word;
                    std::memcpy(&word, u.data + 2 * (i + 4 * k), sizeof word);
                    any |= word;
                }
                if (!(any & Repeated<char16_t>(Units::nonAscii))) {
                    i += 64;
                    bytes += 64;
                    continue;
                }
            }
            if (i + 4 <= count && bytes + 4 <= offset) {
                quint64 word;
                std::memcpy(&word, u.data + 2 * i, sizeof word);
                if (!(word & Repeated<char16_t>(Units::nonAscii))) {
                    i += 4;
                    bytes += 4;
                    continue;
                }
            }
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

    // The first unit at or after `from` that is the ASCII character `a` or `b`; the end when
    // none. Text is passed over eight bytes at a time while no unit of them can be either.
    qsizetype FindUnit(qsizetype from, char a, char b) const
    {
        using Raw = typename Units::Raw;
        constexpr qsizetype perWord = qsizetype(sizeof(quint64) / sizeof(Raw));
        const quint64 patternA = Repeated<Raw>(Units::RawOf(a));
        const quint64 patternB = Repeated<Raw>(Units::RawOf(b));
        qsizetype i = from;
        while (i < count) {
            if (i + perWord <= count) {
                quint64 word;
                std::memcpy(&word, u.data + i * qsizetype(sizeof(Raw)), sizeof word);
                if (!(HasZeroLane<Raw>(word ^ patternA) | HasZeroLane<Raw>(word ^ patternB))) {
                    i += perWord;
                    continue;
                }
            }
            for (const qsizetype end = qMin(count, i + perWord); i < end; ++i) {
                const char32_t c = u[i];
                if (c == char32_t(a) || c == char32_t(b))
                    return i;
            }
        }
        return count;
    }

    // The unit after the first `text` at or after `from`; the end when none.
    template<qsizetype N>
    qsizetype Find(qsizetype from, const char (&text)[N]) const
    {
        for (qsizetype i = FindUnit(from, text[0], text[0]); i < count;
             i = FindUnit(i + 1, text[0], text[0])) {
            if (StartsWith(i, text))
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
    qsizetype SkipTag(qsizetype from, Fault *character) const
    {
        char32_t quote = 0;
        for (qsizetype i = from + 1; i < count; ++i) {
            const char32_t c = u[i];
            if (quote) {
                if (c == quote)
                    quote = 0;
                else if (c == u'&' && character && !*character && BadReference(i))
                    *character = {i, "Invalid character reference"};
            } else if (c == u'"' || c == u'\'') {
                quote = c;
            } else if (c == u'>') {
                return i + 1;
            }
        }
        return count;
    }

    // A DOCTYPE or another "<!" declaration, with an internal subset in brackets.
    qsizetype SkipDeclaration(qsizetype from, Fault *character) const
    {
        char32_t quote = 0;
        int brackets = 0;
        for (qsizetype i = from + 2; i < count; ++i) {
            const char32_t c = u[i];
            if (quote) {
                if (c == quote)
                    quote = 0;
                else if (c == u'&' && character && !*character && BadReference(i))
                    *character = {i, "Invalid character reference"};
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

CXmlSource::Fault CXmlSource::CheckCharacters() const
{
    return WithScan([&](const auto &scan) {
        bool badReference = false;
        Fault character = scan.CheckCharacters(m_markUnits, badReference);
        // Only where a reference could be refused does it matter whether it is markup.
        if (!character && badReference) {
            Fault outside;
            scan.ScanMarkup(m_markUnits, 0, scan.Count(), &character, outside);
        }
        return character;
    });
}

CXmlSource::Fault CXmlSource::CheckOutside(qsizetype rootStart, qsizetype resumeAt) const
{
    return WithScan([&](const auto &scan) {
        Fault outside;
        if (rootStart < m_markUnits || resumeAt < rootStart) {
            scan.ScanMarkup(m_markUnits, 0, scan.Count(), nullptr, outside);
            return outside;
        }
        scan.ScanMarkup(m_markUnits, 0, rootStart, nullptr, outside);
        if (!outside) {
            if (resumeAt > rootStart)
                scan.ScanMarkup(resumeAt, 1, scan.Count(), nullptr, outside);
            else
                scan.ScanMarkup(rootStart, 0, scan.Count(), nullptr, outside);
        }
        return outside;
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
