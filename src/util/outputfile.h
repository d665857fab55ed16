#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

class QIODevice;

// A file written so that its old content is never put at risk, as the designer saves a report
// and as the engine writes a PDF, an image or an export:
//
// - a symbolic link is followed to its final target, which is replaced while the link stays (a
//   link to a file not yet there creates that file, when its folder exists); links that lead
//   round in a loop, and a link into a missing folder, are refused;
// - a target that is not a regular file (a device, a named pipe with or without a reader, a
//   socket, a folder) is refused before anything is written and left exactly as it was;
// - the new content goes to a new file in the target's folder (unnamed while it is written,
//   where the file system allows it, so that a killed program leaves nothing behind), with the
//   old file's permissions and, where allowed, its owner;
// - Commit flushes it to disk and only then renames it over the target, then flushes the folder.
//
// Every write is checked; the first failure is kept (errno and the system's text) and makes
// every later write and the commit fail. Dropping the object without Commit removes the new
// file. While writing, SIGXFSZ is held back for the calling thread, so that going over the
// file-size limit fails the write instead of ending the program.
class COutputFile
{
public:
    COutputFile();
    ~COutputFile();
    COutputFile(const COutputFile &) = delete;
    COutputFile &operator=(const COutputFile &) = delete;

    // Checks the target and creates the new file. False when refused or not possible.
    bool Open(const QString &path);

    // Appends bytes (kept in a buffer, written out in large pieces).
    bool Write(const char *data, qsizetype size);
    bool Write(const QByteArray &bytes) { return Write(bytes.constData(), bytes.size()); }

    // The file as a device for writers that take one (open for writing, not readable). Its
    // writes go through Write; a failed one answers -1.
    QIODevice *GetDevice();

    // For a writer that mends what it wrote before the commit: the bytes written so far, and
    // reading and overwriting them in place. False on failure, kept as every failure is.
    qint64 GetWrittenSize();
    bool ReadAt(qint64 offset, qsizetype size, QByteArray &bytes);
    bool WriteAt(qint64 offset, const QByteArray &bytes);
    // Flushes, renames the new file over the target and flushes the folder. Once the file is
    // in place the write counts as done: a failed flush of the folder is not reported.
    bool Commit();

    // Commits many files as Commit does each, with one flush of the disk for all of them (a
    // flush of each file costs the disk's latency, which many small files multiply): every
    // file is on the disk before any is renamed over its target, each folder is flushed once
    // after. Whether each was committed, in order; a failure is kept by its file.
    static std::vector<bool> CommitAll(const std::vector<COutputFile *> &files);

    // Drops the new file; the target stays as it was.
    void Cancel();

    // errno of the first failure, 0 when there was none.
    int GetErrorCode() const { return m_error; }
    // The system's text for the first failure ("No space left on device"), or "The path names
    // a device, a pipe or a socket, not a file" for a target that is no regular file.
    QString GetErrorText() const;
    // The same, as a sentence naming the file for a user: Cannot write "<path>": <reason>.
    // A link that leads to the refused target is named with it.
    QString GetMessage() const;

    // The text of a refused target that is no regular file, no folder.
    static QString NotAFileText();

private:
    class Device;

    bool Fail(int error);
    bool Flush();
    // Commit in two halves: refuses a file that failed or is closed; then, after the buffer is
    // written out and flushed to disk (ok says whether that went through), names the file,
    // closes it and renames it over the target, or drops it.
    bool StartCommit();
    bool Place(bool ok);

    QString m_path;
    QByteArray m_target; // the file replaced: path with its links followed
    QByteArray m_tempName; // the new file's name, once it has one
    int m_fd = -1;
    bool m_unnamed = false;
    bool m_notAFile = false;
    bool m_danglingLink = false; // the target named in messages is the one a link leads to
    int m_error = 0;
    QByteArray m_buffer;
    std::unique_ptr<Device> m_device;
};
