#include "snapguides.h"

#include <cstdlib>

namespace SnapGuides {

Lines BandLines(qint64 size, const std::vector<Span> &others)
{
    Lines lines {0, size};
    lines.reserve(2 + 3 * others.size());
    for (const Span &span : others) {
        lines.push_back(span.low);
        lines.push_back((span.low + span.high) / 2);
        lines.push_back(span.high);
    }
    return lines;
}

Snap Find(const Span &span, bool lowMoves, bool highMoves, const Lines &lines, qint64 tolerance)
{
    // The parts that may snap, in the order that wins a tie.
    std::vector<qint64> parts;
    if (lowMoves)
        parts.push_back(span.low);
    if (lowMoves && highMoves)
        parts.push_back((span.low + span.high) / 2);
    if (highMoves)
        parts.push_back(span.high);

    Snap best;
    qint64 bestDistance = tolerance + 1;
    for (const qint64 part : parts) {
        for (const qint64 line : lines) {
            const qint64 distance = std::llabs(line - part);
            if (distance < bestDistance) {
                bestDistance = distance;
                best.shift = line - part;
                best.line = line;
            }
        }
    }
    return best;
}

} // namespace SnapGuides
