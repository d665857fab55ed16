#pragma once

#include <QRect>
#include <QSize>

// Where the pages of a preview lie: one column, centred, a gap around each page, at a zoom
// factor where 1.0 shows the page at its real size on a screen of the given resolution.
// Plain arithmetic on values, so the window only forwards sizes and scroll positions.
class CPreviewGeometry
{
public:
    // The space around and between pages, in pixels.
    static constexpr int gap = 16;
    static constexpr double minZoom = 0.1;
    static constexpr double maxZoom = 8.0;

    // Page size in hundredths of a millimetre.
    void SetPageSize(QSize size) { m_pageSize = size; }
    QSize GetPageSize() const { return m_pageSize; }
    void SetPageCount(int count) { m_pageCount = count; }
    int GetPageCount() const { return m_pageCount; }
    // Screen pixels per inch.
    void SetDpi(double dpi) { m_dpi = dpi; }
    void SetZoom(double zoom);
    double GetZoom() const { return m_zoom; }
    // Width of the visible area, to centre the pages in it.
    void SetViewportWidth(int width) { m_viewportWidth = width; }

    // One page's size in pixels at the current zoom (at least 1 x 1).
    QSize PagePixelSize() const;
    // The whole column of pages with its gaps.
    QSize ContentSize() const;
    // A page's rectangle in content coordinates (the top of the first gap is 0).
    QRect PageRect(int index) const;
    // The vertical scroll position that puts a page's top gap at the top of the view.
    int ScrollPositionOf(int index) const;
    // The page shown at the vertical position y of the content: the page whose rectangle or
    // the gap above it holds y, clamped to the pages there are; 0 without pages.
    int PageAt(int y) const;
    // The first and last pages that a viewport of the given height at scroll position y
    // shows (first > last without pages).
    void VisiblePages(int y, int height, int &first, int &last) const;
    // The page that fills most of a viewport of the given height at scroll position y (the
    // upper one of two that fill it alike); 0 without pages.
    int MostVisiblePage(int y, int height) const;

    // The zoom at which a page fills the viewport's width, or fits in it whole.
    double FitWidthZoom(QSize viewport) const;
    double FitPageZoom(QSize viewport) const;

    // The next step of the zoom ladder above or below a zoom.
    static double ZoomIn(double zoom);
    static double ZoomOut(double zoom);
    static double Clamp(double zoom);

private:
    QSize m_pageSize {21000, 29700};
    int m_pageCount = 0;
    double m_dpi = 96.0;
    double m_zoom = 1.0;
    int m_viewportWidth = 0;
};
