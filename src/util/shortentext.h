#pragma once

#include <QString>

// A text made to fit a buffer of a fixed number of UTF-16 units: a text that fits comes back as
// it is; a longer one is cut at the last blank that leaves room for "..." (or, in a text with no
// blank near the end, just before the room) and ends with "...". A surrogate pair is never split.
QString ShortenToFit(const QString &text, qsizetype maxUnits);
