#pragma once

#include <QColor>

class QPainter;

// The images of the Format commands (ids of CommandTable) on a 16 x 16 grid: bars lined up
// against a rule, bars of one size, bars spaced evenly, a text fitted to its box, and two
// overlapping sheets. The rules and outlines take the look's text colour (ink).
namespace LayoutIcons {

// Whether the command has an image here.
bool Has(int id);
// Draws the command's image on a painter scaled to the 16 x 16 grid.
void Draw(QPainter &painter, int id, const QColor &ink);

} // namespace LayoutIcons
