#include "shortentext.h"

#include <algorithm>

QString ShortenToFit(const QString &text, qsizetype maxUnits)
{
    if (text.size() <= maxUnits)
        return text;
    const QString ellipsis = QStringLiteral("...");
    if (maxUnits <= ellipsis.size())
        return ellipsis.left(std::max<qsizetype>(0, maxUnits));
    qsizetype cut = maxUnits - ellipsis.size();
    // Back to a word's end, unless that throws away more than a word's worth of the text.
    const qsizetype lowest = std::max<qsizetype>(cut / 2, cut - 40);
    qsizetype blank = cut;
    while (blank > lowest && !text.at(blank).isSpace())
        --blank;
    if (blank > lowest)
        cut = blank;
    while (cut > 0 && text.at(cut - 1).isSpace())
        --cut;
    if (cut > 0 && text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut) + ellipsis;
}
