#pragma once

#include <QtGlobal>

#include <optional>
#include <vector>

// Guides while dragging: the lines of a band that a moved or resized item's edges and centre lines
// snap to, in the band's model coordinates (hundredths of a millimetre). Plain arithmetic: the
// interaction converts the pointer's tolerance into model units and applies what comes back.
namespace SnapGuides {

// The candidate lines of one axis: positions in model units.
using Lines = std::vector<qint64>;

// An item's extent along one axis (left and right, or top and bottom).
struct Span
{
    qint64 low = 0;
    qint64 high = 0;
};

// The lines of a band along one axis: its two edges (0 and size) and, for every other item, its
// two edges and its centre line (the midpoint, truncated).
Lines BandLines(qint64 size, const std::vector<Span> &others);

// What snapping one axis gives: how far the span's moving parts go, and the line they went to.
struct Snap
{
    qint64 shift = 0;
    std::optional<qint64> line;
};

// The nearest line within tolerance of the span's parts that move: for a move (low and high)
// its two edges and its centre line, which then go along together; for a resize only the edge
// that moves. The closest line wins; on a tie the low edge, then the centre, then the high
// edge, and the line listed first.
Snap Find(const Span &span, bool lowMoves, bool highMoves, const Lines &lines, qint64 tolerance);

} // namespace SnapGuides
