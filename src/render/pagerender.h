#pragma once

#include <QImage>
#include <QRectF>
#include <QString>

class CPage;
class CPageModel;
class QPainter;

// Draws page index of the model into target (device coordinates of the painter), scaled so
// that the page's width fills target's width.
void PaintPage(QPainter &painter, const CPageModel &model, int index, const QRectF &target);

// One page as an image at dpi pixels per inch, white paper; a null image for a page of no size
// or one too large for memory (more than 150 million pixels).
QImage RenderPageImage(const CPageModel &model, int index, int dpi);
QImage RenderPageImage(const CPage &page, QSize pageSize, int number, int count, int dpi);
