#pragma once

#include <QtGlobal>

// SOURCE_DATE_EPOCH, the convention of reproducible builds: when the environment sets it, every
// date a run writes into its files (a PDF's creation date, a workbook's properties) is that
// time, so that the same report, data and fonts give the same bytes every time.
enum class ESourceDate {
    Unset, // not in the environment, or empty: files carry the time they were written
    Set, // a whole number of seconds since 1970-01-01 UTC
    Malformed, // anything else
};

// Reads SOURCE_DATE_EPOCH; seconds receives the time when it is Set.
ESourceDate ReadSourceDate(qint64 &seconds);
