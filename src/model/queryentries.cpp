#include "queryentries.h"

#include <QCoreApplication>

void CQueryEntries::Add(const QString &name)
{
    if (!Contains(name))
        m_names.append(name);
}

bool CQueryEntries::Contains(const QString &name) const
{
    return m_names.contains(name, Qt::CaseInsensitive);
}

bool HasQuery(const QString &sql)
{
    return !sql.trimmed().isEmpty();
}

bool ScanQueryEntries(const QString &query, CQueryEntries &entries, QString &message)
{
    // Entries before a failing brace are kept, as callers listing them expect.
    QList<CQueryEntrySpan> spans;
    const bool ok = ScanQueryEntrySpans(query, spans, message);
    for (const CQueryEntrySpan &span : std::as_const(spans))
        entries.Add(span.name);
    return ok;
}

bool ScanQueryEntrySpans(const QString &query, QList<CQueryEntrySpan> &spans, QString &message)
{
    const QString text = query.trimmed();
    bool inDouble = false;
    bool inSingle = false;
    qsizetype openAt = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'"') {
            inDouble = !inDouble;
        } else if (c == u'\'') {
            inSingle = !inSingle;
        } else if (inDouble || inSingle) {
            continue;
        } else if (c == u'{') {
            if (openAt >= 0) {
                message = QCoreApplication::translate("Vantel",
                                                      "Two open brackets in positions %1 and %2")
                                  .arg(openAt)
                                  .arg(i);
                return false;
            }
            openAt = i;
        } else if (c == u'}') {
            if (openAt < 0) {
                message = QCoreApplication::translate(
                                  "Vantel", "A close bracket without an open one in position %1")
                                  .arg(i);
                return false;
            }
            spans.append({text.mid(openAt + 1, i - openAt - 1), openAt, i - openAt + 1});
            openAt = -1;
        }
    }
    return true;
}
