#pragma once

#include <QByteArray>
#include <QString>

// SQLite's side files of a database in WAL mode, "-wal" and "-shm": even a connection that only
// reads creates them beside the database, and as it may not write it cannot remove them when it
// closes. Held by every connection of this process to a database file, from before it opens
// until after it is closed: when the last one goes, the side files that were not there when the
// first one came are removed again, unless another process uses the database (SQLite's own
// lock on it is taken first, as SQLite does when it removes them itself) or the -wal file holds
// data. Thread-safe.
class CSqliteSideFiles
{
public:
    explicit CSqliteSideFiles(const QString &databasePath);
    ~CSqliteSideFiles();
    CSqliteSideFiles(const CSqliteSideFiles &) = delete;
    CSqliteSideFiles &operator=(const CSqliteSideFiles &) = delete;

private:
    QByteArray m_path;
};
