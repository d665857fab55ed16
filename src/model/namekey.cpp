#include "namekey.h"

#include <QChar>

size_t qHash(CNameKey key, size_t seed) noexcept
{
    size_t hash = seed ^ 0x9E3779B97F4A7C15u;
    const QStringView name = key.name;
    for (qsizetype i = 0; i < name.size(); ++i) {
        char32_t code = name[i].unicode();
        if (code < 0x80) {
            // ASCII folds to itself or, for capitals, to the small letter.
            const char32_t folded = code >= U'A' && code <= U'Z' ? code + (U'a' - U'A') : code;
            hash = (hash ^ folded) * 0x100000001B3u;
            continue;
        }
        // Letters outside the basic plane fold as whole code points.
        if (QChar::isHighSurrogate(code) && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(char16_t(code), name[i + 1].unicode());
            ++i;
        }
        hash = (hash ^ QChar::toCaseFolded(code)) * 0x100000001B3u;
    }
    return hash;
}
