#include "writetextfile.h"

#include "systemerror.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QSysInfo>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Holds SIGXFSZ back for this thread while it lives. A write past the
// file-size limit then fails with EFBIG and leaves the signal pending, which
// is taken off before the old mask comes back, so it never ends the program.
class SigxfszGuard
{
public:
    SigxfszGuard()
    {
        sigemptyset(&m_set);
        sigaddset(&m_set, SIGXFSZ);
        pthread_sigmask(SIG_BLOCK, &m_set, &m_oldMask);
        sigset_t pending;
        m_wasPending = sigpending(&pending) == 0 && sigismember(&pending, SIGXFSZ) == 1;
    }
    ~SigxfszGuard()
    {
        const int savedErrno = errno;
        sigset_t pending;
        if (!m_wasPending && sigpending(&pending) == 0 && sigismember(&pending, SIGXFSZ) == 1) {
            const timespec noWait {};
            while (sigtimedwait(&m_set, nullptr, &noWait) < 0 && errno == EINTR) { }
        }
        pthread_sigmask(SIG_SETMASK, &m_oldMask, nullptr);
        errno = savedErrno;
    }
    SigxfszGuard(const SigxfszGuard &) = delete;
    SigxfszGuard &operator=(const SigxfszGuard &) = delete;

private:
    sigset_t m_set;
    sigset_t m_oldMask;
    bool m_wasPending = false;
};

// The file to replace: the target of a symbolic link, so that the link stays.
QByteArray ResolveTarget(const QByteArray &name)
{
    struct stat info;
    if (::lstat(name.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
        return name;
    char *resolved = ::realpath(name.constData(), nullptr);
    if (!resolved)
        return name; // A dangling link is replaced by the new file itself.
    QByteArray target(resolved);
    std::free(resolved);
    return target;
}

// Creates a new, empty file next to `target` that no one else has opened.
// Its permissions are those an ordinary new file gets (0666 less the umask).
int CreateTempFile(const QByteArray &target, QByteArray &tempName)
{
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray() : target.left(slash + 1);
    // Leave room for the suffix within the usual 255-byte name limit.
    const QByteArray base = target.mid(slash + 1).left(200);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const quint32 random = QRandomGenerator::global()->generate();
        tempName = folder + '.' + base + '.' + QByteArray::number(random, 36) + ".tmp";
        const int fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool WriteAll(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const size_t chunk = static_cast<size_t>(std::min<qsizetype>(size, INT_MAX));
        const ssize_t n = ::write(fd, data, chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            // A regular file that takes no bytes at all has no room left.
            errno = ENOSPC;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

// Flushes the folder's entry list, so that the rename survives a crash.
// File systems that cannot flush a folder are accepted as they are.
bool SyncFolder(const QByteArray &target)
{
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0
            ? QByteArrayLiteral(".")
            : (slash == 0 ? QByteArrayLiteral("/") : target.left(slash));
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return true; // A folder we may write to but not read; nothing to flush through.
    bool ok = ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
    const int savedErrno = errno;
    ::close(fd);
    errno = savedErrno;
    return ok;
}

bool Fail(QString *message)
{
    if (message)
        *message = SystemErrorText(errno);
    return false;
}

} // namespace

bool WriteTextFile(const QString &path, const QString &text, QString *message)
{
    const QByteArray target = ResolveTarget(QFile::encodeName(path));
    if (target.isEmpty()) {
        errno = ENOENT;
        return Fail(message);
    }
    struct stat old;
    const bool hasOld = ::stat(target.constData(), &old) == 0;
    if (hasOld && S_ISDIR(old.st_mode)) {
        errno = EISDIR;
        return Fail(message);
    }
    // A device, a pipe or a socket would be replaced by a regular file (as
    // root, even the system's /dev/null): such a target is left alone.
    if (hasOld && !S_ISREG(old.st_mode)) {
        errno = EINVAL;
        if (message) {
            *message = QCoreApplication::translate(
                    "WriteTextFile", "The path names a device, a pipe or a socket, not a file");
        }
        return false;
    }

    // The template format is little-endian whatever the machine's own order.
    QString swapped;
    const QString *units = &text;
    if constexpr (QSysInfo::ByteOrder != QSysInfo::LittleEndian) {
        swapped = text;
        for (QChar &c : swapped)
            c = QChar(char16_t((c.unicode() << 8) | (c.unicode() >> 8)));
        units = &swapped;
    }
    const char *data = reinterpret_cast<const char *>(units->utf16());
    const qsizetype size = units->size() * qsizetype(sizeof(char16_t));

    SigxfszGuard guard;
    QByteArray tempName;
    const int fd = CreateTempFile(target, tempName);
    if (fd < 0)
        return Fail(message);

    if (hasOld) {
        // The owner first: changing it may clear set-id bits that the mode
        // then puts back. Either call may be refused to an ordinary user; the
        // new file then keeps the defaults, which is no reason to fail.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) { }
        if (::fchmod(fd, old.st_mode & 07777) != 0) { }
    }

    bool ok = WriteAll(fd, data, size) && ::fsync(fd) == 0;
    int savedErrno = errno;
    // close() reports late write errors of some file systems; its EINTR does
    // not mean the data is lost.
    if (::close(fd) != 0 && ok && errno != EINTR) {
        ok = false;
        savedErrno = errno;
    }
    if (ok && ::rename(tempName.constData(), target.constData()) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        ::unlink(tempName.constData());
        errno = savedErrno;
        return Fail(message);
    }
    // The new file is complete and in place: the save has happened even if
    // the folder cannot be flushed (the rename may then be lost in a crash,
    // which no retry here would prevent).
    SyncFolder(target);
    return true;
}
