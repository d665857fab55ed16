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

// One page as an image at dpi pixels per inch, white paper.
QImage RenderPageImage(const CPageModel &model, int index, int dpi);
// The same for a page of pageSize (hundredths of a millimetre), number of count pages. A null
// image when the page is empty or too large (more than 150 million pixels).
QImage RenderPageImage(const CPage &page, QSize pageSize, int number, int count, int dpi);

// Writes every page of the model to a PDF (fonts embedded, text selectable). Writes a
// temporary file beside path and renames it over path only when complete; false with a
// message, and nothing left behind, on failure.
bool WritePdf(const CPageModel &model, const QString &path, const QString &title,
              QString &message);
