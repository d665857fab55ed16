#pragma once

#include "pagecontent.h"
#include "pixrect.h"

#include <QFont>
#include <QHash>
#include <QImage>

#include <map>

class QPainter;

// Draws pages of the page model on one painter whose coordinates are device pixels at dpiX by
// dpiY pixels per inch. Fonts are made once per font of the run and pictures cut once per part
// shown, so a writer that draws many pages through one painting pays for them once.
class CPagePainting
{
public:
    CPagePainting(QPainter &painter, int dpiX, int dpiY);

    // Draws page, number being its page number (from 1) and count the number of pages.
    void Paint(const CPage &page, int number, int count);

    // Hundredths of a millimetre to device pixels, rounded to the nearest.
    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    PixRect ToPixels(const CPageRect &rect) const;

private:
    void Draw(const CPage &page, const CPageText &text, int number, int count);
    void Draw(const CPageShape &shape);
    void Draw(const CPageImage &image);
    void Draw(const CPageBarcode &barcode);
    const QFont &FontOf(const CPage &page, int index);

    QPainter &m_painter;
    int m_dpiX;
    int m_dpiY;
    // Fonts at the device's resolution, by font table and index.
    std::map<std::pair<const CPageFontTable *, int>, QFont> m_fonts;
    QFont m_defaultFont;
    // Parts of pictures larger than their box, cut once: a PDF then holds each part once.
    QHash<QPair<qint64, QRect>, QImage> m_parts;
};
