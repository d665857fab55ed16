#include "connectstring.h"

#include <QList>

CFireBirdConnect CFireBirdConnect::Parse(const QString &text)
{
    CFireBirdConnect parts;
    const qsizetype at = text.lastIndexOf(u'@');
    if (at < 0) {
        parts.database = text.trimmed();
        return parts;
    }
    const QString credentials = text.left(at);
    parts.database = text.mid(at + 1).trimmed();
    const qsizetype colon = credentials.indexOf(u':');
    parts.login = (colon < 0 ? credentials : credentials.left(colon)).trimmed();
    if (colon >= 0)
        parts.password = credentials.mid(colon + 1);
    return parts;
}

namespace {

struct CPasswordSpan
{
    qsizetype start;
    qsizetype length;
    QString value;
};

// Where the password values stand: attributes are KEY=VALUE separated by ";", a value in
// braces may hold ";" and "}}" stands for "}".
QList<CPasswordSpan> PasswordSpans(const QString &text)
{
    QList<CPasswordSpan> spans;
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
        if (key.compare(u"PWD", Qt::CaseInsensitive) == 0
            || key.compare(u"PASSWORD", Qt::CaseInsensitive) == 0)
            spans.append({start, end - start, value});
        const qsizetype semicolon = text.indexOf(u';', end);
        if (semicolon < 0)
            break;
        i = semicolon + 1;
    }
    return spans;
}

} // namespace

QString HideOdbcPassword(const QString &connectString)
{
    QString text = connectString;
    const QList<CPasswordSpan> spans = PasswordSpans(connectString);
    for (qsizetype i = spans.size() - 1; i >= 0; --i)
        text.replace(spans.at(i).start, spans.at(i).length, QStringLiteral("***"));
    return text;
}

QString OdbcPassword(const QString &connectString)
{
    const QList<CPasswordSpan> spans = PasswordSpans(connectString);
    return spans.isEmpty() ? QString() : spans.first().value;
}
