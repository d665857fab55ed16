// An engine that calls a function no library defines: with every symbol bound
// at load time it cannot be loaded at all.
#include "vantelengine.h"

extern "C" int vantelRunTestNowhereDefined(void);

extern "C" VNT_EXPORT int vntPreviewW(const char16_t *, VntValueCallback, void *, char16_t *)
{
    return vantelRunTestNowhereDefined();
}
