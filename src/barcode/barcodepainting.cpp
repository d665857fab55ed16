#include "barcodepainting.h"

#include "barcodedrawing.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QTransform>

#include <cmath>

void PaintBarcodeDrawing(QPainter &painter, const CBarcodeDrawing &drawing, QPointF origin,
                         double scaleX, double scaleY)
{
    painter.save();
    // The drawing's own units, so that the bars keep their fractions on every device: a PDF
    // holds them exactly, and a raster device fills the pixels whose centres they cover.
    painter.translate(origin);
    painter.scale(scaleX, scaleY);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(drawing.area);
    painter.setBrush(Qt::black);
    // The bars in the symbol's units, whose whole numbers a PDF writes short.
    const QTransform box = painter.transform();
    painter.setTransform(QTransform::fromTranslate(drawing.origin.x(), drawing.origin.y())
                                 .scale(drawing.scale, drawing.scale)
                         * box);
    painter.drawRects(drawing.bars.data(), int(drawing.bars.size()));
    painter.setTransform(box);
    if (!drawing.texts.empty()) {
        QFont font(QStringLiteral("Arial"));
        painter.setPen(Qt::black);
        for (const CBarcodeDrawing::Text &text : drawing.texts) {
            font.setPixelSize(std::max(1, int(std::lround(text.size))));
            painter.setFont(font);
            const double advance = QFontMetricsF(font).horizontalAdvance(text.text);
            const double x = text.align == 1 ? text.at.x()
                    : text.align == 2        ? text.at.x() - advance
                                             : text.at.x() - advance / 2;
            painter.drawText(QPointF(x, text.at.y()), text.text);
        }
    }
    painter.restore();
}
