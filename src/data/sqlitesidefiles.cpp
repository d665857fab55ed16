#include "sqlitesidefiles.h"

#include <QFile>
#include <QFileInfo>

#include <map>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct CUsers
{
    int connections = 0;
    bool hadWal = false;
    bool hadShm = false;
};

std::mutex g_mutex;
std::map<QByteArray, CUsers> g_users; // by the database file's canonical path

bool Exists(const QByteArray &path)
{
    struct stat info;
    return ::lstat(path.constData(), &info) == 0;
}

// Removes the side files no connection had found, while no other process can open the
// database: SQLite's exclusive lock (a write lock over its shared-lock range) is refused while
// any connection elsewhere holds the database open, and holds off new ones meanwhile.
void RemoveLeftovers(const QByteArray &path, const CUsers &users)
{
    const QByteArray wal = path + "-wal";
    const QByteArray shm = path + "-shm";
    const bool removeWal = !users.hadWal && Exists(wal);
    const bool removeShm = !users.hadShm && Exists(shm);
    if (!removeWal && !removeShm)
        return;
    // Only a descriptor open for writing may take a write lock; nothing is written through it.
    const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return;
    constexpr off_t PendingByte = 0x40000000;
    struct flock lock
    {
    };
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = PendingByte + 2;
    lock.l_len = 510;
    if (::fcntl(fd, F_SETLK, &lock) == 0) {
        // A -wal file with frames in it holds data that is not in the database yet.
        struct stat info;
        const bool walEmpty = ::stat(wal.constData(), &info) != 0 || info.st_size == 0;
        if (walEmpty) {
            if (removeWal)
                ::unlink(wal.constData());
            if (removeShm)
                ::unlink(shm.constData());
        }
    }
    // Closing the descriptor drops the lock; no connection of this process holds any other.
    ::close(fd);
}

} // namespace

CSqliteSideFiles::CSqliteSideFiles(const QString &databasePath)
{
    const QString canonical = QFileInfo(databasePath).canonicalFilePath();
    m_path = QFile::encodeName(canonical.isEmpty() ? databasePath : canonical);
    const std::lock_guard lock(g_mutex);
    CUsers &users = g_users[m_path];
    if (users.connections++ == 0) {
        users.hadWal = Exists(m_path + "-wal");
        users.hadShm = Exists(m_path + "-shm");
    }
}

CSqliteSideFiles::~CSqliteSideFiles()
{
    const std::lock_guard lock(g_mutex);
    const auto found = g_users.find(m_path);
    if (found == g_users.end() || --found->second.connections > 0)
        return;
    RemoveLeftovers(m_path, found->second);
    g_users.erase(found);
}
