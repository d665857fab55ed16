#include "firebirdclient.h"

#include <QStringList>

#include <dlfcn.h>

namespace FireBird {

namespace {

template<typename Function>
bool Bind(void *library, const char *symbol, Function &function)
{
    function = reinterpret_cast<Function>(dlsym(library, symbol));
    return function != nullptr;
}

Api Load(bool &ok)
{
    Api api {};
    // Loaded once and kept: the library shuts its threads down at the process's exit.
    void *library = dlopen("libfbclient.so.2", RTLD_NOW);
    ok = library && Bind(library, "isc_attach_database", api.attach)
            && Bind(library, "isc_detach_database", api.detach)
            && Bind(library, "isc_start_transaction", api.startTransaction)
            && Bind(library, "isc_rollback_transaction", api.rollback)
            && Bind(library, "isc_dsql_allocate_statement", api.allocateStatement)
            && Bind(library, "isc_dsql_prepare", api.prepare)
            && Bind(library, "isc_dsql_describe", api.describe)
            && Bind(library, "isc_dsql_describe_bind", api.describeBind)
            && Bind(library, "isc_dsql_sql_info", api.statementInfo)
            && Bind(library, "isc_dsql_execute", api.execute)
            && Bind(library, "isc_dsql_fetch", api.fetch)
            && Bind(library, "isc_dsql_free_statement", api.freeStatement)
            && Bind(library, "isc_open_blob2", api.openBlob)
            && Bind(library, "isc_get_segment", api.getSegment)
            && Bind(library, "isc_close_blob", api.closeBlob)
            && Bind(library, "fb_interpret", api.interpret);
    return api;
}

} // namespace

const Api *Client()
{
    static bool ok = false;
    static const Api api = Load(ok);
    return ok ? &api : nullptr;
}

QString ErrorText(const Status *status)
{
    const Api *api = Client();
    if (!api || !Failed(status))
        return {};
    QStringList lines;
    char buffer[512];
    const Status *next = status;
    while (api->interpret(buffer, sizeof buffer, &next) > 0) {
        QString line = QString::fromUtf8(buffer).simplified();
        if (line.startsWith(u'-'))
            line.remove(0, 1);
        if (!line.isEmpty())
            lines.append(line);
    }
    return lines.join(QStringLiteral("; "));
}

} // namespace FireBird
