#pragma once

#include "exporter.h"

#include <QStringList>

class QIODevice;

// PNG and SVG: one file per page, named by the pattern's "%d", or the one page the options
// name. A PNG is the page at the options' resolution on white paper; an SVG keeps texts as
// text and carries its pictures inside. Each page's file is put in place as soon as it is
// complete; a cancelled or failed export removes the pages it had put in place.
class CImageWriter final : public CPageWriter
{
public:
    explicit CImageWriter(const CExportOptions &options);
    ~CImageWriter() override;

    bool Begin(QSize pageSize, QString &message) override;
    bool WritePage(const CPage &page, int number, int count, QString &message) override;
    bool Finish(QString &message) override;
    void Cancel() override;
    bool DrawsPages() const override { return true; }

private:
    bool Wanted(int number) const;
    bool WriteSvg(const CPage &page, int number, int count, QIODevice &device) const;

    CExportOptions m_options;
    bool m_pattern = false;
    QSize m_pageSize;
    QStringList m_written;
};
