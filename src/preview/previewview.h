#pragma once

#include "previewgeometry.h"

#include <QAbstractScrollArea>

#include <memory>

class CPageModel;

// The pages of a preview, one below the other on a grey desk, scrolled continuously. The
// geometry is CPreviewGeometry's; this widget paints what is visible and forwards the wheel
// and the scroll bars. It reads the model, which a layout may still be filling.
class CPreviewView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit CPreviewView(QWidget *parent = nullptr);

    void SetModel(std::shared_ptr<const CPageModel> model);
    const std::shared_ptr<const CPageModel> &GetModel() const { return m_model; }
    // The model has more pages (or is complete): extends the scroll range and repaints.
    void UpdatePages();

    const CPreviewGeometry &GetGeometry() const { return m_geometry; }
    double GetZoom() const { return m_geometry.GetZoom(); }
    // Sets the zoom, keeping the page at the top of the view where it is.
    void SetZoom(double zoom);
    // The zoom at which the pages fill the view's width. It leaves room for the vertical scroll
    // bar exactly when the pages need the bar at the full width, whether the bar shows now or
    // not, so that showing or hiding the bar never changes the zoom back and forth.
    double FitWidthZoom() const;

    // The page at the top of the view (from 0), and bringing one there.
    int GetCurrentPage() const;
    void ShowPage(int index);

signals:
    void currentPageChanged(int index);
    // Ctrl + wheel: steps up (positive) or down.
    void zoomStepRequested(int steps);
    // The viewport's size changed (fit modes follow it).
    void viewportResized();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void UpdateScrollBars();

    std::shared_ptr<const CPageModel> m_model;
    CPreviewGeometry m_geometry;
    int m_lastPage = -1;
    // The page ShowPage brought into view, and the scroll position it left.
    int m_shownPage = -1;
    int m_shownAt = -1;
    int m_wheelRemainder = 0;
};
