#include "musicdatabase.h"

#include "catalogue.h"
#include "dataconnection.h"
#include "testservers.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

// The statements, names between quotes; FireBird takes them without (upper case there).
QStringList Script()
{
    return {
            u"CREATE TABLE \"Artist\" (\"ArtistId\" INTEGER NOT NULL PRIMARY KEY, "
            u"\"Name\" VARCHAR(60))"_s,
            u"CREATE TABLE \"Album\" (\"AlbumId\" INTEGER NOT NULL PRIMARY KEY, "
            u"\"Title\" VARCHAR(80) NOT NULL, "
            u"\"ArtistId\" INTEGER NOT NULL REFERENCES \"Artist\" (\"ArtistId\"))"_s,
            u"CREATE TABLE \"Genre\" (\"GenreId\" INTEGER NOT NULL PRIMARY KEY, "
            u"\"Name\" VARCHAR(40))"_s,
            u"CREATE TABLE \"Track\" (\"TrackId\" INTEGER NOT NULL PRIMARY KEY, "
            u"\"Name\" VARCHAR(80) NOT NULL, \"AlbumId\" INTEGER REFERENCES \"Album\" "
            u"(\"AlbumId\"), \"GenreId\" INTEGER REFERENCES \"Genre\" (\"GenreId\"), "
            u"\"Price\" NUMERIC(10,2))"_s,
            u"CREATE TABLE \"Client\" (\"ClientId\" INTEGER NOT NULL PRIMARY KEY, "
            u"\"Name\" VARCHAR(60) NOT NULL)"_s,
            u"CREATE TABLE \"Invoice\" (\"InvoiceId\" INTEGER NOT NULL PRIMARY KEY, "
            u"\"ClientId\" INTEGER NOT NULL REFERENCES \"Client\" (\"ClientId\"), "
            u"\"BillToId\" INTEGER REFERENCES \"Client\" (\"ClientId\"), "
            u"\"Total\" NUMERIC(10,2))"_s,
            u"CREATE TABLE \"InvoiceLine\" (\"InvoiceLineId\" INTEGER NOT NULL PRIMARY KEY, "
            u"\"InvoiceId\" INTEGER NOT NULL REFERENCES \"Invoice\" (\"InvoiceId\"), "
            u"\"TrackId\" INTEGER NOT NULL REFERENCES \"Track\" (\"TrackId\"), "
            u"\"Quantity\" INTEGER NOT NULL)"_s,
            u"CREATE VIEW \"AlbumTitles\" AS SELECT \"Title\" FROM \"Album\""_s,
            u"INSERT INTO \"Artist\" VALUES (1, 'Ada Quartet')"_s,
            u"INSERT INTO \"Artist\" VALUES (2, 'Bo Trio')"_s,
            u"INSERT INTO \"Album\" VALUES (10, 'First Light', 1)"_s,
            u"INSERT INTO \"Album\" VALUES (11, 'Night Roads', 2)"_s,
            u"INSERT INTO \"Genre\" VALUES (1, 'Jazz')"_s,
            u"INSERT INTO \"Track\" VALUES (100, 'Dawn', 10, 1, 1.10)"_s,
            u"INSERT INTO \"Track\" VALUES (101, 'Noon', 10, 1, 1.20)"_s,
            u"INSERT INTO \"Track\" VALUES (102, 'Dusk', 11, NULL, 0.90)"_s,
            u"INSERT INTO \"Client\" VALUES (1, 'Carla')"_s,
            u"INSERT INTO \"Client\" VALUES (2, 'Dario')"_s,
            u"INSERT INTO \"Invoice\" VALUES (1000, 1, 2, 3.40)"_s,
            u"INSERT INTO \"Invoice\" VALUES (1001, 2, NULL, 0.90)"_s,
            u"INSERT INTO \"InvoiceLine\" VALUES (1, 1000, 100, 2)"_s,
            u"INSERT INTO \"InvoiceLine\" VALUES (2, 1000, 101, 1)"_s,
            u"INSERT INTO \"InvoiceLine\" VALUES (3, 1001, 102, 1)"_s,
    };
}

