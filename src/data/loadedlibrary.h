#pragma once

#include <dlfcn.h>

// A library that a driver plugin has loaded (RTLD_NOLOAD never loads one), or loads.
class CLoadedLibrary
{
public:
    explicit CLoadedLibrary(const char *name, bool load = false)
        : m_handle(dlopen(name, RTLD_LAZY | (load ? 0 : RTLD_NOLOAD)))
        , m_keep(load)
    { }
    // A library loaded here stays: the driver plugin loads it anyway, and some libraries do not
    // survive being unloaded.
    ~CLoadedLibrary()
    {
        if (m_handle && !m_keep)
            dlclose(m_handle);
    }
    CLoadedLibrary(const CLoadedLibrary &) = delete;
    CLoadedLibrary &operator=(const CLoadedLibrary &) = delete;

    template<typename Function>
    Function Find(const char *symbol) const
    {
        return m_handle ? reinterpret_cast<Function>(dlsym(m_handle, symbol)) : nullptr;
    }

private:
    void *m_handle;
    bool m_keep;
};
