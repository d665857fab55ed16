#pragma once

#include <QByteArray>
#include <QString>

// Small helpers shared by the tests of every folder.
namespace TestUtil {

// Path of a file under tests/fixtures.
QString FixturePath(const QString &name);

// The whole content of a file, or an empty array when it cannot be read.
QByteArray ReadAll(const QString &path);

// Writes bytes to a file, replacing it; false when that fails.
bool WriteAll(const QString &path, const QByteArray &bytes);

// The bytes of a text as the template files store it: UTF-16LE, no byte-order
// mark, every "\n" in the text written as CR LF.
QByteArray Utf16File(const QString &textWithLf);

} // namespace TestUtil
