#include "outputfile.h"

#include "systemerror.h"

#include <QCoreApplication>
#include <QFile>
#include <QIODevice>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <pthread.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Bytes gathered before they go to the system in one write.
constexpr qsizetype BufferSize = 256 * 1024;

// Holds SIGXFSZ back for this thread while it lives. A write past the file-size limit then
// fails with EFBIG and leaves the signal pending, which is taken off before the old mask comes
// back, so it never ends the program.
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

QByteArray FolderOf(const QByteArray &target)
{
    const qsizetype slash = target.lastIndexOf('/');
    return slash < 0 ? QByteArrayLiteral(".")
                     : (slash == 0 ? QByteArrayLiteral("/") : target.left(slash));
}

// The file to replace: the final target of a symbolic link, so that the link stays. Links are
// followed one by one, so that a link to a file not yet there leads to that file, to be created
// in its folder. 0, or the errno that refuses the path: ELOOP for links that lead round in a
// loop (or too deep), ENOENT for a link into a folder that does not exist.
int ResolveTarget(const QByteArray &name, QByteArray &target)
{
    // The system's own limit of links followed in one path (Linux's MAXSYMLINKS).
    constexpr int MaxLinks = 40;
    target = name;
    for (int links = 0;; ++links) {
        struct stat info;
        if (::lstat(target.constData(), &info) != 0) {
            if (links == 0 || errno != ENOENT)
                return links == 0 ? 0 : errno;
            // A dangling link: its target is created, in a folder that must be there.
            const qsizetype slash = target.lastIndexOf('/');
            const QByteArray base = target.mid(slash + 1);
            if (base.isEmpty() || base == "." || base == "..")
                return EISDIR;
            char *folder = ::realpath(FolderOf(target).constData(), nullptr);
            if (!folder)
                return errno;
            target = QByteArray(folder) + '/' + base;
            std::free(folder);
            if (target.startsWith("//"))
                target.remove(0, 1);
            return 0;
        }
        if (!S_ISLNK(info.st_mode)) {
            if (char *resolved = links > 0 ? ::realpath(target.constData(), nullptr) : nullptr) {
                target = resolved;
                std::free(resolved);
            }
            return 0;
        }
        if (links == MaxLinks)
            return ELOOP;
        QByteArray text(qsizetype(info.st_size > 0 ? info.st_size : PATH_MAX), Qt::Uninitialized);
        const ssize_t length = ::readlink(target.constData(), text.data(), size_t(text.size()));
        if (length < 0)
            return errno;
        text.truncate(length);
        target = text.startsWith('/') ? text : FolderOf(target) + '/' + text;
    }
}

// A name beside target that no file has yet, for the new file.
QByteArray TempNameFor(const QByteArray &target)
{
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray() : target.left(slash + 1);
    // Leave room for the suffix within the usual 255-byte name limit.
    const QByteArray base = target.mid(slash + 1).left(200);
    const quint32 random = QRandomGenerator::global()->generate();
    return folder + '.' + base + '.' + QByteArray::number(random, 36) + ".tmp";
}

