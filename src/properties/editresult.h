#pragma once

#include <QString>

// What applying one row edit did, for the pane to act on.
struct CEditResult
{
    // The object was changed: repaint the view and mark the document modified.
    bool changed = false;
    // The page size or orientation may have changed: views recompute their extent.
    bool pageSizeChanged = false;
    // The new name was refused; nothing was changed.
    bool nameRefused = false;
    // A text to show the user in a message box (a refused name, an unreadable
    // image file); empty when there is none.
    QString message;
};
