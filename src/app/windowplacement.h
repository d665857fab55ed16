#pragma once

#include <QRect>

namespace WindowPlacement {

// Where the main window first opens when no size of the user's is stored: four fifths of the
// screen's free area in each direction, centred in it, so that a new user sees the page and
// both panes without the window covering the whole desktop.
QRect FirstWindowRect(const QRect &available);

} // namespace WindowPlacement