// Creates a new, empty file with a name of its own next to target. Its permissions are those
// an ordinary new file gets (0666 less the umask).
int CreateNamedTempFile(const QByteArray &target, QByteArray &tempName)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName = TempNameFor(target);
        const int fd = ::open(tempName.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

QByteArray ProcPath(int fd)
{
    return QByteArrayLiteral("/proc/self/fd/") + QByteArray::number(fd);
}

// Creates the new file without a name, so that nothing is left behind should the program be
// killed before it is done; -1 where the file system or the system cannot.
int CreateUnnamedFile(const QByteArray &target)
{
#ifdef O_TMPFILE
    const int fd = ::open(FolderOf(target).constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (fd < 0)
        return -1;
    // It gets its name through /proc at the end; without /proc it could never get one.
    if (::access(ProcPath(fd).constData(), F_OK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
#else
    Q_UNUSED(target);
    return -1;
#endif
}

bool WriteAll(int fd, const char *data, qsizetype size)
{
    SigxfszGuard guard;
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

// Flushes the folder's entry list, so that the rename survives a crash. File systems that
// cannot flush a folder are accepted as they are.
void SyncFolder(const QByteArray &target)
{
    const int fd = ::open(FolderOf(target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return; // A folder we may write to but not read; nothing to flush through.
    ::fsync(fd);
    ::close(fd);
}

} // namespace

// The file as a QIODevice, for writers such as QPdfWriter.
class COutputFile::Device : public QIODevice
{
public:
    explicit Device(COutputFile &file)
        : m_file(file)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        return m_file.Write(data, qsizetype(size)) ? size : -1;
    }

private:
    COutputFile &m_file;
};

COutputFile::COutputFile() = default;

COutputFile::~COutputFile()
{
    Cancel();
}

QString COutputFile::NotAFileText()
{
    return QCoreApplication::translate("WriteTextFile",
                                       "The path names a device, a pipe or a socket, not a file");
}

bool COutputFile::Fail(int error)
{
    if (m_error == 0) {
        m_error = error;
        m_buffer = QByteArray();
    }
    errno = m_error;
    return false;
}

bool COutputFile::Open(const QString &path)
{
    Cancel();
    m_path = path;
    m_error = 0;
    m_notAFile = false;
    m_danglingLink = false;
    if (const int error = ResolveTarget(QFile::encodeName(path), m_target)) {
        m_danglingLink = error != ELOOP;
        return Fail(error);
    }
    struct stat old;
    const bool hasOld = ::stat(m_target.constData(), &old) == 0;
    if (hasOld && S_ISDIR(old.st_mode))
        return Fail(EISDIR);
    // A device, a pipe or a socket would be replaced by a regular file (as root, even the
    // system's /dev/null); a pipe would block on opening. Such a target is left alone.
    if (hasOld && !S_ISREG(old.st_mode)) {
        m_notAFile = true;
        return Fail(EINVAL);
    }

    m_fd = CreateUnnamedFile(m_target);
    m_unnamed = m_fd >= 0;
    if (!m_unnamed)
        m_fd = CreateNamedTempFile(m_target, m_tempName);
    if (m_fd < 0)
        return Fail(errno);
    if (hasOld) {
        // The owner first: changing it may clear set-id bits that the mode then puts back.
        // Either call may be refused to an ordinary user; the new file then keeps the
        // defaults, which is no reason to fail.
        if (::fchown(m_fd, old.st_uid, old.st_gid) != 0) { }
        if (::fchmod(m_fd, old.st_mode & 07777) != 0) { }
    }
    m_buffer.reserve(BufferSize);
    return true;
}

bool COutputFile::Write(const char *data, qsizetype size)
{
    if (m_error != 0 || m_fd < 0)
        return Fail(m_error != 0 ? m_error : EBADF);
    if (m_buffer.size() + size > BufferSize && !Flush())
        return false;
    if (size >= BufferSize)
        return WriteAll(m_fd, data, size) || Fail(errno);
    m_buffer.append(data, size);
    return true;
}

bool COutputFile::Flush()
{
    if (m_buffer.isEmpty())
        return true;
    if (!WriteAll(m_fd, m_buffer.constData(), m_buffer.size()))
        return Fail(errno);
    m_buffer.resize(0);
    return true;
}

qint64 COutputFile::GetWrittenSize()
{
    if (m_error != 0 || m_fd < 0 || !Flush())
        return 0;
    struct stat status
    {
    };
    if (::fstat(m_fd, &status) != 0) {
        Fail(errno);
        return 0;
    }
    return status.st_size;
}

bool COutputFile::ReadAt(qint64 offset, qsizetype size, QByteArray &bytes)
{
    bytes.resize(size);
    if (m_error != 0 || m_fd < 0 || !Flush())
        return false;
    for (qsizetype done = 0; done < size;) {
        const ssize_t got
                = ::pread(m_fd, bytes.data() + done, size_t(size - done), off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return Fail(got < 0 ? errno : EIO);
        done += got;
    }
    return true;
}

bool COutputFile::WriteAt(qint64 offset, const QByteArray &bytes)
{
    if (m_error != 0 || m_fd < 0 || !Flush())
        return false;
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t put = ::pwrite(m_fd, bytes.constData() + done, size_t(bytes.size() - done),
                                     off_t(offset + done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return Fail(put < 0 ? errno : EIO);
        done += put;
    }
    return true;
}

QIODevice *COutputFile::GetDevice()
{
    if (!m_device)
        m_device = std::make_unique<Device>(*this);
    return m_device.get();
}

bool COutputFile::Commit()
{
    if (!StartCommit())
        return false;
    if (!Place(Flush() && (::fsync(m_fd) == 0 || Fail(errno))))
        return false;
    SyncFolder(m_target);
    return true;
}

std::vector<bool> COutputFile::CommitAll(const std::vector<COutputFile *> &files)
{
    std::vector<bool> started(files.size());
    std::vector<bool> written(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        started[i] = files[i]->StartCommit();
        written[i] = started[i] && files[i]->Flush();
    }
    // One flush of each file system for all the files on it; where that fails, each file is
    // flushed by itself so that each reports its own failure.
    std::map<dev_t, bool> flushed;
    std::vector<bool> done(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        if (!written[i])
            continue;
        struct stat status
        {
        };
        bool synced = false;
        if (::fstat(files[i]->m_fd, &status) == 0) {
            const auto found = flushed.find(status.st_dev);
            synced = found != flushed.end()
                    ? found->second
                    : (flushed[status.st_dev] = ::syncfs(files[i]->m_fd) == 0);
        }
        done[i] = synced || ::fsync(files[i]->m_fd) == 0 || files[i]->Fail(errno);
    }
    // Renamed only once every file is on the disk; each folder flushed once after.
    std::set<QByteArray> folders;
    for (size_t i = 0; i < files.size(); ++i) {
        if (started[i]) {
            done[i] = files[i]->Place(done[i]);
            if (done[i])
                folders.insert(files[i]->m_target);
        }
    }
    std::set<QByteArray> synced;
    for (const QByteArray &target : folders) {
        if (synced.insert(FolderOf(target)).second)
            SyncFolder(target);
    }
    return done;
}

bool COutputFile::StartCommit()
{
    if (m_error != 0 || m_fd < 0) {
        const int error = m_error != 0 ? m_error : EBADF;
        Cancel();
        return Fail(error);
    }
    return true;
}

bool COutputFile::Place(bool ok)
{
    if (ok && m_unnamed) {
        // The finished file gets a name of its own, then takes the target's.
        const QByteArray self = ProcPath(m_fd);
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_tempName = TempNameFor(m_target);
            if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, m_tempName.constData(),
                         AT_SYMLINK_FOLLOW)
                == 0) {
                break;
            }
            const int error = errno;
            m_tempName.clear();
            if (error != EEXIST) {
                ok = Fail(error);
                break;
            }
        }
        if (ok && m_tempName.isEmpty())
            ok = Fail(EEXIST);
    }
    // close() reports late write errors of some file systems; its EINTR does not mean the data
    // is lost.
    if (::close(m_fd) != 0 && ok && errno != EINTR)
        ok = Fail(errno);
    m_fd = -1;
    if (ok && ::rename(m_tempName.constData(), m_target.constData()) != 0)
        ok = Fail(errno);
    if (!ok) {
        Cancel();
        errno = m_error;
        return false;
    }
    m_tempName.clear();
    m_device.reset();
    // The new file is complete and in place: the write has happened even if the folder cannot
    // be flushed (the rename may then be lost in a crash, which no retry here would prevent).
    return true;
}

void COutputFile::Cancel()
{
    const int savedErrno = errno;
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_tempName.isEmpty()) {
        ::unlink(m_tempName.constData());
        m_tempName.clear();
    }
    m_buffer = QByteArray();
    m_device.reset();
    errno = savedErrno;
}

QString COutputFile::GetErrorText() const
{
    return m_notAFile ? NotAFileText() : SystemErrorText(m_error);
}

QString COutputFile::GetMessage() const
{
    const QString shown = QStringLiteral("\"%1\"").arg(m_path);
    const QString target = QFile::decodeName(m_target);
    QString name = shown;
    if ((m_notAFile || m_danglingLink) && !m_target.isEmpty()
        && m_target != QFile::encodeName(m_path))
        name = QCoreApplication::translate("OutputFile", "%1 (a link to \"%2\")")
                       .arg(shown, target);
    return QCoreApplication::translate("OutputFile", "Cannot write %1: %2")
            .arg(name, GetErrorText());
}
