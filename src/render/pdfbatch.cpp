#include "pdfbatch.h"

#include "outputfile.h"
#include "pagecontent.h"
#include "pdfsplit.h"
#include "pdfwriter.h"

#include <QBuffer>
#include <QCoreApplication>

#include <thread>
#include <vector>

namespace {

// A file waiting for its pages to be cut from the document. Its pages are kept as well, to
// draw it on its own should the cut fail.
struct CQueuedFile
{
    int id = 0;
    std::unique_ptr<COutputFile> file;
    int first = 0; // its first page in the document, from 0
    std::vector<CPage> pages;
    std::vector<std::pair<int, int>> numbers; // each page's number and count
};

// A document's files being cut and written on a thread of their own, and what became of each.
struct CCutJob
{
    std::thread thread;
    std::vector<int> ids;
    std::vector<QString> messages;
};

// Cuts each queued file from the document (or draws it anew when it cannot be cut), then
// commits them together; messages[i] tells what failed for queue[i], empty when it is in place.
void WriteQueued(const QByteArray &document, bool ended, QSize pageSize, const QString &title,
                 bool pdfa, std::vector<CQueuedFile> &queue, std::vector<QString> &messages)
{
    CPdfSplitter splitter;
    const bool loaded = ended && splitter.Load(document);
    // The files are committed together: one flush of the disk for all of them.
    messages.assign(queue.size(), QString());
    std::vector<COutputFile *> sealed;
    std::vector<size_t> which;
    for (size_t i = 0; i < queue.size(); ++i) {
        CQueuedFile &queued = queue[i];
        QByteArray bytes;
        bool written = true;
        if (loaded && splitter.Extract(queued.first, int(queued.pages.size()), bytes)) {
            written = queued.file->Write(bytes);
        } else {
            CPdfPageWriter alone(*queued.file->GetDevice(), pageSize, title, pdfa);
            for (size_t k = 0; k < queued.pages.size() && written; ++k) {
                written = alone.Write(queued.pages[k], queued.numbers[k].first,
                                      queued.numbers[k].second);
            }
            written = alone.End() && written;
        }
        if (SealPdf(*queued.file, written)) {
            sealed.push_back(queued.file.get());
            which.push_back(i);
        } else {
            DropPdf(*queued.file, messages[i]);
        }
    }
    const std::vector<bool> committed = COutputFile::CommitAll(sealed);
    for (size_t k = 0; k < sealed.size(); ++k) {
        if (!committed[k])
            DropPdf(*sealed[k], messages[which[k]]);
    }
}

} // namespace

struct CPdfBatch::Private
{
    QString title;
    bool pdfa = false;
    QSize pageSize;
    std::unique_ptr<QBuffer> buffer;
    std::unique_ptr<CPdfPageWriter> writer;
    int drawn = 0; // pages in the document, the empty one before the first counted
    std::vector<CQueuedFile> queue;
    std::unique_ptr<CCutJob> cutting; // the files of the document flushed last

    // Starts a document for pages of size when none is open; false when the open one has pages
    // of another size.
    bool Start(QSize size)
    {
        if (writer)
            return size == pageSize;
        pageSize = size;
        buffer = std::make_unique<QBuffer>();
        buffer->open(QIODevice::WriteOnly);
        writer = std::make_unique<CPdfPageWriter>(*buffer, size, title, pdfa);
        writer->SetSeparatePages();
        drawn = 1;
        return true;
    }

    // Draws a page into the document and returns its place there, -1 when the PDF could not be
    // started.
    int Draw(const CPage &page, int number, int count)
    {
        if (!writer || !writer->Write(page, number, count))
            return -1;
        return drawn++;
    }
};

class CPdfBatch::CFileWriter final : public CPageWriter
{
public:
    CFileWriter(CPdfBatch::Private &batch, const QString &path, int id)
        : m_batch(batch)
        , m_path(path)
    {
        m_queued.id = id;
    }
    ~CFileWriter() override { Cancel(); }

