#pragma once

#include "exporter.h"
#include "outputfile.h"
#include "pagecontent.h"
#include "pagetextlines.h"

#include <QByteArray>

#include <map>

// One self-contained web page: every page of the report as a block of its size, one below the
// other on screen and one per sheet when printed, with every primitive placed absolutely in
// millimetres. Texts stay text, broken into the same lines as on paper; pictures are carried
// inside the file, each once; barcodes are inline SVG. Written as well-formed XML as well, so
// that any XML reader takes it.
class CHtmlWriter final : public CPageWriter
{
public:
    explicit CHtmlWriter(const CExportOptions &options);

    bool Begin(QSize pageSize, QString &message) override;
    bool WritePage(const CPage &page, int number, int count, QString &message) override;
    bool Finish(QString &message) override;
    void Cancel() override;

private:
    void Text(const CPage &page, const CPageText &text, int number, int count);
    void Shape(const CPageShape &shape);
    void Image(const CPageImage &image);
    void Barcode(const CPageBarcode &barcode);
    void Path(const CPagePath &path);
    QByteArray FontClass(const CPage &page, int index);
    bool Flush(QString &message);

    CExportOptions m_options;
    COutputFile m_target;
    QSize m_pageSize;
    QByteArray m_out; // written to the file after every page
    // CSS classes made so far: fonts by table and index, pictures by id.
    std::map<std::pair<const void *, int>, QByteArray> m_fonts;
    CPageLayoutFonts m_layoutFonts; // the fonts texts are broken in, as the painter breaks them
    std::map<std::uint64_t, QByteArray> m_pictures;
};
