#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>

// Decimal text of a signed integer, as the template file and every message
// write numbers ("%d").
QString IntText(int value);

// Reads a signed decimal integer the way the template reader reads every
// number: leading white space (space, tab, CR, LF, VT, FF) is skipped, then an
// optional '+' or '-', then ASCII digits up to the first other character; no
// digits give 0. A value outside the int range is clamped to INT_MIN or
// INT_MAX, however many digits the text holds.
int ReadInt(QStringView text);

// ReadInt for a text in UTF-8.
int ReadInt(QByteArrayView utf8);

// Reads a colour (0x00BBGGRR) written as an unsigned 32-bit decimal ("%u"),
// with the same syntax as ReadInt. Values above 4294967295 are clamped to it.
// A negative text gives the 32-bit two's complement of its value clamped to
// the int range ("-1" reads as 4294967295, "-99999999999" as 2147483648), so
// a colour written as a signed number still reads as the same 32 bits.
std::uint32_t ReadColor(QStringView text);

// ReadColor for a text in UTF-8.
std::uint32_t ReadColor(QByteArrayView utf8);
