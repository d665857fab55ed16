#pragma once

#include "viewinteraction.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

class CVornDocument;
class CVornItem;
class CVornReport;

// The Format commands on the selected items: align, make the same size, space evenly, size to
// fit, and the drawing order. Each acts relative to the primary item and is one undo step named
// after it. Horizontal positions are shared by all bands; vertical positions are taken on the
// page (the band's top plus the item's), so items of different bands line up as they are seen.
// An item moved by a command stays in its own band as a dragged item does (pushed back in; for an
// item larger than its band the right and bottom edges win), along the axis the command moves;
// an edge that a command places (a new width or height) stops at the page's right edge or the
// band's bottom.
namespace LayoutCommands {

enum class Command {
    AlignLefts,
    AlignCenters,
    AlignRights,
    AlignTops,
    AlignMiddles,
    AlignBottoms,
    MakeSameWidth,
    MakeSameHeight,
    MakeSameSize,
    SpaceAcross,
    SpaceDown,
    SizeToFit,
    BringToFront,
    SendToBack,
};

constexpr Command AllCommands[] = {
        Command::AlignLefts,    Command::AlignCenters,   Command::AlignRights,
        Command::AlignTops,     Command::AlignMiddles,   Command::AlignBottoms,
        Command::MakeSameWidth, Command::MakeSameHeight, Command::MakeSameSize,
        Command::SpaceAcross,   Command::SpaceDown,      Command::SizeToFit,
        Command::BringToFront,  Command::SendToBack,
};

// The name of the command's undo step: "Align Lefts".
QString StepName(Command command);

using ModelRect = CViewInteraction::ModelRect;

// A selected item as the commands see it: its rectangle on the page (model units, the band's top
// added) and the place and height of its band on the page.
struct Placed
{
    ModelRect rect;
    qint64 bandTop = 0;
    qint64 bandHeight = 0;
    // Size to Fit only: the width and height its text needs (model units) and whether the text
    // wraps (then only the height is taken); nothing for an item without text.
    std::optional<std::pair<qint64, qint64>> textSize;
    bool wraps = false;
};

// The rectangles the command gives the items, on the page and in the order given (the primary
// item first); pageWidth is the width of the page as drawn. The order commands change no
// rectangle. Items are left as they are when there are too few for the command: two for
// aligning and sizing, three for spacing.
std::vector<ModelRect> Arrange(Command command, const std::vector<Placed> &items, qint64 pageWidth);

// The places in their band's list of the items a band's selected items take: every selected item
// (selected[i] true) goes to the end (front) or the start (back), keeping the order among them.
// Returns the new order as indexes into the old list.
std::vector<int> Reorder(Command command, const std::vector<bool> &selected);

// The width and height (model units) a Text's or DB Text's text needs in its font, as the view
// draws it at full size on a screen of this resolution: the height of the wrapped lines at the
// item's width when it wraps, else one line's width and height. A DB Text measures its field
// name. Nothing for other items and for a DB Text without a field.
using TextMeasure = std::function<std::optional<std::pair<qint64, qint64>>(const CVornItem &)>;
TextMeasure ScreenTextMeasure(int dpiX, int dpiY);

// Whether the command changes something on the report's selection.
bool CanApply(const CVornReport &report, Command command, const TextMeasure &measure);
// Carries the command out on the document's selection as one undo step; false when it changes
// nothing.
bool Apply(CVornDocument &document, Command command, const TextMeasure &measure);

} // namespace LayoutCommands
