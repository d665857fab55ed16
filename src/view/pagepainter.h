#pragma once

#include "pagegeometry.h"
#include "paintcache.h"

class QPainter;
class CVornBand;
class CVornElement;
class CVornItem;
class CVornReport;

// Draws the report as one printed page on any painter: the design view, an image for the
// command line, the tests. Positions come from a page geometry whose coordinates are the
// painter's (view coordinates: a view translates its painter by minus the scroll position).
//
// A paint has two passes over the bands. The content pass draws each band (white with a dark
// outline), the dot grid, the band's Shapes and then its other items, each kept inside its
// clipped rectangle. The marks pass draws the grid again and the selection marks, so that both
// lie above every band's content. Band captions, when they are asked for, lie between the two.
class CPagePainter
{
public:
    enum class Pass { Content, Marks };

    // Colours of the page drawing.
    static constexpr QRgb BackgroundColor = 0x808080;
    static constexpr QRgb BelowBandsColor = 0x7A7A7A;
    static constexpr QRgb OutlineColor = 0x404040;
    static constexpr QRgb GridColor = 0x808080;
    static constexpr QRgb CaptionColor = 0xFFF4C0;
    // Where a band's rows print in its other columns.
    static constexpr QRgb OtherColumnColor = 0xE4E8EE;

    // How far a selection handle reaches from the corner it marks, on every side: the
    // handles of a band stand this many pixels out of the page.
    static constexpr int HandleReach = 3;

    // The value a barcode with no value of its own shows.
    static const QString SampleBarcode;

    // cache keeps decoded pictures and text measurements between paints; without one every
    // paint decodes and measures afresh.
    CPagePainter(QPainter &painter, const CPageGeometry &geometry, const CVornReport &report,
                 bool grid, CPaintCache *cache = nullptr);

    // Draws each band's name in a small tab inside its top-left corner (a Page Break, which has
    // no height, as a dashed line across the page with its tab at the right). Off by default.
    void SetBandCaptions(bool on) { m_captions = on; }

    // The whole draw area: background, the darker page area below the bands, both passes.
    void Paint();

    // One band of the report, given by its index, in one pass.
    void DrawBand(int index, Pass pass);

    // The dotted sides (those with an end corner on the page, cut to the page) and the 6 x 6
    // handles (at the corners on the page) of a selected band or item. The page reaches down
    // to the last band when the bands run past it. Handles are white, or filled with the
    // outline colour (solid) for the primary object of a selection of several.
    void DrawSelectionMarks(const PixRect &rect, bool solid = false);

private:
    void DrawOtherColumns(const CVornBand &band, const PixRect &rect);
    void DrawGrid(const PixRect &band);
    void DrawItem(const CVornItem &item, const PixRect &band, Pass pass);
    void DrawFocusLines(const QPolygon &points);
    void DrawCaption(int index);

    QPainter &m_painter;
    const CPageGeometry &m_geometry;
    const CVornReport &m_report;
    bool m_grid;
    bool m_captions = false;
    CPaintCache m_ownCache;
    CPaintCache *m_cache;
    PixRect m_page;
    // The page and the bands that run past it: where selection marks show.
    PixRect m_bandArea;
    PixRect m_visible;
    // The object whose handles are solid: the primary one of a selection of several.
    const CVornElement *m_solid = nullptr;
    double m_zoom = 1.0;
};
