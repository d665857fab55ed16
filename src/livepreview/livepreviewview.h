#pragma once

#include "pagecontent.h"
#include "previewview.h"

#include <vector>

// The live preview's pages: the preview's column of pages, with the instances of the objects
// selected in the design outlined, and a click reported as the band and item under it.
class CLivePreviewView : public CPreviewView
{
    Q_OBJECT

public:
    explicit CLivePreviewView(QWidget *parent = nullptr);

    // The bands and items to outline on every page (indexes of the report laid out).
    void SetOutlined(std::vector<CPageSource> sources);
    const std::vector<CPageSource> &GetOutlined() const { return m_outlined; }

    // What lies under a point of the viewport: the band and item, and the page (from 0);
    // band -1 where no page or band is.
    CPageSource SourceAt(QPoint viewportPoint, int *pageIndex = nullptr) const;
    // The first and last pages in sight (first > last without pages).
    void VisiblePages(int &first, int &last) const;

signals:
    // A left click on a band or item of a page.
    void sourceClicked(const CPageSource &source);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    std::vector<CPageSource> m_outlined;
};
