#include "cataloguereaders.h"

#include "dataconnection.h"
#include "sqlcursor.h"
#include "sqlsession.h"

#include <QCoreApplication>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace {

QString Cancelled()
{
    return QCoreApplication::translate("Vantel", "Cancelled");
}

// Runs one catalogue statement on a SQLite session; false with the database's message.
bool Exec(CSqlSession &session, QSqlQuery &query, const QString &sql, QString &message)
{
    if (session.IsCancelled()) {
        message = Cancelled();
        return false;
    }
    query.setForwardOnly(true);
    if (query.exec(sql))
        return true;
    message = session.IsCancelled() ? Cancelled() : DatabaseErrorText(query.lastError());
    return false;
}

QString SqliteLiteral(const QString &text)
{
    QString inner = text;
    return u'\'' + inner.replace(u'\'', u"''"_s) + u'\'';
}

// The FireBird type of a column from RDB$FIELDS: type code, sub-type, character length,
// precision and scale.
QString FireBirdType(int type, int subType, int length, int precision, int scale)
{
    const auto exact = [&](const QString &integer) {
        if (subType == 1 || subType == 2 || scale < 0)
            return u"%1(%2,%3)"_s.arg(subType == 2 ? u"DECIMAL"_s : u"NUMERIC"_s)
                    .arg(precision)
                    .arg(-scale);
        return integer;
    };
    switch (type) {
    case 7:
        return exact(u"SMALLINT"_s);
    case 8:
        return exact(u"INTEGER"_s);
    case 16:
        return exact(u"BIGINT"_s);
    case 10:
        return u"FLOAT"_s;
    case 27:
        return scale < 0 ? exact(u"DOUBLE PRECISION"_s) : u"DOUBLE PRECISION"_s;
    case 12:
        return u"DATE"_s;
    case 13:
        return u"TIME"_s;
    case 35:
        return u"TIMESTAMP"_s;
    case 23:
        return u"BOOLEAN"_s;
    case 14:
        return u"CHAR(%1)"_s.arg(length);
    case 37:
        return u"VARCHAR(%1)"_s.arg(length);
    case 261:
        return subType == 1 ? u"BLOB SUB_TYPE TEXT"_s : u"BLOB"_s;
    default:
        return u"TYPE %1"_s.arg(type);
    }
}

// Runs a catalogue query of FireBird and hands each row to the function.
bool EachRow(CDataConnection &connection, const QString &sql,
             const std::function<void(const QVariantList &)> &take, QString &message)
{
    auto cursor = connection.Execute(sql, {}, message);
    if (!cursor)
        return false;
    CDataRow row;
    while (cursor->Fetch(row, message))
        take(row.GetValues());
    return message.isEmpty();
}

} // namespace

