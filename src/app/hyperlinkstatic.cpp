#include "hyperlinkstatic.h"

#include "colorref.h"
#include "readablecolor.h"

#include <QDesktopServices>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

CHyperlinkStatic::CHyperlinkStatic(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
}

void CHyperlinkStatic::SetText(const QString &text)
{
    m_text = text;
    m_measured = false;
    updateGeometry();
    update();
}

QSize CHyperlinkStatic::sizeHint() const
{
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(m_text), metrics.height());
}

void CHyperlinkStatic::paintEvent(QPaintEvent *)
{
    if (!m_fontCreated) {
        const QWidget *parent = parentWidget();
        if (parent == nullptr)
            return;
        m_linkFont = parent->font();
        m_linkFont.setUnderline(true);
        m_fontCreated = true;
    }
    QPainter painter(this);
    painter.setFont(m_linkFont);
    // Blue, lightened when the dialog is dark (a dark application look).
    painter.setPen(ColorRefToQColor(
            ReadableColorRef(0x00FF0000, QColorToColorRef(palette().color(QPalette::Window)))));
    painter.drawText(QRect(QPoint(0, 0), size()), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     m_text);
}

void CHyperlinkStatic::Measure()
{
    if (m_measured || !m_fontCreated)
        return;
    const QFontMetrics metrics(m_linkFont);
    m_textWidth = metrics.horizontalAdvance(m_text);
    m_textHeight = metrics.height();
    m_measured = true;
}

bool CHyperlinkStatic::IsOverText(const QPoint &point) const
{
    return point.x() >= 0 && point.x() < m_textWidth && point.y() >= 0 && point.y() < m_textHeight;
}

void CHyperlinkStatic::mouseMoveEvent(QMouseEvent *event)
{
    // The first move only starts watching for the mouse to leave.
    if (!m_hovering) {
        m_hovering = true;
    } else {
        Measure();
        setCursor(m_measured && IsOverText(event->position().toPoint()) ? Qt::PointingHandCursor
                                                                        : Qt::ArrowCursor);
    }
    QWidget::mouseMoveEvent(event);
}

void CHyperlinkStatic::leaveEvent(QEvent *event)
{
    m_hovering = false;
    setCursor(Qt::ArrowCursor);
    QWidget::leaveEvent(event);
}

void CHyperlinkStatic::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        Measure();
        if (m_measured && IsOverText(event->position().toPoint())) {
            if (!m_link.isEmpty())
                QDesktopServices::openUrl(QUrl(m_link));
            else
                emit clicked();
        }
    }
    QWidget::mousePressEvent(event);
}
