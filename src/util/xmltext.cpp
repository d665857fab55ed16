#include "xmltext.h"

namespace {

bool IsAllowedControl(char16_t c)
{
    return c == u'\t' || c == u'\n' || c == u'\r';
}

} // namespace

QString XmlText::Allowed(const QString &text)
{
    QString allowed;
    allowed.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            allowed.append(text[i]);
            allowed.append(text[++i]);
            continue;
        }
        if ((c < 0x20 && !IsAllowedControl(c)) || QChar::isSurrogate(c) || c >= 0xFFFE)
            continue;
        allowed.append(QChar(c));
    }
    return allowed;
}

QByteArray XmlText::AllowedUtf8(const QByteArray &bytes)
{
    QByteArray allowed;
    allowed.reserve(bytes.size());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x20 && !IsAllowedControl(byte))
            continue;
        // U+FFFE and U+FFFF: EF BF BE and EF BF BF.
        if (byte == 0xEF && i + 2 < size && static_cast<unsigned char>(bytes[i + 1]) == 0xBF
            && (static_cast<unsigned char>(bytes[i + 2]) & 0xFE) == 0xBE) {
            i += 2;
            continue;
        }
        allowed.append(char(byte));
    }
    return allowed;
}

QString XmlText::Escaped(const QString &text)
{
    QString escaped;
    const QString allowed = Allowed(text);
    escaped.reserve(allowed.size());
    for (const QChar c : allowed) {
        switch (c.unicode()) {
        case u'&':
            escaped += QStringLiteral("&amp;");
            break;
        case u'<':
            escaped += QStringLiteral("&lt;");
            break;
        case u'>':
            escaped += QStringLiteral("&gt;");
            break;
        case u'"':
            escaped += QStringLiteral("&quot;");
            break;
        case u'\'':
            escaped += QStringLiteral("&#39;");
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}
