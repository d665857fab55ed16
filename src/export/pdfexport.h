#pragma once

#include "exporttarget.h"
#include "pagewriter.h"

#include <memory>

class QPainter;
class QPdfWriter;
class CPagePainting;

// A PDF of every page, fonts embedded and text selectable; with the options' pdfa flag a
// PDF/A-1b file for archives (colours in sRGB, metadata and the report's title in the document
// information), which validators and archive systems accept.
class CPdfExport final : public CPageWriter
{
public:
    explicit CPdfExport(const CExportOptions &options);
    ~CPdfExport() override;

    bool Begin(QSize pageSize, QString &message) override;
    bool WritePage(const CPage &page, int number, int count, QString &message) override;
    bool Finish(QString &message) override;
    void Cancel() override;

private:
    CExportOptions m_options;
    CExportTarget m_target;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<CPagePainting> m_painting;
    bool m_first = true;
};
