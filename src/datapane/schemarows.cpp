#include "schemarows.h"

#include "catalogue.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace {

QString Tr(const char *text, int n = -1)
{
    return QCoreApplication::translate("CSchemaRows", text, nullptr, n);
}

CSchemaRow Note(const QString &text, int depth, bool problem = false)
{
    CSchemaRow row;
    row.depth = depth;
    row.text = text;
    row.description = text;
    row.problem = problem;
    return row;
}

// Where the column's foreign key leads, "Album.AlbumId"; empty when it has none.
QString KeyTarget(const CCatalogueTable &table, const QString &column)
{
    for (const CCatalogueForeignKey &key : table.foreignKeys) {
        const qsizetype at = key.columns.indexOf(column);
        if (at >= 0 && at < key.refColumns.size())
            return key.refTable + u'.' + key.refColumns[at];
    }
    return {};
}

CSchemaRow ColumnRow(const CCatalogueTable &table, const CCatalogueColumn &column, int depth)
{
    CSchemaRow row;
    row.kind = CSchemaRow::Kind::Column;
    row.depth = depth;
    row.text = column.name;
    row.schema = table.schema;
    row.table = table.name;
    row.column = column.name;
    row.primaryKey = column.keyPosition > 0;
    const QString target = KeyTarget(table, column.name);
    row.foreignKey = !target.isEmpty();
    QStringList detail {column.type};
    QStringList said {column.name + u' ' + column.type};
    // A key column is never NULL: saying so again would only lengthen what is read out.
    if (!column.nullable && column.keyPosition == 0)
        said << Tr("not null");
    if (row.primaryKey) {
        detail << Tr("PK");
        said << Tr("primary key");
    }
    if (row.foreignKey) {
        detail << u"-> "_s + target;
        said << u"-> "_s + target;
    }
    row.detail = detail.join(u' ');
    row.description = said.join(u", "_s);
    return row;
}

} // namespace

QList<CSchemaRow> SchemaRows(const CCatalogue &catalogue, const QString &filter,
                             const QString &error, bool reading, bool hasDatabase)
{
    QList<CSchemaRow> rows;
    if (!hasDatabase)
        return {Note(Tr("The report has no database"), 0)};
    if (reading && catalogue.tables.isEmpty())
        return {Note(Tr("Reading the tables..."), 0)};
    if (!error.isEmpty())
        return {Note(error, 0, true)};
    const QString wanted = filter.trimmed();
    bool schemas = false;
    for (const CCatalogueTable &table : catalogue.tables)
        schemas = schemas
                || (!table.schema.isEmpty()
                    && table.schema.compare(catalogue.defaultSchema, Qt::CaseInsensitive) != 0);
    QString schema;
    bool first = true;
    for (const CCatalogueTable &table : catalogue.tables) {
        const bool named = table.name.contains(wanted, Qt::CaseInsensitive);
        QList<CSchemaRow> columns;
        for (const CCatalogueColumn &column : table.columns) {
            if (named || column.name.contains(wanted, Qt::CaseInsensitive))
                columns.append(ColumnRow(table, column, schemas ? 2 : 1));
        }
        if (!named && columns.isEmpty())
            continue;
        if (schemas && (first || table.schema != schema)) {
            CSchemaRow row;
            row.kind = CSchemaRow::Kind::Schema;
            row.text = table.schema.isEmpty() ? Tr("(no schema)") : table.schema;
            row.detail = Tr("schema");
            row.description = Tr("Schema %1").arg(row.text);
            rows.append(row);
            schema = table.schema;
        }
        first = false;
        CSchemaRow row;
        row.kind = CSchemaRow::Kind::Table;
        row.depth = schemas ? 1 : 0;
        row.text = table.name;
        row.schema = table.schema;
        row.table = table.name;
        row.detail = table.view ? Tr("view") : QString();
        const int count = int(table.columns.size());
        row.description = (table.view ? Tr("View %1, %n columns", count)
                                      : Tr("Table %1, %n columns", count))
                                  .arg(table.DisplayName());
        rows.append(row);
        rows.append(columns);
    }
    if (rows.isEmpty())
        rows.append(catalogue.tables.isEmpty() ? Note(Tr("The database has no tables"), 0)
                                               : Note(Tr("No table or column matches"), 0));
    if (catalogue.truncated)
        rows.append(
                Note(Tr("Only the first %n tables are shown", int(catalogue.tables.size())), 0));
    return rows;
}

CSqlSchema CompletionSchema(const CCatalogue &catalogue)
{
    CSqlSchema schema;
    for (const CCatalogueTable &table : catalogue.tables) {
        CSqlSchemaTable entry;
        entry.schema = table.schema;
        entry.name = table.name;
        entry.written = catalogue.TableReference(table);
        for (const CCatalogueColumn &column : table.columns)
            entry.columns.append(catalogue.Quote(column.name));
        schema.append(entry);
    }
    return schema;
}
