#include "numbertext.h"

#include <algorithm>
#include <limits>

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

ParsedNumber ParseDecimal(QStringView text, std::uint64_t limit)
{
    ParsedNumber result;
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size && IsBlank(text[i].unicode()))
        ++i;
    if (i < size && (text[i] == u'-' || text[i] == u'+')) {
        result.negative = text[i] == u'-';
        ++i;
    }
    for (; i < size; ++i) {
        const char16_t c = text[i].unicode();
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

} // namespace

QString IntText(int value)
{
    return QString::number(value);
}

int ReadInt(QStringView text)
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

std::uint32_t ReadColor(QStringView text)
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
