#pragma once

#include <QByteArray>
#include <QString>

// Texts from a report or its database on their way into XML-based files (SVG, HTML, the XMP
// metadata of a PDF, a workbook), which an XML reader refuses whole when they hold a character
// that XML 1.0 does not allow anywhere: control characters other than tab, line feed and
// carriage return, halves of surrogate pairs on their own, U+FFFE and U+FFFF.
namespace XmlText {

// The text without the characters XML does not allow.
QString Allowed(const QString &text);

// UTF-8 bytes without the characters XML does not allow: the control bytes, and U+FFFE and
// U+FFFF (a well-formed UTF-8 encoder writes no surrogates).
QByteArray AllowedUtf8(const QByteArray &bytes);

// The text escaped for XML character data and attribute values (& < > " '), without the
// characters XML does not allow.
QString Escaped(const QString &text);

} // namespace XmlText
