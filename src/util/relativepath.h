#pragma once

#include <QString>

// A file's absolute path as seen from a folder ("shop.db", "data/shop.db", "../shop.db"); any
// other text (a relative path already, an empty one) comes back as it is. Reports keep their
// SQLite database this way, so that a report and its database can move together.
QString RelativeToFolder(const QString &path, const QString &folder);

// The database path a report saved in toFolder stores: an absolute path made relative to
// toFolder; a relative one, which named a file from fromFolder (where the report was saved
// before), named from toFolder instead, so that Save As elsewhere keeps the same database.
// fromFolder empty (a report never saved) leaves a relative path as it is.
QString DatabasePathForFolder(const QString &path, const QString &fromFolder,
                              const QString &toFolder);
