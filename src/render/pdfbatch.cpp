#include "pdfbatch.h"

#include "outputfile.h"
#include "pagecontent.h"
#include "pdfflate.h"
#include "pdfsplit.h"
#include "pdfwriter.h"

#include <QBuffer>
#include <QCoreApplication>

#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <thread>
#include <unordered_set>
#include <vector>

namespace {

// A file waiting for its pages to be cut from the document. Its pages are kept as well, to
// draw it on its own should the cut fail.
struct CQueuedFile
{
    int id = 0;
    std::unique_ptr<COutputFile> file;
    int first = 0; // its first page in the document, from 0, once the document is drawn
    std::vector<CPage> pages;
    std::vector<std::pair<int, int>> numbers; // each page's number and count
};

// A document's files being drawn, cut and written on a cut thread, and what became of each.
struct CCutJob
{
    std::future<void> done;
    std::vector<int> ids;
    std::vector<QString> messages;
};

// At most this many documents are drawn and cut at once, beside the rows being laid out.
constexpr size_t JobsAtOnce = 2;

// A thread that runs the jobs posted to it one after the other. The PDF writer's fonts are
// loaded once for each thread that draws (Qt keeps them per thread), so the documents of a batch
// are drawn on the same few threads rather than each on a new one.
class CCutThread
{
public:
    CCutThread()
        : m_thread([this] { Run(); })
    { }
    // Runs the jobs still posted, then ends the thread.
    ~CCutThread()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_posted.notify_one();
        m_thread.join();
    }
    CCutThread(const CCutThread &) = delete;
    CCutThread &operator=(const CCutThread &) = delete;

    std::future<void> Post(std::function<void()> job)
    {
        std::packaged_task<void()> task(std::move(job));
        std::future<void> done = task.get_future();
        {
            const std::lock_guard lock(m_mutex);
            m_jobs.push_back(std::move(task));
        }
        m_posted.notify_one();
        return done;
    }

private:
    void Run()
    {
        for (;;) {
            std::packaged_task<void()> task;
            {
                std::unique_lock lock(m_mutex);
                m_posted.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
                if (m_jobs.empty())
                    return;
                task = std::move(m_jobs.front());
                m_jobs.pop_front();
            }
            task();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::deque<std::packaged_task<void()>> m_jobs;
    bool m_stop = false;
    std::thread m_thread; // last, so that it starts with everything it uses made
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

// Draws the pages of the queued files into one document, in the order they were queued, then cuts
// and writes the files.
void DrawAndWriteQueued(QSize pageSize, const QString &title, bool pdfa,
                        std::vector<CQueuedFile> &queue, std::vector<QString> &messages)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    bool ended = false;
    {
        // The document is only drawn to be cut: the cut compresses what it keeps.
        const CStoredPdfStreams stored;
        CPdfPageWriter writer(buffer, pageSize, title, pdfa);
        writer.SetSeparatePages();
        bool drawn = true;
        int at = 1; // after the empty page before the first
        for (CQueuedFile &queued : queue) {
            queued.first = at;
            at += int(queued.pages.size());
            for (size_t k = 0; k < queued.pages.size() && drawn; ++k)
                drawn = writer.Write(queued.pages[k], queued.numbers[k].first,
                                     queued.numbers[k].second);
        }
        ended = writer.End() && drawn;
    }
    WriteQueued(buffer.data(), ended, pageSize, title, pdfa, queue, messages);
}

} // namespace

struct CPdfBatch::Private
{
    QString title;
    bool pdfa = false;
    QSize pageSize;
    bool open = false; // whether a document takes pages
    qint64 bytes = 0; // what the document will about weigh: its pictures and its pages
    std::unordered_set<const CPagePicture *> pictures; // the pictures counted in bytes
    std::vector<CQueuedFile> queue;
    std::deque<std::unique_ptr<CCutJob>> cutting; // the documents being drawn and cut, oldest first
    std::vector<std::unique_ptr<CCutThread>> threads; // started by the first Flush
    size_t flushed = 0; // documents handed to the threads, the next going to flushed % threads

    // Starts a document for pages of size when none is open; false when the open one has pages
    // of another size.
    bool Start(QSize size)
    {
        if (open)
            return size == pageSize;
        pageSize = size;
        open = true;
        bytes = 0;
        pictures.clear();
        return true;
    }

    // Counts a page into the document's weight; it is drawn with the others when the document
    // is flushed. The document's streams are stored (see CStoredPdfStreams), so an item weighs
    // its drawing instructions as written: the example invoices' documents hold 531 bytes an
    // item, their fonts included.
    void Take(const CPage &page)
    {
        constexpr qint64 ItemBytes = 512;
        for (const CPageItem &item : page.GetItems()) {
            bytes += ItemBytes;
            const auto *image = std::get_if<CPageImage>(&item);
            if (image && image->picture && pictures.insert(image->picture.get()).second)
                bytes += image->picture->GetBytes().size();
        }
    }

    // Waits for the oldest document's files and tells done for each of them.
    void WaitOldest(const std::function<void(int id, const QString &message)> &done)
    {
        const std::unique_ptr<CCutJob> job = std::move(cutting.front());
        cutting.pop_front();
        job->done.wait();
        for (size_t i = 0; i < job->ids.size(); ++i)
            done(job->ids[i], job->messages[i]);
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
        m_batch.Take(page);
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
    for (const std::unique_ptr<CCutJob> &job : d->cutting)
        job->done.wait();
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
    return d->open ? d->bytes : 0;
}

void CPdfBatch::Flush(const std::function<void(int id, const QString &message)> &done)
{
    d->open = false;
    while (d->cutting.size() >= JobsAtOnce)
        d->WaitOldest(done);
    if (d->queue.empty())
        return;
    auto job = std::make_unique<CCutJob>();
    for (const CQueuedFile &queued : d->queue)
        job->ids.push_back(queued.id);
    // The thread owns the pages and the files; the next rows start a document of their own.
    // With at most JobsAtOnce documents under way, oldest first, each thread has one at a time.
    if (d->threads.empty()) {
        for (size_t i = 0; i < JobsAtOnce; ++i)
            d->threads.push_back(std::make_unique<CCutThread>());
    }
    job->done = d->threads[d->flushed++ % JobsAtOnce]->Post(
            [job = job.get(),
             queue = std::make_shared<std::vector<CQueuedFile>>(std::move(d->queue)),
             pageSize = d->pageSize, title = d->title,
             pdfa = d->pdfa] { DrawAndWriteQueued(pageSize, title, pdfa, *queue, job->messages); });
    d->queue.clear();
    d->cutting.push_back(std::move(job));
}

void CPdfBatch::Wait(const std::function<void(int id, const QString &message)> &done)
{
    while (!d->cutting.empty())
        d->WaitOldest(done);
}
