#include "connectstring.h"

#include <QList>
#include <QStringList>

CFireBirdConnect CFireBirdConnect::Parse(const QString &text)
{
    CFireBirdConnect parts;
    const qsizetype at = text.lastIndexOf(u'@');
    if (at < 0)
        return parts;
    const QString credentials = text.left(at);
    parts.database = text.mid(at + 1).trimmed();
    const qsizetype colon = credentials.indexOf(u':');
    parts.login = (colon < 0 ? credentials : credentials.left(colon)).trimmed();
    if (colon >= 0)
        parts.password = credentials.mid(colon + 1);
    return parts;
}

QString CFireBirdConnect::Shown(const QString &text)
{
    const qsizetype colon = text.indexOf(u':');
    return colon < 0 ? text.trimmed() : text.left(colon).trimmed() + QStringLiteral(":...");
}

namespace {

struct CAttribute
{
    QString key;
    qsizetype start;
    qsizetype length;
    QString value;
};

// Where the values stand: attributes are KEY=VALUE separated by ";", a value in braces may
// hold ";" and "}}" stands for "}".
QList<CAttribute> Attributes(const QString &text)
{
    QList<CAttribute> spans;
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size) {
        const qsizetype equals = text.indexOf(u'=', i);
        if (equals < 0)
            break;
        const QString key = text.mid(i, equals - i).trimmed();
        qsizetype start = equals + 1;
        qsizetype end = start;
        QString value;
        if (end < size && text.at(end) == u'{') {
            ++end;
            while (end < size) {
                if (text.at(end) == u'}') {
                    if (end + 1 < size && text.at(end + 1) == u'}') {
                        value.append(u'}');
                        end += 2;
                        continue;
                    }
                    ++end;
                    break;
                }
                value.append(text.at(end++));
            }
        } else {
            while (end < size && text.at(end) != u';')
                ++end;
            value = text.mid(start, end - start);
        }
        spans.append({key, start, end - start, value});
        const qsizetype semicolon = text.indexOf(u';', end);
        if (semicolon < 0)
            break;
        i = semicolon + 1;
    }
    return spans;
}

QList<CAttribute> PasswordSpans(const QString &text)
{
    QList<CAttribute> spans = Attributes(text);
    spans.removeIf([](const CAttribute &attribute) {
        return attribute.key.compare(u"PWD", Qt::CaseInsensitive) != 0
                && attribute.key.compare(u"PASSWORD", Qt::CaseInsensitive) != 0;
    });
    return spans;
}

} // namespace

QString RefusedOdbcSetting(const QString &connectString)
{
    static const QStringList refused = {
            QStringLiteral("FILEDSN"),      QStringLiteral("SAVEFILE"),
            QStringLiteral("ConnSettings"), QStringLiteral("A6"),
            QStringLiteral("pqopt"),        QStringLiteral("D5"),
            QStringLiteral("Logdir"),       QStringLiteral("LoadExt"),
            QStringLiteral("Tracefile"),    QStringLiteral("JournalMode"),
    };
    for (const CAttribute &attribute : Attributes(connectString)) {
        if (refused.contains(attribute.key, Qt::CaseInsensitive)
            || (attribute.key.compare(u"DRIVER", Qt::CaseInsensitive) == 0
                && attribute.value.contains(u'/')))
            return attribute.key;
    }
    return {};
}

QString OdbcAttribute(const QString &connectString, const QString &key)
{
    for (const CAttribute &attribute : Attributes(connectString)) {
        if (attribute.key.compare(key, Qt::CaseInsensitive) == 0)
            return attribute.value;
    }
    return {};
}

QString HideOdbcPassword(const QString &connectString)
{
    QString text = connectString;
    const QList<CAttribute> spans = PasswordSpans(connectString);
    for (qsizetype i = spans.size() - 1; i >= 0; --i)
        text.replace(spans.at(i).start, spans.at(i).length, QStringLiteral("***"));
    return text;
}

QString OdbcPassword(const QString &connectString)
{
    const QList<CAttribute> spans = PasswordSpans(connectString);
    return spans.isEmpty() ? QString() : spans.first().value;
}
