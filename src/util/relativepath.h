#pragma once

#include <QString>

// A file's absolute path as seen from a folder ("shop.db", "data/shop.db", "../shop.db"); any
// other text (a relative path already, an empty one) comes back as it is. Reports keep their
// SQLite database this way, so that a report and its database can move together.
QString RelativeToFolder(const QString &path, const QString &folder);
