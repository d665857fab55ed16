#pragma once

#include "viewinteraction.h"

#include <QColor>

class CPageGeometry;
class QPainter;

// What the design view draws over the page while the user works: the selection rectangle being
// drawn and the guides a dragged item snapped to. Neither belongs to the report, so the page
// painter (which also draws for the command line) leaves them out.
namespace ViewOverlay {

// Colours of the overlay: the guides, and the selection rectangle's outline and fill.
constexpr QRgb GuideColor = 0xE0007A;
constexpr QRgb SelectRectColor = 0x2060C0;

// Draws on a painter in view coordinates, like the page painter's.
void Paint(QPainter &painter, const CPageGeometry &geometry, const CViewInteraction::State &state);

} // namespace ViewOverlay
