#include "numbertext.h"

#include <algorithm>
#include <limits>
#include <type_traits>

namespace {

struct ParsedNumber
{
    bool negative = false;
    // The magnitude, saturated at `limit` so that no digit run can overflow it.
    std::uint64_t magnitude = 0;
};

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

// Works on UTF-16 units or UTF-8 bytes alike: only ASCII characters count, and
// every other unit or byte ends the number.
template<typename Text>
ParsedNumber ParseDecimal(Text text, std::uint64_t limit)
{
    ParsedNumber result;
    qsizetype i = 0;
    const qsizetype size = text.size();
    const auto unit = [&text](qsizetype at) {
        if constexpr (std::is_same_v<Text, QStringView>)
            return text[at].unicode();
        else
            return char16_t(static_cast<unsigned char>(text[at]));
    };
    while (i < size && IsBlank(unit(i)))
        ++i;
    if (i < size && (unit(i) == u'-' || unit(i) == u'+')) {
        result.negative = unit(i) == u'-';
        ++i;
    }
    for (; i < size; ++i) {
        const char16_t c = unit(i);
        if (c < u'0' || c > u'9')
            break;
        if (result.magnitude < limit) {
            result.magnitude = result.magnitude * 10 + (c - u'0');
            if (result.magnitude > limit)
                result.magnitude = limit;
        }
    }
    return result;
}

template<typename Text>
int ReadIntOf(Text text)
{
    // One above INT_MAX is enough to tell both clamps apart.
    const std::uint64_t limit = std::uint64_t(std::numeric_limits<int>::max()) + 1;
    const ParsedNumber number = ParseDecimal(text, limit);
    if (number.negative) {
        if (number.magnitude >= limit)
            return std::numeric_limits<int>::min();
        return -static_cast<int>(number.magnitude);
    }
    if (number.magnitude >= limit)
        return std::numeric_limits<int>::max();
    return static_cast<int>(number.magnitude);
}

template<typename Text>
std::uint32_t ReadColorOf(Text text)
{
    const std::uint64_t limit = std::numeric_limits<std::uint32_t>::max();
    const ParsedNumber number = ParseDecimal(text, limit);
    if (!number.negative)
        return static_cast<std::uint32_t>(number.magnitude);
    const std::uint64_t intMinMagnitude = std::uint64_t(std::numeric_limits<int>::max()) + 1;
    const std::uint64_t magnitude = std::min(number.magnitude, intMinMagnitude);
    // Modular negation: the bits a 32-bit signed value of -magnitude has.
    return static_cast<std::uint32_t>(0u - static_cast<std::uint32_t>(magnitude));
}

} // namespace

QString IntText(int value)
{
    return QString::number(value);
}

int ReadInt(QStringView text)
{
    return ReadIntOf(text);
}

int ReadInt(QByteArrayView utf8)
{
    return ReadIntOf(utf8);
}

std::uint32_t ReadColor(QStringView text)
{
    return ReadColorOf(text);
}

std::uint32_t ReadColor(QByteArrayView utf8)
{
    return ReadColorOf(utf8);
}
