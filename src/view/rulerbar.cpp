#include "rulerbar.h"

#include "quarnview.h"
#include "rulerscale.h"

#include <QPaintEvent>
#include <QPainter>

CRulerBar::CRulerBar(CQuarnView *view, bool across, QWidget *parent)
    : QWidget(parent)
    , m_view(view)
    , m_across(across)
{
    setObjectName(across ? QStringLiteral("RulerAcross") : QStringLiteral("RulerDown"));
    // The rulers show where things are; they take no clicks or keys of their own.
    setFocusPolicy(Qt::NoFocus);
}

void CRulerBar::SetPointer(int position)
{
    if (position == m_pointer)
        return;
    m_pointer = position;
    update();
}

void CRulerBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::Button));
    const CPageGeometry geometry = m_view->MakeGeometry();
    const int length = m_across ? width() : height();
    const int thickness = m_across ? height() : width();
    // Along the ruler: a pixel of the viewport is the same pixel here.
    const auto line = [&](int along, int from, int to) {
        if (m_across)
            painter.drawLine(along, from, along, to);
        else
            painter.drawLine(from, along, to, along);
    };

    // The page's stretch in the base colour, the selection's in the highlight colour.
    const QPoint scroll = geometry.GetScroll();
    const PixRect area = geometry.GetBandArea();
    const auto stretch = [&](int low, int high, const QColor &colour) {
        const int shift = m_across ? scroll.x() : scroll.y();
        const QRect band = m_across ? QRect(low - shift, 0, high - low, thickness)
                                    : QRect(0, low - shift, thickness, high - low);
        painter.fillRect(band, colour);
    };
    stretch(m_across ? area.left : area.top, m_across ? area.right : area.bottom,
            colours.color(QPalette::Base));
    const PixRect selection = m_view->GetSelectionExtent();
    if (!selection.IsEmpty()) {
        QColor highlight = colours.color(QPalette::Highlight);
        highlight.setAlpha(90);
        stretch(m_across ? selection.left : selection.top,
                m_across ? selection.right : selection.bottom, highlight);
    }

    painter.setPen(colours.color(QPalette::Text));
    QFont font = painter.font();
    font.setPixelSize(9);
    painter.setFont(font);
    for (const RulerScale::Tick &tick : RulerScale::Ticks(geometry, m_across, length)) {
        const int size = tick.weight == 2 ? thickness / 2
                : tick.weight == 1        ? thickness / 3
                                          : thickness / 5;
        line(tick.position, thickness - size, thickness - 1);
        if (tick.label.isEmpty())
            continue;
        if (m_across) {
            painter.drawText(QPoint(tick.position + 2, 9), tick.label);
        } else {
            // Down the page the numbers read upwards, beside their tick.
            painter.save();
            painter.translate(9, tick.position - 2);
            painter.rotate(-90);
            painter.drawText(QPoint(0, 0), tick.label);
            painter.restore();
        }
    }
    // The edge toward the page.
    painter.setPen(colours.color(QPalette::Mid));
    if (m_across)
        painter.drawLine(0, thickness - 1, length, thickness - 1);
    else
        painter.drawLine(thickness - 1, 0, thickness - 1, length);
    if (m_pointer >= 0) {
        painter.setPen(colours.color(QPalette::Highlight));
        line(m_pointer, 0, thickness - 1);
    }
}
