#pragma once

#include <QIcon>
#include <QPalette>

class QPainter;
class QRectF;

// The images of the toolbar buttons and menu entries, and the designer's own
// icon, drawn by code at whatever size is asked for. Lines that are not on a
// white sheet take the palette's text colour, so the images stay visible in a
// dark look; they are made again when the look changes.
namespace CommandIcons {

// The image of a command (ids of CommandTable); a null icon for a command
// without one.
QIcon Icon(int id, const QPalette &palette);

// The designer's icon: a report page with a header band, lines of contents, a
// footer band and a large "V". The same picture is installed as
// vantel-designer.svg for the desktop.
QIcon AppIcon();

// Paints the designer's icon into rect (drawn on a 64 x 64 grid).
void PaintAppIcon(QPainter &painter, const QRectF &rect);

// The double arrow of a toolbar or menu bar too short for its buttons: pointing right (left
// when rightToLeft), or down when vertical, in the button text colour of the look in use.
QIcon ExtensionArrow(bool vertical, bool rightToLeft);

} // namespace CommandIcons