    bool Begin(QSize pageSize, QString &message) override
    {
        m_queued.file = std::make_unique<COutputFile>();
        if (!m_queued.file->Open(m_path)) {
            message = m_queued.file->GetMessage();
            return false;
        }
        // Pages of another size than the document's make a PDF of their own.
        if (!m_batch.Start(pageSize)) {
            m_own = std::make_unique<CPdfPageWriter>(*m_queued.file->GetDevice(), pageSize,
                                                     m_batch.title, m_batch.pdfa);
        }
        return true;
    }

    bool WritePage(const CPage &page, int number, int count, QString &message) override
    {
        if (m_own) {
            if (m_own->Write(page, number, count) && m_queued.file->GetErrorCode() == 0)
                return true;
            CommitPdf(*m_queued.file, false, message);
            return false;
        }
        const int at = m_batch.Draw(page, number, count);
        if (at < 0) {
            CommitPdf(*m_queued.file, false, message);
            return false;
        }
        if (m_queued.pages.empty())
            m_queued.first = at;
        m_queued.pages.push_back(page);
        m_queued.numbers.emplace_back(number, count);
        return true;
    }

    bool Finish(QString &message) override
    {
        if (m_own) {
            const bool ended = m_own->End();
            m_own.reset();
            return CommitPdf(*m_queued.file, ended, message);
        }
        if (m_queued.pages.empty())
            return CommitPdf(*m_queued.file, false, message);
        m_batch.queue.push_back(std::move(m_queued));
        m_queued = CQueuedFile();
        return true;
    }

    void Cancel() override
    {
        m_own.reset();
        if (m_queued.file)
            m_queued.file->Cancel();
    }

    bool DrawsPages() const override { return true; }

private:
    CPdfBatch::Private &m_batch;
    QString m_path;
    CQueuedFile m_queued;
    std::unique_ptr<CPdfPageWriter> m_own;
};

CPdfBatch::CPdfBatch(const QString &title, bool pdfa)
    : d(std::make_unique<Private>())
{
    d->title = title;
    d->pdfa = pdfa;
}

CPdfBatch::~CPdfBatch()
{
    if (d->cutting)
        d->cutting->thread.join();
    for (CQueuedFile &queued : d->queue)
        queued.file->Cancel();
}

std::unique_ptr<CPageWriter> CPdfBatch::CreateWriter(const QString &path, int id)
{
    return std::make_unique<CFileWriter>(*d, path, id);
}

int CPdfBatch::GetQueuedCount() const
{
    return int(d->queue.size());
}

qint64 CPdfBatch::GetDrawnBytes() const
{
    return d->buffer ? d->buffer->size() : 0;
}

void CPdfBatch::Flush(const std::function<void(int id, const QString &message)> &done)
{
    const bool ended = d->writer && d->writer->End();
    d->writer.reset();
    Wait(done);
    if (d->queue.empty()) {
        d->buffer.reset();
        return;
    }
    auto job = std::make_unique<CCutJob>();
    for (const CQueuedFile &queued : d->queue)
        job->ids.push_back(queued.id);
    // The thread owns the document and the files; the next rows start a document of their own.
    job->thread = std::thread(
            [ended, job = job.get(), buffer = std::shared_ptr<QBuffer>(std::move(d->buffer)),
             queue = std::make_shared<std::vector<CQueuedFile>>(std::move(d->queue)),
             pageSize = d->pageSize, title = d->title, pdfa = d->pdfa] {
                WriteQueued(buffer ? buffer->data() : QByteArray(), ended, pageSize, title, pdfa,
                            *queue, job->messages);
            });
    d->queue.clear();
    d->cutting = std::move(job);
}

void CPdfBatch::Wait(const std::function<void(int id, const QString &message)> &done)
{
    if (!d->cutting)
        return;
    const std::unique_ptr<CCutJob> job = std::move(d->cutting);
    job->thread.join();
    for (size_t i = 0; i < job->ids.size(); ++i)
        done(job->ids[i], job->messages[i]);
}
