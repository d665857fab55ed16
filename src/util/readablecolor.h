#pragma once

#include <QtGlobal>

// A fixed text colour (0x00BBGGRR) made readable on a background: on a light
// background the colour stays as designed; on a dark one (a dark application
// look) a dark colour keeps its hue and gets lighter, so that dark blue
// keywords or dark green labels do not vanish into the background.
quint32 ReadableColorRef(quint32 colorRef, quint32 backgroundRef);
