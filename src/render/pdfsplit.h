#pragma once

#include "pdfobjects.h"

#include <QByteArray>

#include <map>
#include <memory>
#include <vector>

// Cuts a PDF that CPdfPageWriter wrote into PDFs of some of its pages each, so that many small
// documents are drawn into one and the fonts are embedded once for all of them (the PDF writer
// builds a font's glyphs and text map anew for every document, which costs more than drawing a
// few pages).
//
// Every piece is a complete PDF of its own: its pages with what they use (pictures, colour
// spaces, the PDF/A metadata and output intent), its fonts cut down to the glyphs its pages
// show and numbered in the order the pages first show them. The same pages therefore give the
// same bytes whatever else the document holds, so that a piece written from a document of many
// equals the one written from a document of those pages alone.
class CPdfFlate;

class CPdfSplitter
{
public:
    CPdfSplitter();
    ~CPdfSplitter();

    // False when the bytes are not a PDF the splitter understands.
    bool Load(const QByteArray &pdf);
    int GetPageCount() const { return int(m_pages.size()); }

    // The pages first to first + count - 1 (from 0) as a PDF of their own; false when they use
    // something the splitter does not know how to carry over (then nothing should be written
    // from them).
    bool Extract(int first, int count, QByteArray &out) const;

    // What each piece reads of a font of the whole document: decoded once for all pieces.
    struct CFontSource
    {
        QByteArray program;
        std::map<int, QByteArray> toUnicode;
        std::map<int, QByteArray> widths;
    };

private:
    CPdfDocument m_document;
    QByteArray m_header;
    std::vector<int> m_pages;
    mutable std::map<int, std::shared_ptr<const CFontSource>> m_fonts;
    mutable std::map<int, QByteArray> m_packed; // streams compressed once for every piece
    std::unique_ptr<CPdfFlate> m_flate;
};