bool RunOn(const QString &driver, const std::function<void(QSqlDatabase &)> &configure,
           const QStringList &statements, QString &problem)
{
    const QString name = u"music-fixture"_s;
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, name);
        configure(db);
        if (!db.open()) {
            problem = db.lastError().text();
            ok = false;
        }
        for (const QString &sql : statements) {
            QSqlQuery query(db);
            if (ok && !query.exec(sql)) {
                problem = sql + u": "_s + query.lastError().text();
                ok = false;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

} // namespace

namespace MusicDatabase {

bool CreateSqlite(const QString &path, QString &problem)
{
    return RunOn(
            u"QSQLITE"_s, [&](QSqlDatabase &db) { db.setDatabaseName(path); }, Script(), problem);
}

bool CreateOnServers(const TestServers &servers, QString &problem)
{
    QStringList unquoted = Script();
    for (QString &sql : unquoted)
        sql.remove(u'"');
    const auto postgres = [&](QSqlDatabase &db) {
        db.setDatabaseName(servers.PostgresOdbc(servers.Password()));
    };
    return RunOn(
                   u"QIBASE"_s,
                   [&](QSqlDatabase &db) {
                       db.setDatabaseName(servers.FireBirdFile());
                       db.setUserName(u"SYSDBA"_s);
                       db.setConnectOptions(u"ISC_DPB_LC_CTYPE=UTF8"_s);
                   },
                   unquoted, problem)
            && RunOn(u"QODBC"_s, postgres, Script(), problem)
            // A schema beside "public", whose table a query names with it.
            && RunOn(u"QODBC"_s, postgres,
                     {u"CREATE SCHEMA shop"_s,
                      u"CREATE TABLE shop.\"Label\" (\"LabelId\" INTEGER PRIMARY KEY)"_s,
                      u"INSERT INTO shop.\"Label\" VALUES (7)"_s},
                     problem);
}

QString CatalogueProblem(int type, const QString &connect)
{
    CCatalogue catalogue;
    QString message;
    if (!ReadCatalogue(type, connect, {}, catalogue, message))
        return message;
    if (catalogue.truncated)
        return u"truncated"_s;
    const auto expect = [](const QString &what, const QString &seen, const QString &wanted) {
        return seen == wanted ? QString() : u"%1: %2 instead of %3\n"_s.arg(what, seen, wanted);
    };
    // The servers' database holds the EMPLOYEE sample too: only ours are compared.
    const QStringList ours {
            u"album"_s,   u"albumtitles (view)"_s, u"artist"_s, u"client"_s, u"genre"_s,
            u"invoice"_s, u"invoiceline"_s,        u"track"_s};
    QStringList names;
    int keys = 0;
    for (const CCatalogueTable &table : std::as_const(catalogue.tables)) {
        const QString name = table.name.toLower() + (table.view ? u" (view)"_s : QString());
        if (ours.contains(name)) {
            names << name;
            keys += int(table.foreignKeys.size());
        }
    }
    QString problems = expect(u"tables"_s, names.join(u", "_s), ours.join(u", "_s))
            + expect(u"foreign keys"_s, QString::number(keys), u"7"_s);
    const CCatalogueTable *line = catalogue.Find(u"InvoiceLine"_s);
    const CCatalogueTable *track = catalogue.Find(u"TRACK"_s);
    const CCatalogueTable *invoice = catalogue.Find(u"Invoice"_s);
    if (!line || !track || !invoice)
        return problems + u"tables not found"_s;
    QStringList columns;
    for (const CCatalogueColumn &column : line->columns)
        columns << u"%1 %2%3%4"_s.arg(column.name.toLower(),
                                      column.type.contains(u"INT"_s) ? u"int"_s : column.type,
                                      column.nullable ? QString() : u" not null"_s,
                                      column.keyPosition ? u" key"_s : QString());
    problems += expect(u"InvoiceLine"_s, columns.join(u", "_s),
                       u"invoicelineid int not null key, invoiceid int not null, "
                       u"trackid int not null, quantity int not null"_s);
    const CCatalogueColumn *genre = track->Column(u"genreid"_s);
    const CCatalogueColumn *price = track->Column(u"Price"_s);
    problems += expect(u"Track.GenreId"_s, genre && genre->nullable ? u"nullable"_s : QString(),
                       u"nullable"_s);
    problems += expect(u"Track.Price"_s, price ? price->type.left(10) : QString(), u"NUMERIC(10"_s);
    QStringList joins;
    for (const CCatalogueForeignKey &key : invoice->foreignKeys)
        joins << (key.columns.join(u',') + u" -> "_s + key.refTable + u'.'
                  + key.refColumns.join(u','))
                         .toLower();
    joins.sort();
    problems += expect(u"Invoice keys"_s, joins.join(u", "_s),
                       u"billtoid -> client.clientid, clientid -> client.clientid"_s);

    // PostgreSQL's own schema: its table is named with it.
    if (const CCatalogueTable *label = catalogue.Find(u"shop"_s, u"Label"_s))
        problems += expect(u"shop.Label"_s, catalogue.TableReference(*label), u"shop.\"Label\""_s);
    else if (catalogue.defaultSchema == u"public"_s)
        problems += u"no table shop.Label\n"_s;

    // Names written back the way the catalogue quotes them reach the same table.
    auto connection = OpenDataConnection(type, connect, QString(), message);
    auto cursor = connection ? connection->Execute(u"SELECT %1 FROM %2 ORDER BY 1"_s.arg(
                                                           catalogue.Quote(line->columns[1].name),
                                                           catalogue.TableReference(*line)),
                                                   {}, message)
                             : nullptr;
    CDataRow row;
    if (!cursor || !cursor->Fetch(row, message))
        return problems + message;
    return problems + expect(u"first invoice"_s, row.GetValues().value(0).toString(), u"1000"_s);
}

} // namespace MusicDatabase
