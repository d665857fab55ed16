#pragma once

#include <QSize>
#include <QString>

class CPage;

// Writes the pages of a run in one format, one page at a time and in order, so that a writer
// can follow the layout page by page and keeps nothing of a page once it is written. Nothing
// appears at the target until Finish: a failure or Cancel leaves no file behind.
class CPageWriter
{
public:
    virtual ~CPageWriter() = default;

    // Before the layout runs: checks the target and opens what it writes to, for pages of
    // pageSize (hundredths of a millimetre). False with a message when the target is refused.
    virtual bool Begin(QSize pageSize, QString &message) = 0;
    // One page, number counting from 1 of count pages (count is what "Page N of M" prints).
    virtual bool WritePage(const CPage &page, int number, int count, QString &message) = 0;
    // After the last page: puts the output in place.
    virtual bool Finish(QString &message) = 0;
    // Drops what was written; the targets stay as they were (or, for a file per page, the
    // pages already in place are removed).
    virtual void Cancel() = 0;

    // Whether the writer draws the pages with the page painter: their texts are then broken
    // into lines while the layout runs, on its thread (CPageSink::WantsTextLines).
    virtual bool DrawsPages() const { return false; }
};
