#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

// Standard Base64 (alphabet A-Z, a-z, 0-9, '+', '/'), as image bytes are
// stored in a template. Both directions make one pass over their input and
// allocate their result once.

// Three bytes become four characters; a last group of one or two bytes is
// padded with "==" or "=" (its missing bits are zero). No line breaks; no
// bytes give an empty result. The result is ASCII, ready to be appended to a
// QString with QLatin1StringView.
QByteArray Base64Encode(const QByteArray &bytes);

// Decodes the text of an image element as the template reader gets it.
// Leading spaces and tabs are skipped; decoding stops at the first character
// outside the alphabet ('=', a line break, NUL, anything from U+0080 up). Each
// full group of four characters gives three bytes; a trailing group of three
// or two characters gives two or one bytes, and a trailing single character
// gives one byte made of its six bits (in the high bits of the byte).
QByteArray Base64Decode(QStringView text);

// The same for text as UTF-8 bytes.
QByteArray Base64Decode(QByteArrayView text);
