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
    // A font of the document cut down to the glyphs of a piece, in their order; pieces that show
    // the same glyphs in the same order (the labels of every invoice in the same bold font)
    // share it.
    struct CFontCut
    {
        QByteArray unicode; // its text map
        QByteArray tag; // the six capitals before its name, from what it holds
        qsizetype size = 0; // of its program
        QByteArray packed; // its program, compressed
    };
    // What the pieces share, made once for all of them: by a font's object number, the font as
    // read; by a stream's, the stream compressed (see CStoredPdfStreams); by a font's and its
    // glyphs, the font cut.
    struct CMade
    {
        std::map<int, std::shared_ptr<const CFontSource>> fonts;
        std::map<int, QByteArray> packed;
        std::map<std::pair<int, std::vector<int>>, CFontCut> cuts;
    };

private:
    CPdfDocument m_document;
    QByteArray m_header;
    std::vector<int> m_pages;
    mutable CMade m_made;
    std::unique_ptr<CPdfFlate> m_flate;
};
