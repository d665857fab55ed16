#include "readonlyfence.h"

#include "loadedlibrary.h"

#include <dlfcn.h>

#include <cstdint>
#include <cstring>

namespace {

// SQLite's action codes and answers, as its C interface defines them.
enum SqliteAction { Pragma = 19, Read = 20, Select = 21, Function = 31, Recursive = 33 };
constexpr int SqliteOk = 0;
constexpr int SqliteDeny = 1;
constexpr int SqliteLimitAttached = 7;
constexpr int SqliteConfigLoadExtension = 1005;
constexpr int SqliteConfigDefensive = 1010;
constexpr int SqliteConfigTrustedSchema = 1017;

// Reading is all a report does: anything else is denied, whatever starts it. The two pragmas
// that tell a table's columns and keys only read, and the Data pane shows the tables with them
// (a report's own statement is never a PRAGMA: the statement check refuses it first).
int AuthorizeRead(void *, int action, const char *name, const char *function, const char *,
                  const char *)
{
    switch (action) {
    case Read:
    case Select:
    case Recursive:
        return SqliteOk;
    case Pragma:
        return name
                        && (std::strcmp(name, "table_info") == 0
                            || std::strcmp(name, "foreign_key_list") == 0)
                ? SqliteOk
                : SqliteDeny;
    case Function:
        return function && std::strcmp(function, "load_extension") == 0 ? SqliteDeny : SqliteOk;
    default:
        return SqliteDeny;
    }
}

} // namespace

namespace ReadOnlyFence {

bool LockSqlite(void *connection)
{
    using Authorizer = int (*)(void *, int, const char *, const char *, const char *, const char *);
    const CLoadedLibrary sqlite("libsqlite3.so.0");
    const auto setAuthorizer
            = sqlite.Find<int (*)(void *, Authorizer, void *)>("sqlite3_set_authorizer");
    const auto limit = sqlite.Find<int (*)(void *, int, int)>("sqlite3_limit");
    const auto config = sqlite.Find<int (*)(void *, int, ...)>("sqlite3_db_config");
    if (!connection || !setAuthorizer || !limit || !config)
        return false;
    int set = 0;
    if (config(connection, SqliteConfigLoadExtension, 0, &set) != SqliteOk
        || config(connection, SqliteConfigDefensive, 1, &set) != SqliteOk
        || config(connection, SqliteConfigTrustedSchema, 0, &set) != SqliteOk)
        return false;
    limit(connection, SqliteLimitAttached, 0);
    return limit(connection, SqliteLimitAttached, -1) == 0
            && setAuthorizer(connection, AuthorizeRead, nullptr) == SqliteOk;
}

QString OdbcServerName(void *connection)
{
    constexpr unsigned short dbmsName = 17;
    const CLoadedLibrary odbc("libodbc.so.2");
    const auto getInfo
            = odbc.Find<short (*)(void *, unsigned short, void *, short, short *)>("SQLGetInfo");
    if (!connection || !getInfo)
        return {};
    char name[256] = {};
    short length = 0;
    const short result = getInfo(connection, dbmsName, name, short(sizeof name), &length);
    if (result != 0 && result != 1)
        return {};
    return QString::fromUtf8(name, qsizetype(strnlen(name, sizeof name)));
}

} // namespace ReadOnlyFence

QString ReadOnlyFence::OdbcSourceDriver(const QString &dataSource)
{
    constexpr short handleEnvironment = 1;
    constexpr int odbcVersion = 200;
    constexpr unsigned short fetchNext = 1;
    constexpr unsigned short fetchFirst = 2;
    const CLoadedLibrary odbc("libodbc.so.2", true);
    const auto allocate = odbc.Find<short (*)(short, void *, void **)>("SQLAllocHandle");
    const auto setAttribute = odbc.Find<short (*)(void *, int, void *, int)>("SQLSetEnvAttr");
    const auto sources = odbc.Find<short (*)(void *, unsigned short, char *, short, short *, char *,
                                             short, short *)>("SQLDataSources");
    const auto release = odbc.Find<short (*)(short, void *)>("SQLFreeHandle");
    void *environment = nullptr;
    if (!allocate || !setAttribute || !sources || !release
        || allocate(handleEnvironment, nullptr, &environment) > 1)
        return {};
    QString driver;
    setAttribute(environment, odbcVersion, reinterpret_cast<void *>(intptr_t(3)), 0);
    char name[256];
    char description[512];
    short nameLength = 0;
    short descriptionLength = 0;
    for (unsigned short direction = fetchFirst;
         sources(environment, direction, name, short(sizeof name), &nameLength, description,
                 short(sizeof description), &descriptionLength)
         <= 1;
         direction = fetchNext) {
        if (dataSource.trimmed().compare(QString::fromUtf8(name), Qt::CaseInsensitive) == 0) {
            driver = QString::fromUtf8(description);
            break;
        }
    }
    release(handleEnvironment, environment);
    return driver;
}
