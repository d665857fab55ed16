#include "reportstatement.h"

#include "queryentries.h"

#include <QCoreApplication>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("Vantel", text);
}

struct CToken
{
    enum class Kind { Word, Name, String, Number, Mark, Entry };
    Kind kind;
    qsizetype start;
    qsizetype end;
    // The index of the query entry an Entry token stands for.
    qsizetype entry = -1;
};

enum class Fault { None, OpenQuote, OpenComment, RunComment };

struct CReading
{
    QList<CToken> tokens;
    Fault fault = Fault::None;
    qsizetype faultAt = -1;
};

bool IsWordStart(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool IsWordPart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

// Splits the text into tokens as one database would; comments and white space are left out.
// The query entries found by the report's scan are single tokens wherever the text is code.
class CLexer
{
public:
    CLexer(const QString &text, unsigned reading, const QList<CQueryEntrySpan> &entries)
        : m_text(text)
        , m_entries(entries)
        , m_postgres(reading == SqlReading::PostgreSQL)
        , m_mysql(reading == SqlReading::MySql)
        , m_standard(reading == SqlReading::Standard)
    { }

    CReading Run()
    {
        qsizetype nextEntry = 0;
        qsizetype i = 0;
        const qsizetype size = m_text.size();
        while (i < size && m_result.fault == Fault::None) {
            while (nextEntry < m_entries.size() && m_entries.at(nextEntry).start < i)
                ++nextEntry;
            if (nextEntry < m_entries.size() && m_entries.at(nextEntry).start == i) {
                const qsizetype end = i + m_entries.at(nextEntry).length;
                m_result.tokens.append({CToken::Kind::Entry, i, end, nextEntry});
                i = end;
                continue;
            }
            i = Next(i);
        }
        return m_result;
    }

private:
    QChar At(qsizetype i) const { return i < m_text.size() ? m_text.at(i) : QChar(); }

    qsizetype Fail(Fault fault, qsizetype at)
    {
        m_result.fault = fault;
        m_result.faultAt = at;
        return m_text.size();
    }

    qsizetype Add(CToken::Kind kind, qsizetype start, qsizetype end)
    {
        m_result.tokens.append({kind, start, end});
        return end;
    }

    // Reads the token (or comment, or space) at i; returns where the next one starts.
    qsizetype Next(qsizetype i)
    {
        const QChar c = m_text.at(i);
        if (c.isSpace())
            return i + 1;
        if (IsLineComment(i)) {
            const qsizetype lineEnd = m_text.indexOf(u'\n', i);
            return lineEnd < 0 ? m_text.size() : lineEnd;
        }
        if (c == u'/' && At(i + 1) == u'*')
            return BlockComment(i);
        if (c == u'\'' || (c == u'"' && m_mysql))
            return Quoted(i, CToken::Kind::String, c, m_mysql);
        if (c == u'"')
            return Quoted(i, CToken::Kind::Name, c, false);
        if (c == u'`' && !m_postgres)
            return Quoted(i, CToken::Kind::Name, c, false);
        if (c == u'[' && m_standard) {
            const qsizetype close = m_text.indexOf(u']', i + 1);
            return close < 0 ? Fail(Fault::OpenQuote, i) : Add(CToken::Kind::Name, i, close + 1);
        }
        if (c == u'$' && m_postgres && (i == 0 || !IsWordPart(m_text.at(i - 1))))
            return DollarQuoted(i);
        if (IsWordStart(c)) {
            qsizetype end = i + 1;
            while (end < m_text.size() && IsWordPart(m_text.at(end)))
                ++end;
            // E'...' holds backslash escapes.
            if (m_postgres && end == i + 1 && (c == u'E' || c == u'e') && At(end) == u'\'')
                return Quoted(i + 1, CToken::Kind::String, u'\'', true, i);
            return Add(CToken::Kind::Word, i, end);
        }
        if (c.isDigit()) {
            qsizetype end = i + 1;
            while (end < m_text.size()
                   && (m_text.at(end).isLetterOrNumber() || m_text.at(end) == u'.'))
                ++end;
            return Add(CToken::Kind::Number, i, end);
        }
        return Add(CToken::Kind::Mark, i, i + 1);
    }

    bool IsLineComment(qsizetype i) const
    {
        if (m_mysql && m_text.at(i) == u'#')
            return true;
        if (m_text.at(i) != u'-' || At(i + 1) != u'-')
            return false;
        // MySQL takes "--" for a comment only before a space or a control character.
        const QChar after = At(i + 2);
        return !m_mysql || after.isNull() || after.isSpace() || after.unicode() < 32;
    }

    qsizetype BlockComment(qsizetype i)
    {
        if (m_mysql && (At(i + 2) == u'!' || (At(i + 2) == u'M' && At(i + 3) == u'!')))
            return Fail(Fault::RunComment, i);
        int depth = 1;
        qsizetype j = i + 2;
        while (j < m_text.size() && depth > 0) {
            if (m_text.at(j) == u'*' && At(j + 1) == u'/') {
                --depth;
                j += 2;
            } else if (m_postgres && m_text.at(j) == u'/' && At(j + 1) == u'*') {
                ++depth;
                j += 2;
            } else {
                ++j;
            }
        }
        return depth > 0 ? Fail(Fault::OpenComment, i) : j;
    }

    // A quoted string or name from the quote at i; a doubled quote stands for itself.
    qsizetype Quoted(qsizetype i, CToken::Kind kind, QChar quote, bool backslash,
                     qsizetype start = -1)
    {
        qsizetype j = i + 1;
        while (j < m_text.size()) {
            const QChar c = m_text.at(j);
            if (backslash && c == u'\\') {
                j += 2;
            } else if (c == quote) {
                if (At(j + 1) != quote)
                    return Add(kind, start < 0 ? i : start, j + 1);
                j += 2;
            } else {
                ++j;
            }
        }
        return Fail(Fault::OpenQuote, start < 0 ? i : start);
    }

    // $tag$ ... $tag$, the tag empty or a name; anything else is a plain "$".
    qsizetype DollarQuoted(qsizetype i)
    {
        qsizetype j = i + 1;
        if (IsWordStart(At(j))) {
            while (j < m_text.size() && (At(j).isLetterOrNumber() || At(j) == u'_'))
                ++j;
        }
        if (At(j) != u'$')
            return Add(CToken::Kind::Mark, i, i + 1);
        const QString tag = m_text.mid(i, j - i + 1);
        const qsizetype close = m_text.indexOf(tag, j + 1);
        return close < 0 ? Fail(Fault::OpenQuote, i)
                         : Add(CToken::Kind::String, i, close + tag.size());
    }

    const QString &m_text;
    const QList<CQueryEntrySpan> &m_entries;
    const bool m_postgres;
    const bool m_mysql;
    const bool m_standard;
    CReading m_result;
};

QString ReadingName(unsigned reading)
{
    switch (reading) {
    case SqlReading::PostgreSQL:
        return QStringLiteral("PostgreSQL");
    case SqlReading::MySql:
        return QStringLiteral("MySQL");
    default:
        return QString();
    }
}

QString FaultMessage(const CReading &reading, unsigned which)
{
    QString message;
    switch (reading.fault) {
    case Fault::OpenQuote:
        message = Tr("the quote at position %1 is not closed").arg(reading.faultAt);
        break;
    case Fault::OpenComment:
        message = Tr("the comment at position %1 is not closed").arg(reading.faultAt);
        break;
    case Fault::RunComment:
        message = Tr("the comment at position %1 starts with \"/*!\", which is run as SQL")
                          .arg(reading.faultAt);
        break;
    case Fault::None:
        break;
    }
    const QString name = ReadingName(which);
    return name.isEmpty() ? message : Tr("%1 (as %2 reads it)").arg(message, name);
}

// Words that only ever write, lock, call code or control a transaction or the connection.
bool IsRefusedWord(const QString &word)
{
    static const QStringList words = {
            u"INSERT"_s,   u"UPDATE"_s, u"DELETE"_s,   u"MERGE"_s,     u"UPSERT"_s,
            u"TRUNCATE"_s, u"DROP"_s,   u"CREATE"_s,   u"ALTER"_s,     u"GRANT"_s,
            u"REVOKE"_s,   u"COMMIT"_s, u"ROLLBACK"_s, u"SAVEPOINT"_s, u"INTO"_s,
            u"EXECUTE"_s,  u"EXEC"_s,   u"CALL"_s,     u"COPY"_s,      u"VACUUM"_s,
            u"ATTACH"_s,   u"DETACH"_s, u"PRAGMA"_s,   u"REINDEX"_s,   u"LOAD_EXTENSION"_s,
            u"NEXTVAL"_s,  u"SETVAL"_s,
    };
    return words.contains(word, Qt::CaseInsensitive);
}

class CStatementRules
{
public:
    CStatementRules(const QString &text, const QList<CToken> &tokens)
        : m_text(text)
        , m_tokens(tokens)
    { }

    bool Check(QString &message) const
    {
        if (m_tokens.isEmpty()) {
            message = Tr("it holds no statement");
            return false;
        }
        for (const CToken &token : m_tokens) {
            if (IsMark(token, u'{') || IsMark(token, u'}')) {
                message = Tr("the brace at position %1 is no query entry").arg(token.start);
                return false;
            }
        }
        return CheckStart(message) && CheckWords(message);
    }

private:
    QString Text(qsizetype index) const
    {
        const CToken &token = m_tokens.at(index);
        return m_text.mid(token.start, token.end - token.start);
    }
    bool IsMark(const CToken &token, QChar mark) const
    {
        return token.kind == CToken::Kind::Mark && m_text.at(token.start) == mark;
    }
    bool IsWord(qsizetype index, QStringView word) const
    {
        return index < m_tokens.size() && m_tokens.at(index).kind == CToken::Kind::Word
                && QStringView(m_text)
                           .mid(m_tokens.at(index).start,
                                m_tokens.at(index).end - m_tokens.at(index).start)
                           .compare(word, Qt::CaseInsensitive)
                == 0;
    }

    bool CheckStart(QString &message) const
    {
        qsizetype first = 0;
        while (first < m_tokens.size() && IsMark(m_tokens.at(first), u'('))
            ++first;
        const bool with = IsWord(first, u"WITH");
        if (!with && !IsWord(first, u"SELECT") && !IsWord(first, u"VALUES")) {
            message = Tr("only a query that reads may run: it starts with SELECT, WITH or VALUES, "
                         "not \"%1\"")
                              .arg(first < m_tokens.size() ? Text(first) : QString());
            return false;
        }
        if (!with)
            return true;
        // The statement a WITH leads to is the first statement word outside the parentheses of
        // its common table expressions.
        int depth = 0;
        for (qsizetype i = first + 1; i < m_tokens.size(); ++i) {
            if (IsMark(m_tokens.at(i), u'('))
                ++depth;
            else if (IsMark(m_tokens.at(i), u')'))
                --depth;
            else if (depth == 0 && (IsWord(i, u"SELECT") || IsWord(i, u"VALUES")))
                return true;
        }
        message = Tr("a WITH must lead to a SELECT or VALUES");
        return false;
    }

    bool CheckWords(QString &message) const
    {
        for (qsizetype i = 0; i < m_tokens.size(); ++i) {
            if (m_tokens.at(i).kind != CToken::Kind::Word)
                continue;
            // A name qualified with a dot is a table's or column's, not a keyword.
            const bool qualified = (i > 0 && IsMark(m_tokens.at(i - 1), u'.'))
                    || (i + 1 < m_tokens.size() && IsMark(m_tokens.at(i + 1), u'.'));
            if (!qualified && IsRefusedWord(Text(i))) {
                message = Tr("\"%1\" may not stand in a report's query (a column of that name is "
                             "written in double quotes)")
                                  .arg(Text(i));
                return false;
            }
            if (IsWord(i, u"NEXT") && IsWord(i + 1, u"VALUE") && IsWord(i + 2, u"FOR")) {
                message = Tr("NEXT VALUE FOR would advance a sequence");
                return false;
            }
            if (IsWord(i, u"GEN_ID") && !IsReadingGenId(i + 1)) {
                message = Tr("GEN_ID with a step other than 0 would advance a generator");
                return false;
            }
        }
        return true;
    }

    // GEN_ID(name, 0): the generator's value, left as it is.
    bool IsReadingGenId(qsizetype open) const
    {
        if (open >= m_tokens.size() || !IsMark(m_tokens.at(open), u'('))
            return false;
        int depth = 0;
        qsizetype comma = -1;
        qsizetype close = -1;
        for (qsizetype i = open; i < m_tokens.size() && close < 0; ++i) {
            if (IsMark(m_tokens.at(i), u'('))
                ++depth;
            else if (IsMark(m_tokens.at(i), u')') && --depth == 0)
                close = i;
            else if (depth == 1 && IsMark(m_tokens.at(i), u','))
                comma = i;
        }
        if (comma < 0 || close != comma + 2 || m_tokens.at(comma + 1).kind != CToken::Kind::Number)
            return false;
        const QString step = Text(comma + 1);
        return std::all_of(step.begin(), step.end(),
                           [](QChar c) { return c == u'0' || c == u'.'; });
    }

    const QString &m_text;
    const QList<CToken> &m_tokens;
};

// Where the statement ends in one reading: the tokens before the first ";", or -1 when a
// second statement follows it.
qsizetype StatementLength(const QString &text, const QList<CToken> &tokens)
{
    qsizetype length = 0;
    while (length < tokens.size()
           && !(tokens.at(length).kind == CToken::Kind::Mark
                && text.at(tokens.at(length).start) == u';'))
        ++length;
    for (qsizetype i = length; i < tokens.size(); ++i) {
        if (tokens.at(i).kind != CToken::Kind::Mark || text.at(tokens.at(i).start) != u';')
            return -1;
    }
    return length;
}

} // namespace

