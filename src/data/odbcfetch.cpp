#include "odbcfetch.h"

#include "loadedlibrary.h"

#include <cstdint>

namespace {

// psqlODBC's own connection attributes (SQL_ATTR_PGOPT_USE_DECLAREFETCH, SQL_ATTR_PGOPT_FETCH)
// and ODBC's length code for an integer value.
constexpr int UseDeclareFetch = 65539;
constexpr int FetchRows = 65541;
constexpr int IsInteger = -6;

bool Succeeded(short result)
{
    return result == 0 || result == 1;
}

} // namespace

bool OdbcFetch::PostgresRowsAsFetched(void *connection, int rows)
{
    const CLoadedLibrary odbc("libodbc.so.2");
    const auto set = odbc.Find<short (*)(void *, int, void *, int)>("SQLSetConnectAttr");
    const auto get = odbc.Find<short (*)(void *, int, void *, int, int *)>("SQLGetConnectAttr");
    if (!connection || !set || !get)
        return false;
    // The row count first: the cursor mode reads it when it is switched on.
    if (!Succeeded(set(connection, FetchRows, reinterpret_cast<void *>(intptr_t(rows)), IsInteger))
        || !Succeeded(
                set(connection, UseDeclareFetch, reinterpret_cast<void *>(intptr_t(1)), IsInteger)))
        return false;
    int32_t value = 0;
    return Succeeded(get(connection, UseDeclareFetch, &value, IsInteger, nullptr)) && value == 1;
}
