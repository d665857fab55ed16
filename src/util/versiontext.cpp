#include "versiontext.h"

#include "vantelversion.h"

QString VersionText()
{
    return QStringLiteral("%1.%2.%3")
            .arg(VANTEL_VERSION_MAJOR)
            .arg(VANTEL_VERSION_MINOR)
            .arg(VANTEL_VERSION_PATCH);
}
