#pragma once

#include "pagecontent.h"
#include "pagetextlines.h"
#include "pixrect.h"

#include <QFont>

#include <map>

class QPainter;

// Draws pages of the page model on one painter whose coordinates are device pixels at dpiX by
// dpiY pixels per inch. Fonts are made once per font of the run; pictures are decoded at the
// size they are drawn and kept in the process's picture store, so a writer that draws the same
// picture on many pages pays for it once.
class CPagePainting
{
public:
    CPagePainting(QPainter &painter, int dpiX, int dpiY);

    // Draws page, number being its page number (from 1) and count the number of pages.
    void Paint(const CPage &page, int number, int count);

    // The finest resolution a picture is drawn at (0: that of the device), for devices finer
    // than their viewer needs: a PDF drawn at 1200 dpi takes its pictures at 300.
    void SetPictureDpi(int dpi) { m_pictureDpi = dpi; }

    // Hundredths of a millimetre to device pixels, rounded to the nearest.
    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    PixRect ToPixels(const CPageRect &rect) const;

private:
    void Draw(const CPage &page, const CPageText &text, const TextLines *broken, int number,
              int count);
    void Draw(const CPageShape &shape);
    void Draw(const CPageImage &image);
    void Draw(const CPageBarcode &barcode);
    void Draw(const CPagePath &path);
    // The font a text of the page is drawn in on the painter's device (PaintFont).
    const QFont &PaintFontOf(const CPage &page, int index);

    QPainter &m_painter;
    int m_dpiX;
    int m_dpiY;
    // The page's fonts as the layout measures them, and as the device draws them.
    CPageLayoutFonts m_layoutFonts;
    std::map<const QFont *, QFont> m_paintFonts;
    const QPaintDevice *m_fontDevice = nullptr; // the device of m_paintFonts
    int m_pictureDpi = 0;
};