bool CheckReportStatement(const QString &sql, unsigned readings, CReportStatement &statement,
                          QString &message)
{
    statement = CReportStatement();
    message.clear();
    if (!(readings & SqlReading::Any))
        readings = SqlReading::Standard;
    const QString text = sql.trimmed();
    QList<CQueryEntrySpan> spans;
    if (!ScanQueryEntrySpans(sql, spans, message))
        return false;

    // Every reading must see the same single statement with the same entries in it.
    bool first = true;
    qsizetype end = 0;
    QList<qsizetype> bound;
    for (const unsigned which : {SqlReading::Standard, SqlReading::PostgreSQL, SqlReading::MySql}) {
        if (!(readings & which))
            continue;
        const CReading reading = CLexer(text, which, spans).Run();
        if (reading.fault != Fault::None) {
            message = FaultMessage(reading, which);
            return false;
        }
        const qsizetype length = StatementLength(text, reading.tokens);
        if (length < 0) {
            message = Tr("it holds several statements; a report's query is one statement");
            return false;
        }
        const QList<CToken> tokens = reading.tokens.first(length);
        if (!CStatementRules(text, tokens).Check(message))
            return false;
        QList<qsizetype> entries;
        for (const CToken &token : tokens) {
            if (token.kind == CToken::Kind::Entry)
                entries.append(token.entry);
        }
        const qsizetype readingEnd = tokens.last().end;
        if (first) {
            end = readingEnd;
            bound = entries;
            first = false;
        } else if (readingEnd != end || entries != bound) {
            message = Tr("its quotes or comments are read differently by %1, so the statement "
                         "would not be the same on every database")
                              .arg(ReadingName(which));
            return false;
        }
    }
    if (first) {
        message = Tr("it holds no statement");
        return false;
    }

    statement.text = text.left(end);
    for (qsizetype i = bound.size() - 1; i >= 0; --i) {
        const CQueryEntrySpan &span = spans.at(bound.at(i));
        statement.text.replace(span.start, span.length, QStringLiteral("?"));
    }
    for (const qsizetype index : std::as_const(bound))
        statement.entries.append(spans.at(index).name);
    return true;
}

unsigned SqlReadingsOf(int databaseType)
{
    return databaseType == 2 ? SqlReading::Any : SqlReading::Standard;
}

bool CheckReportStatement(const QString &sql, int databaseType, QString &message)
{
    CReportStatement statement;
    return CheckReportStatement(sql, SqlReadingsOf(databaseType), statement, message);
}
