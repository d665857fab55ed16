#include "testutil.h"

#include <QFile>

namespace TestUtil {

QString FixturePath(const QString &name)
{
    return QStringLiteral(VANTEL_FIXTURES_DIR "/") + name;
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool WriteAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size();
}

QByteArray Utf16File(const QString &textWithLf)
{
    QString text = textWithLf;
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (QChar c : text) {
        const char16_t u = c.unicode();
        bytes.append(char(u & 0xFF));
        bytes.append(char(u >> 8));
    }
    return bytes;
}

} // namespace TestUtil
