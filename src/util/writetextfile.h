#pragma once

#include <QString>

// Writes `text` to the file at `path` as the template format stores text: its
// UTF-16 code units in little-endian order, without a byte-order mark and
// without a terminating NUL. An existing file is replaced completely.
//
// The old file is never put at risk: the text goes to a new file in the same
// folder (with the old file's permissions and, where allowed, its owner),
// every write is checked, the new file is flushed to disk and only then
// renamed over the old one, and the folder is flushed after that. When a step
// fails before the rename (no permission, disk full, file-size limit, the path
// names a folder) the temporary file is removed, the old file stays byte for
// byte as it was, and false is returned.
//
// When `path` is a symbolic link, the file it points to is replaced and the
// link stays.
//
// While writing, SIGXFSZ is held back for the calling thread, so that going
// over the file-size limit fails the write instead of ending the program.
//
// Only a regular file is replaced: when `path` (or the file a link points to)
// is a device, a named pipe or a socket, nothing is written, it is left as it
// is, errno is EINVAL and `message` says "The path names a device, a pipe or a
// socket, not a file".
//
// On failure errno holds the code of the failing operation and `message`
// (when not null) gets the system's text for it. Once the new file is in
// place the write counts as done: a failed flush of the folder afterwards is
// not reported.
bool WriteTextFile(const QString &path, const QString &text, QString *message);
