#include "systemerror.h"

#include <cstring>

QString SystemErrorText(int errnoValue)
{
    // strerror() answers "Unknown error N" for a value it has no text for;
    // strerrorname_np() tells the two cases apart.
    if (strerrorname_np(errnoValue) == nullptr)
        return {};
    char buffer[256];
    // The GNU strerror_r returns a pointer that is either into the buffer or
    // to a static string; both stay valid for the conversion below.
    const char *text = strerror_r(errnoValue, buffer, sizeof buffer);
    return QString::fromLocal8Bit(text);
}
