#include "sqlquerytext.h"

using namespace Qt::StringLiterals;

QString CSqlToken::Name() const
{
    if (kind != Kind::QuotedName || text.size() < 2)
        return text;
    const QChar quote = text.front() == u'[' ? QChar(u']') : text.front();
    QString inner = text.mid(1, text.size() - (text.back() == quote ? 2 : 1));
    return inner.replace(QString(2, quote), QString(quote));
}

bool CSqlToken::Is(const char *keyword) const
{
    return kind == Kind::Word && text.compare(QLatin1StringView(keyword), Qt::CaseInsensitive) == 0;
}

bool CSqlToken::IsSymbol(char symbol) const
{
    return kind == Kind::Symbol && text.size() == 1 && text.front() == QLatin1Char(symbol);
}

QList<CSqlToken> SqlTokens(const QString &sql)
{
    QList<CSqlToken> tokens;
    const int size = int(sql.size());
    int depth = 0;
    int i = 0;
    const auto add = [&](CSqlToken::Kind kind, int start, int end) {
        CSqlToken token;
        token.kind = kind;
        token.start = start;
        token.length = end - start;
        token.text = sql.mid(start, end - start);
        token.depth = depth;
        tokens.append(token);
    };
    // The end of a quoted part opened at i, a doubled closing character staying inside.
    const auto closing = [&](int at, QChar close) {
        int j = at + 1;
        while (j < size) {
            if (sql[j] == close) {
                if (j + 1 < size && sql[j + 1] == close && close != u']') {
                    j += 2;
                    continue;
                }
                return j + 1;
            }
            ++j;
        }
        return size;
    };
    while (i < size) {
        const QChar c = sql[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == u'-' && i + 1 < size && sql[i + 1] == u'-') {
            while (i < size && sql[i] != u'\n')
                ++i;
        } else if (c == u'/' && i + 1 < size && sql[i + 1] == u'*') {
            const qsizetype end = sql.indexOf(u"*/"_s, i + 2);
            i = end < 0 ? size : int(end) + 2;
        } else if (c == u'\'') {
            const int end = closing(i, c);
            add(CSqlToken::Kind::String, i, end);
            i = end;
        } else if (c == u'"' || c == u'`' || c == u'[') {
            const int end = closing(i, c == u'[' ? QChar(u']') : c);
            add(CSqlToken::Kind::QuotedName, i, end);
            i = end;
        } else if (c == u'{') {
            const qsizetype end = sql.indexOf(u'}', i + 1);
            const int stop = end < 0 ? size : int(end) + 1;
            add(CSqlToken::Kind::Entry, i, stop);
            i = stop;
        } else if (c.isLetter() || c == u'_') {
            int j = i + 1;
            while (j < size && (sql[j].isLetterOrNumber() || sql[j] == u'_' || sql[j] == u'$'))
                ++j;
            add(CSqlToken::Kind::Word, i, j);
            i = j;
        } else if (c.isDigit()) {
            int j = i + 1;
            while (j < size && (sql[j].isLetterOrNumber() || sql[j] == u'.'))
                ++j;
            add(CSqlToken::Kind::Number, i, j);
            i = j;
        } else {
            if (c == u')')
                depth = std::max(0, depth - 1);
            add(CSqlToken::Kind::Symbol, i, i + 1);
            if (c == u'(')
                ++depth;
            ++i;
        }
    }
    return tokens;
}

namespace {

// Words after a table that cannot be its alias.
bool EndsTableList(const CSqlToken &token)
{
    for (const char *word :
         {"WHERE",  "GROUP",     "ORDER",     "HAVING", "LIMIT",  "OFFSET", "UNION",
          "EXCEPT", "INTERSECT", "JOIN",      "INNER",  "LEFT",   "RIGHT",  "FULL",
          "CROSS",  "NATURAL",   "ON",        "USING",  "WINDOW", "FETCH",  "ROWS",
          "FOR",    "PLAN",      "RETURNING", "SELECT", "FROM"}) {
        if (token.Is(word))
            return true;
    }
    return false;
}

} // namespace

QList<CQueryTable> QueryTables(const QList<CSqlToken> &tokens)
{
    QList<CQueryTable> tables;
    const int count = int(tokens.size());
    for (int i = 0; i < count; ++i) {
        const bool from = tokens[i].Is("FROM");
        if (!from && !tokens[i].Is("JOIN"))
            continue;
        const int depth = tokens[i].depth;
        int j = i + 1;
        for (;;) {
            // A subquery or a function in the list is not a table of ours.
            if (j >= count || !tokens[j].IsName())
                break;
            CQueryTable table;
            table.token = j;
            table.name = tokens[j].Name();
            ++j;
            if (j + 1 < count && tokens[j].IsSymbol('.') && tokens[j + 1].IsName()) {
                table.schema = table.name;
                table.name = tokens[j + 1].Name();
                j += 2;
            }
            if (j < count && tokens[j].IsSymbol('('))
                break; // a table function
            if (j < count && tokens[j].Is("AS"))
                ++j;
            if (j < count && tokens[j].IsName() && !EndsTableList(tokens[j])) {
                table.alias = tokens[j].Name();
                ++j;
            }
            tables.append(table);
            if (!from || j >= count || !tokens[j].IsSymbol(',') || tokens[j].depth != depth)
                break;
            ++j;
        }
    }
    return tables;
}
