// A shared library under the engine's name that exports something else.
#include "vantelengine.h"

extern "C" VNT_EXPORT int vntPreview(const char16_t *, VntValueCallback, void *, char16_t *)
{
    return 1;
}
