#pragma once

#include <QByteArray>
#include <QString>

// File and folder helpers. Paths use '/' as separator and are passed to the
// system in the file-name encoding of QFile::encodeName.

// The folder that holds the running program's executable, without a trailing
// '/'. Taken from QCoreApplication::applicationDirPath() when an application
// object exists, otherwise from /proc/self/exe.
QString ProgramFolder();

// Everything before the last '/' of a path; the whole path when it has none.
QString FolderOfPath(const QString &path);

// True when a file or a folder of that name exists (symbolic links are
// followed: a dangling link does not count).
bool FileExists(const QString &path);

// The largest file the read helpers below take. A template, an image or any
// other file the designer reads whole is far smaller; the bound keeps a stray
// huge (or sparse) file from taking the machine's memory and minutes of time.
inline constexpr qint64 MaxReadFileSize = qint64(256) << 20;

// How a whole-file read ended.
enum class EFileRead {
    Done,
    Missing, // no file or folder of that name
    Open, // open() refused (no permission), or the path names a folder
    Handle, // the opened file cannot be examined
    NotRegular, // a device, a pipe or a socket: never read from
    TooLarge, // larger than MaxReadFileSize
    Read // a read error, or fewer bytes than the file's size
};

// Reads a whole regular file into `bytes`. On failure empties `bytes` and
// sets `errorCode` to the errno value of the failing step (EISDIR for a
// folder, EFBIG when too large). Opening never waits: a named pipe without a
// writer is refused at once. For callers that word their own message, such
// as the XML loader.
EFileRead ReadFileBytes(const QString &path, QByteArray &bytes, int &errorCode);

// Reads a whole file into `bytes`. On failure returns false, empties `bytes`
// and sets `message` to one of, with the path in quotes:
//   File does not exist: "<path>"          (no file or folder of that name)
//   Failed to open the file: "<path>"       (no permission, a folder, a
//                                            device, a pipe or a socket)
//   The file is larger than <n> MB: "<path>"
//   The file was opened, but the file handle is invalid: "<path>"
//                                           (the opened file cannot be examined)
//   Failed to read the file: "<path>"       (a read error, or fewer bytes than
//                                            the file's size)
bool ReadWholeFile(const QString &path, QByteArray &bytes, QString &message);
