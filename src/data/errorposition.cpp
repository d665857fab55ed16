#include "errorposition.h"

#include "queryentries.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// A position of the text the driver ran (trimmed, entries replaced by "?") in the text as
// written.
int WrittenPosition(const QString &sql, qsizetype sent)
{
    QList<CQueryEntrySpan> spans;
    QString ignored;
    ScanQueryEntrySpans(sql, spans, ignored);
    qsizetype lead = 0;
    while (lead < sql.size() && sql.at(lead).isSpace())
        ++lead;
    qsizetype shift = 0;
    for (const CQueryEntrySpan &span : std::as_const(spans)) {
        if (span.start - shift >= sent)
            break;
        shift += span.length - 1;
    }
    return int(std::min(lead + sent + shift, sql.size()));
}

// The sent text, for counting lines.
QString SentText(const QString &sql)
{
    QList<CQueryEntrySpan> spans;
    QString ignored;
    ScanQueryEntrySpans(sql, spans, ignored);
    QString text = sql.trimmed();
    for (qsizetype i = spans.size() - 1; i >= 0; --i)
        text.replace(spans.at(i).start, spans.at(i).length, u"?"_s);
    return text;
}

int WordPosition(const QString &sql, const QString &word)
{
    if (word.trimmed().isEmpty())
        return -1;
    const QRegularExpression whole(u"(?<![\\w$])"_s + QRegularExpression::escape(word)
                                           + u"(?![\\w$])"_s,
                                   QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = whole.match(sql);
    if (match.hasMatch())
        return int(match.capturedStart());
    const qsizetype anywhere = sql.indexOf(word, 0, Qt::CaseInsensitive);
    return anywhere < 0 ? -1 : int(anywhere);
}

} // namespace

int ErrorPosition(const QString &sql, const QString &message)
{
    static const QRegularExpression lineColumn(u"line\\s+(\\d+),\\s*(?:char|column)\\s+(\\d+)"_s,
                                               QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression character(u"(?:at character|position:?)\\s+(\\d+)"_s,
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression quoted(u"(?:near|at or near)\\s+\"([^\"]*)\""_s,
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression named(
            u"(?:no such (?:column|table|function)|column|table|relation)\\s*:?\\s*\"?([\\w$.]+)"_s,
            QRegularExpression::CaseInsensitiveOption);
    // FireBird names the unknown word on the line after its kind.
    static const QRegularExpression unknown(
            u"(?:Token|Column|Table) unknown\\s*(?:-[^\\n]*)?\\n\\s*([^\\s]+)"_s,
            QRegularExpression::CaseInsensitiveOption);

    if (const QRegularExpressionMatch match = lineColumn.match(message); match.hasMatch()) {
        const QString sent = SentText(sql);
        const int line = match.captured(1).toInt();
        const int column = match.captured(2).toInt();
        qsizetype offset = 0;
        for (int i = 1; i < line && offset >= 0; ++i) {
            offset = sent.indexOf(u'\n', offset);
            if (offset >= 0)
                ++offset;
        }
        if (offset >= 0 && line >= 1 && column >= 1)
            return WrittenPosition(sql, std::min(offset + column - 1, sent.size()));
    }
    if (const QRegularExpressionMatch match = character.match(message); match.hasMatch()) {
        const int sent = match.captured(1).toInt();
        if (sent >= 1)
            return WrittenPosition(sql, sent - 1);
    }
    for (const QRegularExpression *words : {&quoted, &unknown, &named}) {
        if (const QRegularExpressionMatch match = words->match(message); match.hasMatch()) {
            const int position = WordPosition(sql, match.captured(1));
            if (position >= 0)
                return position;
        }
    }
    return -1;
}
