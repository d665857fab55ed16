#pragma once

#include "pixrect.h"

#include <QPoint>
#include <QSize>

#include <vector>

class CVornBand;
class CVornElement;
class CVornItem;
class CVornReport;

// Where the report's page, bands and items lie in the design view, worked out from plain values:
// the screen resolution on each axis (pixels per inch), the client rectangle, the scroll position
// and the total scroll size. Model lengths are hundredths of a millimetre (2540 per inch); every
// pixel position returned is a view coordinate, which includes the scroll offset, so the page
// keeps its place in the scrollable area while the window scrolls. Every conversion truncates
// toward zero.
//
// A geometry reads the report when it is built (the band tops) and when asked about an item; it
// is made afresh for every paint and every mouse or keyboard event and must not outlive the
// report or a change of its bands.
//
// The zoom is the user's choice: a factor from MinZoom to MaxZoom, or FitWidth, where the page
// is as wide as the client area less its margins allows, within MinZoom and MaxZoom.
class CPageGeometry
{
public:
    static constexpr double FitWidth = 0.0;
    static constexpr double MinZoom = 0.25;
    static constexpr double MaxZoom = 4.0;

    CPageGeometry(const CVornReport &report, int dpiX, int dpiY, const PixRect &client,
                  QPoint scroll, QSize totalSize, double zoomChoice = 1.0);

    // The view's scrollable extent for the report: the page, or the bands where they run
    // past its bottom, plus 20 pixels on each side. Fit Width fits the client width given.
    static QSize TotalScrollSize(const CVornReport &report, int dpiX, int dpiY,
                                 double zoomChoice = 1.0, int clientWidth = 0);

    // The zoom at which the page is as wide as a client of this width less 20 pixels on each
    // side, within MinZoom and MaxZoom; 1 for a page or client without width.
    static double FitWidthZoom(const CVornReport &report, int dpiX, int clientWidth);

    // A zoom choice made usable: FitWidth for zero, NaN or below, else the factor kept
    // within MinZoom and MaxZoom.
    static double UsableZoomChoice(double zoomChoice);

    int DpiX() const { return m_dpiX; }
    int DpiY() const { return m_dpiY; }

    // Model units to pixels: the zoom is applied first and truncated to whole units.
    int ModelToPixelsX(qint64 v, double zoom = 1.0) const;
    int ModelToPixelsY(qint64 v, double zoom = 1.0) const;
    // Pixels to model units; the zoomed variants then multiply by 1 / zoom and truncate again.
    int PixelsToModelX(int px) const;
    int PixelsToModelY(int px) const;
    int PixelsToModelX(int px, double zoom) const;
    int PixelsToModelY(int px, double zoom) const;

    // The client rectangle widened to the total scroll size: the area the view paints.
    PixRect GetDrawArea() const { return m_drawArea; }
    // The page in view pixels, and the zoom (0 < z <= 1) at which it is drawn.
    PixRect GetPageRect(double *zoom = nullptr) const;
    double GetZoom() const { return m_zoom; }
    QSize GetTotalSize() const { return m_totalSize; }
    QPoint GetScroll() const { return m_scroll; }

    // A client point (as mouse events carry it) in view coordinates, and back.
    QPoint ClientToView(QPoint client) const { return client + m_scroll; }
    QPoint ViewToClient(QPoint view) const { return view - m_scroll; }

    // Band index i of the report: its top (the page top plus the pixel heights of the bands
    // above, each converted on its own) and its rectangle across the page.
    int GetBandCount() const { return int(m_bandTops.size()); }
    int GetBandTop(int index) const { return m_bandTops[size_t(index)]; }
    int GetBandPixelHeight(const CVornBand &band) const;
    PixRect GetBandRect(int index) const;

    // The part of the page below the bands, drawn darker: the sum of all band heights is
    // converted in one piece. Empty when the bands fill the page or run past it.
    PixRect GetDarkArea() const;

    // An item's rectangle scaled by the zoom, converted and placed in a band whose rectangle
    // is given; not clipped.
    PixRect GetItemPixelRect(const CVornItem &item, const PixRect &bandRect) const;
    // What an item may draw into: its rectangle cut to the band, or (0, 0, 0, 0) when nothing
    // of it lies on the band (always so on a Page Break, whose band has no height).
    PixRect GetClippedItemRect(const CVornItem &item, const PixRect &bandRect) const;

    // The unclipped rectangle of a band or item of the report (the band across the page);
    // (0, 0, 0, 0) for an element that is not in the report.
    PixRect GetItemPixelRect(const CVornElement *element) const;

    // Whether a pixel lies on the page (right and bottom edges excluded).
    bool IsOnPage(int x, int y) const { return m_pageRect.Contains(x, y); }
    // The page, reaching down to the last band's bottom when the bands run past the page: the
    // area where bands are drawn and can be worked on.
    PixRect GetBandArea() const;

    // The scroll position that brings a view rectangle into the client area, moving as little
    // as possible (its top-left corner wins when it is larger than the client), within the
    // scroll range.
    QPoint ScrollToShow(const PixRect &viewRect) const;

    // After a change of zoom: the scroll position of this geometry under which the model point
    // that lay under the client point in the geometry before lies under it again, within the
    // scroll range. Both geometries must be of the same report and client.
    QPoint ScrollKeepingPoint(const CPageGeometry &before, QPoint client) const;

private:
    const CVornReport &m_report;
    int m_dpiX;
    int m_dpiY;
    PixRect m_client;
    QPoint m_scroll;
    QSize m_totalSize;
    PixRect m_drawArea;
    PixRect m_pageRect;
    double m_zoom = 1.0;
    std::vector<int> m_bandTops;
};