namespace CatalogueReaders {

bool Sqlite(CSqlSession &session, CCatalogue &catalogue, int tableLimit, QString &message)
{
    catalogue.folding = IdentifierFolding::None;
    QSqlQuery query(session.Database());
    if (!Exec(session, query,
              u"SELECT name, type FROM sqlite_master WHERE type IN ('table', 'view') "
              u"AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name"_s,
              message))
        return false;
    while (query.next()) {
        if (catalogue.tables.size() == tableLimit) {
            catalogue.truncated = true;
            break;
        }
        CCatalogueTable table;
        table.name = query.value(0).toString();
        table.view = query.value(1).toString() == u"view";
        catalogue.tables.append(table);
    }
    query.finish();
    for (CCatalogueTable &table : catalogue.tables) {
        // PRAGMA table_info: cid, name, type, notnull, dflt_value, pk.
        if (!Exec(session, query, u"PRAGMA table_info(%1)"_s.arg(SqliteLiteral(table.name)),
                  message))
            return false;
        while (query.next()) {
            CCatalogueColumn column;
            column.name = query.value(1).toString();
            column.type = query.value(2).toString().toUpper();
            column.nullable = query.value(3).toInt() == 0;
            column.keyPosition = query.value(5).toInt();
            // A primary key column is never NULL in a table with a rowid, whatever it says.
            if (column.keyPosition > 0 && column.type == u"INTEGER")
                column.nullable = false;
            table.columns.append(column);
        }
        query.finish();
        // PRAGMA foreign_key_list: id, seq, table, from, to; "to" is NULL when the key refers
        // to the other table's primary key.
        if (!Exec(session, query, u"PRAGMA foreign_key_list(%1)"_s.arg(SqliteLiteral(table.name)),
                  message))
            return false;
        QHash<int, int> byId;
        while (query.next()) {
            const int id = query.value(0).toInt();
            auto found = byId.find(id);
            if (found == byId.end()) {
                CCatalogueForeignKey key;
                key.refTable = query.value(2).toString();
                table.foreignKeys.append(key);
                found = byId.insert(id, int(table.foreignKeys.size()) - 1);
            }
            CCatalogueForeignKey &key = table.foreignKeys[*found];
            key.columns.append(query.value(3).toString());
            key.refColumns.append(query.value(4).toString());
        }
        query.finish();
    }
    // Keys that name no column refer to the primary key, and use the table's own spelling.
    for (CCatalogueTable &table : catalogue.tables) {
        for (CCatalogueForeignKey &key : table.foreignKeys) {
            const CCatalogueTable *other = catalogue.Find(QString(), key.refTable);
            if (!other)
                continue;
            key.refTable = other->name;
            const QStringList primary = other->PrimaryKey();
            for (int i = 0; i < key.refColumns.size(); ++i) {
                if (key.refColumns[i].isEmpty() && i < primary.size())
                    key.refColumns[i] = primary[i];
                else if (const CCatalogueColumn *column = other->Column(key.refColumns[i]))
                    key.refColumns[i] = column->name;
            }
        }
    }
    return true;
}

bool FireBird(CDataConnection &connection, CCatalogue &catalogue, int tableLimit, QString &message)
{
    catalogue.folding = IdentifierFolding::Upper;
    QHash<QString, int> index;
    bool ok = EachRow(
            connection,
            u"SELECT TRIM(RDB$RELATION_NAME), CASE WHEN RDB$VIEW_BLR IS NULL THEN 0 ELSE 1 END "
            u"FROM RDB$RELATIONS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 "
            u"ORDER BY RDB$RELATION_NAME"_s,
            [&](const QVariantList &values) {
                if (catalogue.tables.size() == tableLimit) {
                    catalogue.truncated = true;
                    return;
                }
                CCatalogueTable table;
                table.name = values[0].toString();
                table.view = values[1].toInt() != 0;
                index.insert(table.name, int(catalogue.tables.size()));
                catalogue.tables.append(table);
            },
            message);
    const auto tableOf = [&](const QVariant &name) -> CCatalogueTable * {
        const auto found = index.constFind(name.toString());
        return found == index.cend() ? nullptr : &catalogue.tables[*found];
    };
    ok = ok
            && EachRow(
                    connection,
                    u"SELECT TRIM(rf.RDB$RELATION_NAME), TRIM(rf.RDB$FIELD_NAME), "
                    u"f.RDB$FIELD_TYPE, COALESCE(f.RDB$FIELD_SUB_TYPE, 0), "
                    u"COALESCE(f.RDB$CHARACTER_LENGTH, f.RDB$FIELD_LENGTH, 0), "
                    u"COALESCE(f.RDB$FIELD_PRECISION, 0), COALESCE(f.RDB$FIELD_SCALE, 0), "
                    u"COALESCE(rf.RDB$NULL_FLAG, f.RDB$NULL_FLAG, 0) "
                    u"FROM RDB$RELATION_FIELDS rf "
                    u"JOIN RDB$FIELDS f ON f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
                    u"ORDER BY rf.RDB$RELATION_NAME, rf.RDB$FIELD_POSITION"_s,
                    [&](const QVariantList &values) {
                        CCatalogueTable *table = tableOf(values[0]);
                        if (!table)
                            return;
                        CCatalogueColumn column;
                        column.name = values[1].toString();
                        column.type = FireBirdType(values[2].toInt(), values[3].toInt(),
                                                   values[4].toInt(), values[5].toInt(),
                                                   values[6].toInt());
                        column.nullable = values[7].toInt() == 0;
                        table->columns.append(column);
                    },
                    message);
    ok = ok
            && EachRow(
                    connection,
                    u"SELECT TRIM(c.RDB$RELATION_NAME), TRIM(s.RDB$FIELD_NAME), "
                    u"s.RDB$FIELD_POSITION FROM RDB$RELATION_CONSTRAINTS c "
                    u"JOIN RDB$INDEX_SEGMENTS s ON s.RDB$INDEX_NAME = c.RDB$INDEX_NAME "
                    u"WHERE c.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY'"_s,
                    [&](const QVariantList &values) {
                        CCatalogueTable *table = tableOf(values[0]);
                        if (!table)
                            return;
                        for (CCatalogueColumn &column : table->columns) {
                            if (column.name == values[1].toString())
                                column.keyPosition = values[2].toInt() + 1;
                        }
                    },
                    message);
    // Each foreign key's index and the index of the unique key it refers to have their columns
    // in the same positions.
    ok = ok
            && EachRow(
                    connection,
                    u"SELECT TRIM(fk.RDB$RELATION_NAME), TRIM(fk.RDB$CONSTRAINT_NAME), "
                    u"TRIM(fs.RDB$FIELD_NAME), TRIM(uq.RDB$RELATION_NAME), "
                    u"TRIM(us.RDB$FIELD_NAME) "
                    u"FROM RDB$RELATION_CONSTRAINTS fk "
                    u"JOIN RDB$REF_CONSTRAINTS r ON r.RDB$CONSTRAINT_NAME = fk.RDB$CONSTRAINT_NAME "
                    u"JOIN RDB$RELATION_CONSTRAINTS uq "
                    u"ON uq.RDB$CONSTRAINT_NAME = r.RDB$CONST_NAME_UQ "
                    u"JOIN RDB$INDEX_SEGMENTS fs ON fs.RDB$INDEX_NAME = fk.RDB$INDEX_NAME "
                    u"JOIN RDB$INDEX_SEGMENTS us ON us.RDB$INDEX_NAME = uq.RDB$INDEX_NAME "
                    u"AND us.RDB$FIELD_POSITION = fs.RDB$FIELD_POSITION "
                    u"WHERE fk.RDB$CONSTRAINT_TYPE = 'FOREIGN KEY' "
                    u"ORDER BY fk.RDB$RELATION_NAME, fk.RDB$CONSTRAINT_NAME, "
                    u"fs.RDB$FIELD_POSITION"_s,
                    [&](const QVariantList &values) {
                        CCatalogueTable *table = tableOf(values[0]);
                        if (!table)
                            return;
                        const QString name = values[1].toString();
                        if (table->foreignKeys.isEmpty()
                            || table->foreignKeys.last().name != name) {
                            CCatalogueForeignKey key;
                            key.name = name;
                            key.refTable = values[3].toString();
                            table->foreignKeys.append(key);
                        }
                        table->foreignKeys.last().columns.append(values[2].toString());
                        table->foreignKeys.last().refColumns.append(values[4].toString());
                    },
                    message);
    return ok;
}

} // namespace CatalogueReaders
