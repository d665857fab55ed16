#include "fileutil.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <new>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using ReadStep = EFileRead;

// Runs the whole read and tells which step failed, with errno of that step.
ReadStep ReadFile(const QString &path, QByteArray &bytes, int &errorCode)
{
    bytes.clear();
    errorCode = 0;
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    if (name.isEmpty() || ::stat(name.constData(), &info) != 0) {
        errorCode = name.isEmpty() ? ENOENT : errno;
        return ReadStep::Missing;
    }
    // Opening a device may already act on it (a tape rewinds), a socket
    // cannot be opened at all: only regular files and folders are opened.
    if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) {
        errorCode = EINVAL;
        return ReadStep::NotRegular;
    }
    // Should the path name a named pipe by now, opening it does not wait.
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        errorCode = errno;
        return ReadStep::Open;
    }
    // The descriptor is examined again: the path may name another file by now.
    ReadStep step = ReadStep::Done;
    if (::fstat(fd, &info) != 0) {
        errorCode = errno;
        step = ReadStep::Handle;
    } else if (S_ISDIR(info.st_mode)) {
        errorCode = EISDIR;
        step = ReadStep::Open;
    } else if (!S_ISREG(info.st_mode)) {
        errorCode = EINVAL;
        step = ReadStep::NotRegular;
    } else if (info.st_size > MaxReadFileSize) {
        errorCode = EFBIG;
        step = ReadStep::TooLarge;
    } else {
        try {
            bytes.resize(static_cast<qsizetype>(info.st_size));
        } catch (const std::bad_alloc &) {
            errorCode = ENOMEM;
            step = ReadStep::Read;
        }
    }
    qsizetype done = 0;
    while (step == ReadStep::Done && done < bytes.size()) {
        const ssize_t n
                = ::read(fd, bytes.data() + done,
                         static_cast<size_t>(std::min<qsizetype>(bytes.size() - done, INT_MAX)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // End of file before the size the file had when it was opened.
            errorCode = n < 0 ? errno : EIO;
            step = ReadStep::Read;
        }
        done += n > 0 ? n : 0;
    }
    ::close(fd);
    if (step != ReadStep::Done)
        bytes.clear();
    return step;
}

} // namespace

QString ProgramFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (n <= 0 || n == ssize_t(sizeof buffer))
        return {}; // Unreadable, or cut off at the buffer's end.
    return FolderOfPath(QFile::decodeName(QByteArray(buffer, n)));
}

QString FolderOfPath(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? path : path.left(slash);
}

bool FileExists(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    return !name.isEmpty() && ::stat(name.constData(), &info) == 0;
}

EFileRead ReadFileBytes(const QString &path, QByteArray &bytes, int &errorCode)
{
    return ReadFile(path, bytes, errorCode);
}

bool ReadWholeFile(const QString &path, QByteArray &bytes, QString &message)
{
    int errorCode = 0;
    const char *text = nullptr;
    switch (ReadFile(path, bytes, errorCode)) {
    case ReadStep::Done:
        return true;
    case ReadStep::Missing:
        text = QT_TRANSLATE_NOOP("FileUtil", "File does not exist: \"%1\"");
        break;
    case ReadStep::Open:
    case ReadStep::NotRegular:
        text = QT_TRANSLATE_NOOP("FileUtil", "Failed to open the file: \"%1\"");
        break;
    case ReadStep::TooLarge:
        message = QCoreApplication::translate("FileUtil", "The file is larger than %2 MB: \"%1\"")
                          .arg(path, QString::number(MaxReadFileSize >> 20));
        return false;
    case ReadStep::Handle:
        text = QT_TRANSLATE_NOOP("FileUtil",
                                 "The file was opened, but the file handle is invalid: \"%1\"");
        break;
    case ReadStep::Read:
        text = QT_TRANSLATE_NOOP("FileUtil", "Failed to read the file: \"%1\"");
        break;
    }
    message = QCoreApplication::translate("FileUtil", text).arg(path);
    return false;
}
