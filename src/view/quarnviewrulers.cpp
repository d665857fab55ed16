#include "quarnview.h"

#include "rulerbar.h"
#include "vorndocument.h"

#include <algorithm>

// The rulers along the top and the left of the viewport: shown or hidden, placed beside it, and
// what they mark.

void CQuarnView::SetRulersVisible(bool on)
{
    m_rulersShown = on;
    const int margin = on ? CRulerBar::Thickness : 0;
    setViewportMargins(margin, margin, 0, 0);
    for (QWidget *part : {static_cast<QWidget *>(m_rulerAcross),
                          static_cast<QWidget *>(m_rulerDown), m_rulerCorner})
        part->setVisible(on);
    LayoutRulers();
    // The viewport lost or won the rulers' room.
    UpdateScrollSizes();
}

void CQuarnView::LayoutRulers()
{
    if (!m_rulersShown)
        return;
    const QRect port = viewport()->geometry();
    const int size = CRulerBar::Thickness;
    m_rulerAcross->setGeometry(port.left(), port.top() - size, port.width(), size);
    m_rulerDown->setGeometry(port.left() - size, port.top(), size, port.height());
    m_rulerCorner->setGeometry(port.left() - size, port.top() - size, size, size);
}

void CQuarnView::UpdateRulers()
{
    if (!m_rulersShown)
        return;
    m_rulerAcross->update();
    m_rulerDown->update();
}

PixRect CQuarnView::GetSelectionExtent() const
{
    if (!m_document)
        return {};
    const CPageGeometry geometry = MakeGeometry();
    PixRect extent;
    bool any = false;
    for (const CVornElement *element : m_document->GetReport().GetSelection()) {
        const PixRect r = geometry.GetItemPixelRect(element);
        const PixRect shown {std::min(r.left, r.right), std::min(r.top, r.bottom),
                             std::max(r.left, r.right), std::max(r.top, r.bottom)};
        extent = any ? PixRect {std::min(extent.left, shown.left), std::min(extent.top, shown.top),
                                std::max(extent.right, shown.right),
                                std::max(extent.bottom, shown.bottom)}
                     : shown;
        any = true;
    }
    return extent;
}

void CQuarnView::scrollContentsBy(int dx, int dy)
{
    QAbstractScrollArea::scrollContentsBy(dx, dy);
    UpdateRulers();
}
