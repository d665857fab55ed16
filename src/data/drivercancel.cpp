#include "drivercancel.h"

#include <dlfcn.h>

#include <cstdint>
#include <cstring>

namespace {

// A function of a library that the driver plugin has loaded (RTLD_NOLOAD never loads one),
// called while our reference keeps the library in place.
template<typename Function, typename... Args>
void CallLoaded(const char *library, const char *symbol, Args... args)
{
    void *handle = dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
    if (!handle)
        return;
    if (void *address = dlsym(handle, symbol))
        reinterpret_cast<Function>(address)(args...);
    dlclose(handle);
}

} // namespace

namespace DriverCancel {

void *PointerHandle(const QVariant &handle, const char *typeName)
{
    if (!handle.isValid() || !handle.typeName() || std::strcmp(handle.typeName(), typeName) != 0)
        return nullptr;
    return *static_cast<void *const *>(handle.constData());
}

void InterruptSqlite(void *connection)
{
    if (connection)
        CallLoaded<void (*)(void *)>("libsqlite3.so.0", "sqlite3_interrupt", connection);
}

void CancelOdbcStatement(void *statement)
{
    if (statement)
        CallLoaded<short (*)(void *)>("libodbc.so.2", "SQLCancel", statement);
}

void CancelFireBird(unsigned int connection)
{
    // fb_cancel_operation(status vector, attachment, fb_cancel_raise): the statement running
    // on the attachment fails with "operation was cancelled".
    constexpr unsigned short raise = 3;
    if (connection) {
        intptr_t status[20] = {};
        CallLoaded<intptr_t (*)(intptr_t *, unsigned int *, unsigned short)>(
                "libfbclient.so.2", "fb_cancel_operation", status, &connection, raise);
    }
}

} // namespace DriverCancel
