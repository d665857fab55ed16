#pragma once

class QObject;

// Starts loading the font database on a worker thread, for the window that is about to be
// built. The first text any window measures otherwise waits while fontconfig reads its
// configuration and Qt lists every installed font, a large share of the start-up; done beside
// the building of the window, the main thread finds it ready or nearly so. Call it once the
// application object exists; the worker belongs to `owner`.
void WarmFontsInBackground(QObject *owner);
