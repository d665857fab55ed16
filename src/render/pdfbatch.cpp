#include "pdfbatch.h"

#include "outputfile.h"
#include "pagecontent.h"
#include "pdfsplit.h"
#include "pdfwriter.h"

#include <QBuffer>
#include <QCoreApplication>

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
    CPdfSplitter splitter;
    const bool loaded = ended && splitter.Load(d->buffer->data());
    // The files are committed together: one flush of the disk for all of them.
    std::vector<QString> messages(d->queue.size());
    std::vector<COutputFile *> sealed;
    std::vector<size_t> which;
    for (size_t i = 0; i < d->queue.size(); ++i) {
        CQueuedFile &queued = d->queue[i];
        QByteArray bytes;
        bool written = true;
        if (loaded && splitter.Extract(queued.first, int(queued.pages.size()), bytes)) {
            written = queued.file->Write(bytes);
        } else {
            CPdfPageWriter alone(*queued.file->GetDevice(), d->pageSize, d->title, d->pdfa);
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
    for (size_t i = 0; i < d->queue.size(); ++i)
        done(d->queue[i].id, messages[i]);
    d->queue.clear();
    d->buffer.reset();
}
