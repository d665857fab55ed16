#pragma once

#include "outputfile.h"
#include "pagewriter.h"

#include <QSize>
#include <QString>

#include <memory>

class COutputFile;
class CPage;
class CPageModel;
class QIODevice;

// Writes pages to a PDF on a device one at a time, so that nothing of a page need be kept once
// it is written: fonts are embedded, text stays selectable, a picture drawn on many pages is
// embedded once, pictures are embedded at most at 300 dpi.
class CPdfPageWriter
{
public:
    // The device must be open for writing and outlive the writer; pageSize in hundredths of a
    // millimetre. With pdfa the file is PDF/A-1b, for archives: PDF 1.4, colours in sRGB, the
    // metadata that declares it and the title in the document information.
    CPdfPageWriter(QIODevice &device, QSize pageSize, const QString &title, bool pdfa = false);
    ~CPdfPageWriter();

    // Draws the next page; number counts from 1, count is the number of pages (for the page
    // fields that show it). False once the PDF could not be started.
    bool Write(const CPage &page, int number, int count);
    // Ends the document. False when it could not be started or ended.
    bool End();

    // Before the first page: every page starts from the same drawing state and leaves none
    // behind, so that how a page is written depends on that page alone, not on the pages before
    // it. The document then holds an empty page before the first and after the last (see
    // CPdfSplitter, which cuts such a document into PDFs of some of its pages).
    void SetSeparatePages() { m_separate = true; }

private:
    struct Private;
    std::unique_ptr<Private> d;
    bool m_separate = false;
};

// A PDF at path as an output file (see COutputFile), page by page.
class CPdfFileWriter final : public CPageWriter
{
public:
    CPdfFileWriter(const QString &path, const QString &title, bool pdfa = false);
    ~CPdfFileWriter() override;

    bool Begin(QSize pageSize, QString &message) override;
    bool WritePage(const CPage &page, int number, int count, QString &message) override;
    bool Finish(QString &message) override;
    void Cancel() override;
    bool DrawsPages() const override { return true; }

private:
    QString m_path;
    QString m_title;
    bool m_pdfa = false;
    COutputFile m_file;
    std::unique_ptr<CPdfPageWriter> m_writer;
};

// Writes every page of the model to a PDF at path as an output file (see COutputFile): written
// beside, flushed and renamed over path only when complete; false with one message, and the
// target as it was, on failure.
bool WritePdf(const CPageModel &model, const QString &path, const QString &title, QString &message);

// Ends a PDF written to file: commits it when the writer succeeded and every write went
// through, else drops it and says why (the system's error when a write failed).
bool CommitPdf(COutputFile &file, bool written, QString &message);
// CommitPdf in halves, for files committed together (COutputFile::CommitAll): whether the PDF
// is complete, its dates and ID set as SOURCE_DATE_EPOCH asks; and, for one that is not or
// could not be committed, the message that says why, the file dropped (always false).
bool SealPdf(COutputFile &file, bool written);
bool DropPdf(COutputFile &file, QString &message);
