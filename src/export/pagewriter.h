#pragma once

#include "exportoptions.h"

#include <QSize>
#include <QString>

#include <memory>

class CPage;
class CPageModel;

// Writes the pages of a run in one format, one page at a time and in order, so that a writer
// can follow the layout page by page and keeps nothing of a page once it is written. Nothing
// appears at the target until Finish: a failure or Cancel leaves no file behind.
class CPageWriter
{
public:
    virtual ~CPageWriter() = default;

    // Before the first page: the size of every page in hundredths of a millimetre.
    virtual bool Begin(QSize pageSize, QString &message) = 0;
    // One page, number counting from 1 of count pages (count is what "Page N of M" prints).
    virtual bool WritePage(const CPage &page, int number, int count, QString &message) = 0;
    // After the last page: puts the output in place.
    virtual bool Finish(QString &message) = 0;
    // Drops what was written; the targets stay as they were (or, for a file per page, the
    // pages already in place are removed).
    virtual void Cancel() = 0;
};

// A writer for the options' format. PNG and SVG write the pages options.firstPage to
// options.lastPage (one page when the name holds no "%d").
std::unique_ptr<CPageWriter> CreatePageWriter(const CExportOptions &options);

// Writes a complete page model: every page the options ask for, then the output put in place.
// False with a message on failure or cancellation ("Cancelled"); no file is left then.
bool ExportModel(const CPageModel &model, const CExportOptions &options, QString &message);
