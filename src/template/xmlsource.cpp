#include "xmlsource.h"

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

qsizetype CXmlSource::UnitCount() const
{
    return m_encoding == Encoding::Utf8 ? m_bytes.size() : m_bytes.size() / 2;
}

char32_t CXmlSource::Unit(qsizetype i) const
{
    const auto *data = reinterpret_cast<const unsigned char *>(m_bytes.data());
    switch (m_encoding) {
    case Encoding::Utf8:
        return data[i];
    case Encoding::Utf16Le:
        return char32_t(data[2 * i]) | (char32_t(data[2 * i + 1]) << 8);
    case Encoding::Utf16Be:
        return char32_t(data[2 * i + 1]) | (char32_t(data[2 * i]) << 8);
    }
    return 0;
}

bool CXmlSource::StartsWith(qsizetype at, const char *text) const
{
    const qsizetype length = qsizetype(std::strlen(text));
    if (at + length > UnitCount())
        return false;
    for (qsizetype k = 0; k < length; ++k) {
        if (Unit(at + k) != char32_t(static_cast<unsigned char>(text[k])))
            return false;
    }
    return true;
}

// The unit after the first `text` at or after `from`; the end when none.
qsizetype CXmlSource::Find(qsizetype from, const char *text) const
{
    const qsizetype count = UnitCount();
    const char32_t first = static_cast<unsigned char>(text[0]);
    for (qsizetype i = from; i < count; ++i) {
        if (Unit(i) == first && StartsWith(i, text))
            return i + qsizetype(std::strlen(text));
    }
    return count;
}

// Whether the '&' at `at` starts a character reference that names no XML
// character the parser could keep: NUL (the parser ends the text there), a
// surrogate or a value beyond Unicode. Malformed references are left to the
// parser.
bool CXmlSource::BadReference(qsizetype at) const
{
    const qsizetype count = UnitCount();
    qsizetype i = at + 1;
    if (i >= count || Unit(i) != u'#')
        return false;
    ++i;
    const bool hex = i < count && Unit(i) == u'x';
    if (hex)
        ++i;
    char32_t value = 0;
    qsizetype digits = 0;
    for (; i < count; ++i, ++digits) {
        const char32_t c = Unit(i);
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
    if (digits == 0 || i >= count || Unit(i) != u';')
        return false;
    return value == 0 || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF;
}

// The unit after the '>' that ends the tag starting at `from`; quoted
// attribute values may hold '>'. References inside the values are checked.
qsizetype CXmlSource::SkipTag(qsizetype from, Fault &character) const
{
    const qsizetype count = UnitCount();
    char32_t quote = 0;
    for (qsizetype i = from + 1; i < count; ++i) {
        const char32_t c = Unit(i);
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
qsizetype CXmlSource::SkipDeclaration(qsizetype from, Fault &character) const
{
    const qsizetype count = UnitCount();
    char32_t quote = 0;
    int brackets = 0;
    for (qsizetype i = from + 2; i < count; ++i) {
        const char32_t c = Unit(i);
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

void CXmlSource::CheckCharacters(Fault &character) const
{
    const qsizetype count = UnitCount();
    if (m_encoding == Encoding::Utf8) {
        const auto *data = reinterpret_cast<const unsigned char *>(m_bytes.data());
        for (qsizetype i = 0; i < count; ++i) {
            if (data[i] == 0) {
                character = {i, "Invalid character"};
                return;
            }
            // 0xED 0xA0..0xBF starts a surrogate written as UTF-8.
            if (data[i] == 0xED && i + 1 < count && data[i + 1] >= 0xA0) {
                character = {i, "Unpaired surrogate"};
                return;
            }
        }
        return;
    }
    for (qsizetype i = 0; i < count; ++i) {
        const char32_t c = Unit(i);
        if (c == 0) {
            character = {i, "Invalid character"};
            return;
        }
        if (IsHigh(c) && i + 1 < count && IsLow(Unit(i + 1))) {
            ++i;
            continue;
        }
        if (IsHigh(c) || IsLow(c)) {
            character = {i, "Unpaired surrogate"};
            return;
        }
    }
    // An odd last byte is left to the parser.
}

void CXmlSource::Check(Fault &character, Fault &outside) const
{
    character = {};
    outside = {};
    CheckCharacters(character);
    if (character)
        return;

    const qsizetype count = UnitCount();
    qsizetype depth = 0;
    qsizetype i = m_markUnits;
    while (i < count) {
        const char32_t c = Unit(i);
        if (c == u'<') {
            if (StartsWith(i, "<!--")) {
                i = Find(i + 4, "-->");
            } else if (StartsWith(i, "<![CDATA[")) {
                if (depth == 0 && !outside)
                    outside = {i, "Text outside the root element"};
                i = Find(i + 9, "]]>");
            } else if (StartsWith(i, "<?")) {
                i = Find(i + 2, "?>");
            } else if (StartsWith(i, "<!")) {
                i = SkipDeclaration(i, character);
            } else if (StartsWith(i, "</")) {
                i = SkipTag(i, character);
                depth = depth > 0 ? depth - 1 : 0;
            } else {
                const qsizetype end = SkipTag(i, character);
                if (!(end >= i + 2 && Unit(end - 2) == u'/' && Unit(end - 1) == u'>'))
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

void CXmlSource::LineAndPosition(qsizetype unit, qsizetype &line, qsizetype &pos) const
{
    line = 1;
    pos = 1;
    const qsizetype end = qBound(qsizetype(0), unit, UnitCount());
    for (qsizetype i = m_markUnits; i < end; ++i) {
        const char32_t c = Unit(i);
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < end && Unit(i + 1) == u'\n')
                ++i;
            ++line;
            pos = 1;
        } else if (m_encoding == Encoding::Utf8 ? (c & 0xC0) != 0x80 : !IsLow(c)) {
            ++pos;
        }
    }
}

qsizetype CXmlSource::UnitOfUtf8Offset(qsizetype offset) const
{
    if (m_encoding == Encoding::Utf8)
        return offset;
    const qsizetype count = UnitCount();
    qsizetype bytes = 0;
    qsizetype i = 0;
    while (i < count && bytes < offset) {
        char32_t c = Unit(i);
        qsizetype units = 1;
        if (IsHigh(c) && i + 1 < count && IsLow(Unit(i + 1))) {
            c = 0x10000;
            units = 2;
        }
        bytes += Utf8Length(c);
        i += units;
    }
    return i;
}
