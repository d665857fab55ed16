#pragma once

#include "pagewriter.h"

#include <QSize>
#include <QString>

#include <functional>
#include <memory>

// Many small PDFs, as a batch writes one per row, drawn into one document and cut from it into
// their files (see CPdfSplitter): the PDF writer builds each font's embedded glyphs and text map
// once for the document instead of once for every file, which costs far more than the pages.
// Each file is still complete in itself and goes through the output-file rules, and it has the
// same bytes as it would have from a document of its own pages alone.
class CPdfBatch
{
public:
    CPdfBatch(const QString &title, bool pdfa);
    ~CPdfBatch();

    // A writer of the PDF at path whose pages go into the batch's document. Its Finish only
    // queues the file; Flush writes it and tells id how it went.
    std::unique_ptr<CPageWriter> CreateWriter(const QString &path, int id);

    // The files queued since the last Flush, and about what their document will weigh (its
    // pictures and pages).
    int GetQueuedCount() const;
    qint64 GetDrawnBytes() const;

    // Ends the document and writes every queued file, in order: its pages drawn into the
    // document and cut from it, or, when they cannot be cut, drawn anew on their own; then
    // commits them together (one flush of the disk for all, see COutputFile::CommitAll). The
    // document is drawn and its files written on one of the batch's two threads while the caller
    // lays out the next rows, at most two documents at once: Flush first waits for the oldest while
    // two are under way and tells done(id, message) for each of its files, message empty when the
    // file is in place. The next writer starts a new document.
    void Flush(const std::function<void(int id, const QString &message)> &done);
    // Waits for the files of every Flush, oldest first, and tells done for each of them.
    void Wait(const std::function<void(int id, const QString &message)> &done);

private:
    class CFileWriter;
    struct Private;
    std::unique_ptr<Private> d;
};
