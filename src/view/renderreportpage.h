#pragma once

#include <QImage>
#include <QSize>

class CVornReport;

// The report's page as the design view shows it in a client area of clientSize pixels (the
// view's total scroll size when empty) at dpi pixels per inch, scrolled to the top left, with
// or without the dot grid. The selection flags of the model are drawn as they are. The image
// carries the resolution, so that text and barcodes are measured at it; needs no display.
QImage RenderReportPage(const CVornReport &report, QSize clientSize, bool grid, int dpi = 96);
