#include "viewoverlay.h"

#include "pagegeometry.h"

#include <QPainter>

#include <algorithm>

namespace ViewOverlay {

void Paint(QPainter &painter, const CPageGeometry &geometry, const CViewInteraction::State &state)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const double zoom = geometry.GetZoom();
    // A guide runs across the band it belongs to.
    painter.setPen(QPen(QColor(GuideColor), 1));
    for (const CViewInteraction::Guide &guide : state.m_guides) {
        if (guide.band < 0 || guide.band >= geometry.GetBandCount())
            continue;
        const PixRect band = geometry.GetBandRect(guide.band);
        if (guide.vertical) {
            const int x = band.left + geometry.ModelToPixelsX(guide.position, zoom);
            painter.drawLine(x, band.top, x, std::max(band.top, band.bottom - 1));
        } else {
            const int y = band.top + geometry.ModelToPixelsY(guide.position, zoom);
            painter.drawLine(band.left, y, band.right - 1, y);
        }
    }
    if (state.m_mode == CViewInteraction::SelectRect && state.m_rectFrom != state.m_rectTo) {
        const QRect rect = QRect(state.m_rectFrom, state.m_rectTo).normalized();
        QColor fill(SelectRectColor);
        fill.setAlpha(40);
        QPen pen(QColor(SelectRectColor), 1, Qt::DashLine);
        painter.setPen(pen);
        painter.setBrush(fill);
        // A QRect's right and bottom are its last pixels: the outline runs through both corners.
        painter.drawRect(rect.adjusted(0, 0, -1, -1).normalized());
    }
    painter.restore();
}

} // namespace ViewOverlay
