#include "catalogue.h"

#include "dataconnection.h"
#include "querywatchdog.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

// Words that the databases we reach reserve and that tables and columns are often named after:
// such a name is quoted even where its letters need no quotes.
bool IsReservedWord(const QString &word)
{
    static const QStringList words = [] {
        QStringList list;
        for (const char *text :
             {"ALL",        "AND",     "AS",        "ASC",        "BETWEEN",  "BY",       "CASE",
              "CAST",       "CHECK",   "COLUMN",    "CONSTRAINT", "CREATE",   "CROSS",    "CURRENT",
              "DATE",       "DEFAULT", "DELETE",    "DESC",       "DISTINCT", "DROP",     "ELSE",
              "END",        "EXISTS",  "FOR",       "FOREIGN",    "FROM",     "FULL",     "GROUP",
              "HAVING",     "IN",      "INDEX",     "INNER",      "INSERT",   "INTO",     "IS",
              "JOIN",       "KEY",     "LEFT",      "LIKE",       "LIMIT",    "NOT",      "NULL",
              "OFFSET",     "ON",      "OR",        "ORDER",      "OUTER",    "POSITION", "PRIMARY",
              "REFERENCES", "RIGHT",   "ROW",       "ROWS",       "SELECT",   "SET",      "TABLE",
              "THEN",       "TIME",    "TIMESTAMP", "TO",         "UNION",    "UNIQUE",   "UPDATE",
              "USER",       "USING",   "VALUE",     "VALUES",     "VIEW",     "WHEN",     "WHERE",
              "WITH"})
            list.append(QString::fromLatin1(text));
        list.sort();
        return list;
    }();
    return std::binary_search(words.cbegin(), words.cend(), word.toUpper());
}

bool IsPlainIdentifier(const QString &name)
{
    if (name.isEmpty() || !(name.front().isLetter() || name.front() == QLatin1Char('_')))
        return false;
    return std::all_of(name.cbegin(), name.cend(), [](QChar c) {
        return c.unicode() < 128 && (c.isLetterOrNumber() || c == QLatin1Char('_'));
    });
}

} // namespace

const CCatalogueColumn *CCatalogueTable::Column(const QString &name) const
{
    for (const CCatalogueColumn &column : columns) {
        if (column.name.compare(name, Qt::CaseInsensitive) == 0)
            return &column;
    }
    return nullptr;
}

QStringList CCatalogueTable::PrimaryKey() const
{
    QList<const CCatalogueColumn *> key;
    for (const CCatalogueColumn &column : columns) {
        if (column.keyPosition > 0)
            key.append(&column);
    }
    std::stable_sort(key.begin(), key.end(),
                     [](const auto *a, const auto *b) { return a->keyPosition < b->keyPosition; });
    QStringList names;
    for (const CCatalogueColumn *column : key)
        names.append(column->name);
    return names;
}

QString CCatalogueTable::DisplayName() const
{
    return schema.isEmpty() ? name : schema + QLatin1Char('.') + name;
}

const CCatalogueTable *CCatalogue::Find(const QString &schema, const QString &name) const
{
    for (const CCatalogueTable &table : tables) {
        if (table.name.compare(name, Qt::CaseInsensitive) == 0
            && table.schema.compare(schema, Qt::CaseInsensitive) == 0)
            return &table;
    }
    return nullptr;
}

const CCatalogueTable *CCatalogue::Find(const QString &name) const
{
    const int dot = name.indexOf(QLatin1Char('.'));
    if (dot > 0) {
        if (const CCatalogueTable *table = Find(name.left(dot), name.mid(dot + 1)))
            return table;
    }
    if (const CCatalogueTable *table = Find(defaultSchema, name))
        return table;
    for (const CCatalogueTable &table : tables) {
        if (table.name.compare(name, Qt::CaseInsensitive) == 0)
            return &table;
    }
    return nullptr;
}

QString CCatalogue::Quote(const QString &identifier) const
{
    bool readBack = IsPlainIdentifier(identifier) && !IsReservedWord(identifier);
    if (readBack && folding == IdentifierFolding::Lower)
        readBack = identifier == identifier.toLower();
    else if (readBack && folding == IdentifierFolding::Upper)
        readBack = identifier == identifier.toUpper();
    if (readBack)
        return identifier;
    QString inner = identifier;
    inner.replace(quote, QString(2, quote));
    return quote + inner + quote;
}

QString CCatalogue::TableReference(const CCatalogueTable &table) const
{
    if (table.schema.isEmpty() || table.schema.compare(defaultSchema, Qt::CaseInsensitive) == 0)
        return Quote(table.name);
    return Quote(table.schema) + QLatin1Char('.') + Quote(table.name);
}

bool ReadCatalogue(int databaseType, const QString &connectString, const CCatalogueOptions &options,
                   CCatalogue &catalogue, QString &message)
{
    catalogue = CCatalogue();
    const auto cancelled = [&options] {
        return options.cancel && options.cancel->load();
    };
    auto connection = OpenDataConnection(databaseType, connectString, options.reportFolder, message,
                                         options.timeoutMs);
    if (!connection)
        return false;
    if (cancelled()) {
        message = QCoreApplication::translate("Vantel", "Cancelled");
        return false;
    }
    CQueryWatchdog watchdog(*connection, options.cancel);
    watchdog.Arm(options.timeoutMs);
    const bool read = connection->ReadCatalogue(catalogue, options.tableLimit, message);
    watchdog.Disarm();
    if (watchdog.TimedOut()) {
        message = QCoreApplication::translate("Vantel",
                                              "The database did not answer within %1 seconds")
                          .arg((options.timeoutMs + 999) / 1000);
        return false;
    }
    if (cancelled()) {
        message = QCoreApplication::translate("Vantel", "Cancelled");
        return false;
    }
    if (!read)
        return false;
    message.clear();
    std::stable_sort(catalogue.tables.begin(), catalogue.tables.end(),
                     [](const CCatalogueTable &a, const CCatalogueTable &b) {
                         const int schema = a.schema.compare(b.schema, Qt::CaseInsensitive);
                         return schema != 0 ? schema < 0
                                            : a.name.compare(b.name, Qt::CaseInsensitive) < 0;
                     });
    return true;
}
