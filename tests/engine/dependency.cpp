// The library that the missingdep engine needs and cannot find.
#include "vantelengine.h"

extern "C" VNT_EXPORT int vantelRunTestDependency(void)
{
    return 1;
}
