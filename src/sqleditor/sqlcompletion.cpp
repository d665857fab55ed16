#include "sqlcompletion.h"

#include "sqlquerytext.h"

using namespace Qt::StringLiterals;

namespace {

const QStringList &Keywords()
{
    static const QStringList words = [] {
        QStringList list;
        for (const char *word :
             {"SELECT", "DISTINCT", "FROM",  "WHERE",   "AND",    "OR",       "NOT",   "IN",
              "IS",     "NULL",     "LIKE",  "BETWEEN", "EXISTS", "JOIN",     "INNER", "LEFT",
              "RIGHT",  "FULL",     "OUTER", "CROSS",   "ON",     "USING",    "GROUP", "BY",
              "HAVING", "ORDER",    "ASC",   "DESC",    "UNION",  "ALL",      "AS",    "CASE",
              "WHEN",   "THEN",     "ELSE",  "END",     "CAST",   "COALESCE", "COUNT", "SUM",
              "AVG",    "MIN",      "MAX",   "WITH",    "VALUES", "LIMIT",    "OFFSET"})
            list.append(QString::fromLatin1(word));
        return list;
    }();
    return words;
}

const CSqlSchemaTable *FindTable(const CSqlSchema &schema, const QString &schemaName,
                                 const QString &name)
{
    const CSqlSchemaTable *any = nullptr;
    for (const CSqlSchemaTable &table : schema) {
        if (table.name.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (table.schema.compare(schemaName, Qt::CaseInsensitive) == 0)
            return &table;
        if (!any && schemaName.isEmpty())
            any = &table;
    }
    return any;
}

// Whether the tokens end where a table name goes: right after FROM or JOIN, or after a comma
// of the table list that FROM starts.
bool WantsTable(const QList<CSqlToken> &tokens)
{
    if (tokens.isEmpty())
        return false;
    const CSqlToken &last = tokens.last();
    if (last.Is("FROM") || last.Is("JOIN"))
        return true;
    if (!last.IsSymbol(','))
        return false;
    for (qsizetype i = tokens.size() - 2; i >= 0; --i) {
        const CSqlToken &token = tokens[i];
        if (token.depth < last.depth)
            return false;
        if (token.depth > last.depth || token.kind != CSqlToken::Kind::Word)
            continue;
        if (token.Is("FROM"))
            return true;
        if (token.Is("SELECT") || token.Is("WHERE") || token.Is("ON") || token.Is("BY")
            || token.Is("JOIN"))
            return false;
    }
    return false;
}

} // namespace

CSqlCompletion SqlCompletion(const QString &text, int position, const CSqlSchema &schema)
{
    CSqlCompletion completion;
    position = std::clamp(position, 0, int(text.size()));
    int start = position;
    while (start > 0 && (text[start - 1].isLetterOrNumber() || text[start - 1] == u'_'))
        --start;
    // A quoted name being written is completed from its quote.
    if (start > 0 && text[start - 1] == u'"')
        --start;
    completion.start = start;
    QString prefix = text.mid(start, position - start);
    if (prefix.startsWith(u'"'))
        prefix.remove(0, 1);

    const QList<CSqlToken> before = SqlTokens(text.left(start));
    // The word being written is left out: an unfinished quote would swallow the rest.
    const QList<CQueryTable> tables = QueryTables(text.left(start) + text.mid(position));
    QStringList candidates;
    if (before.size() >= 2 && before.last().IsSymbol('.') && before[before.size() - 2].IsName()) {
        const QString qualifier = before[before.size() - 2].Name();
        const CSqlSchemaTable *table = nullptr;
        for (const CQueryTable &used : tables) {
            if (used.Qualifier().compare(qualifier, Qt::CaseInsensitive) == 0)
                table = FindTable(schema, used.schema, used.name);
        }
        if (!table)
            table = FindTable(schema, QString(), qualifier);
        if (table)
            candidates = table->columns;
    } else if (WantsTable(before)) {
        for (const CSqlSchemaTable &table : schema)
            candidates.append(table.written);
    } else {
        candidates = Keywords();
        for (const CQueryTable &used : tables) {
            if (const CSqlSchemaTable *table = FindTable(schema, used.schema, used.name))
                candidates.append(table->columns);
        }
    }
    for (const QString &candidate : std::as_const(candidates)) {
        QString bare = candidate;
        if (bare.startsWith(u'"'))
            bare.remove(0, 1);
        if (bare.startsWith(prefix, Qt::CaseInsensitive)
            && !completion.candidates.contains(candidate))
            completion.candidates.append(candidate);
    }
    completion.candidates.sort(Qt::CaseInsensitive);
    return completion;
}
