#pragma once

#include <QString>

// The program's version as "major.minor.patch" (the fourth number of the
// compiled-in version is not shown), for the About box and --version.
QString VersionText();
