#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <vector>

class COutputFile;

// Bytes to put over a finished PDF at a place, the file's length unchanged (so that its table
// of objects stays right).
struct CBytePatch
{
    qint64 offset = 0;
    QByteArray bytes;
};

// The dates in the first bytes (head) of a PDF that QPdfWriter wrote, the information
// dictionary's CreationDate and the XMP metadata's dates, each to be set to the time given in
// seconds since 1970 UTC, written as long as the date it replaces (in UTC either way).
std::vector<CBytePatch> PdfDatePatches(const QByteArray &head, qint64 seconds);

// The places of the two hexadecimal document IDs of the trailer in the last bytes (tail) of a
// PDF, as offsets in tail; empty when it has none.
std::vector<qsizetype> PdfIdPlaces(const QByteArray &tail);

// Makes a PDF written to file (not yet committed) the same every time for the same content:
// its dates become the time given, its document ID a digest of the rest of the file. False
// when reading or writing the file failed (its error is then the file's).
bool SetPdfSourceDate(COutputFile &file, qint64 seconds);
