// An engine linked against a library that the loader will not find.
#include "vantelengine.h"

extern "C" int vantelRunTestDependency(void);

extern "C" VNT_EXPORT int vntPreviewW(const char16_t *, VntValueCallback, void *, char16_t *)
{
    return vantelRunTestDependency();
}
