#pragma once

#include <QRect>

#include <algorithm>

// A rectangle of view pixels with exclusive right and bottom edges, as the page geometry and
// the drawing rules count them: (l, t, r, b) covers the columns l .. r - 1 and the rows
// t .. b - 1. QRect keeps an inclusive right(), so the two are converted only at the painter.
struct PixRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }

    // No area: a rectangle with no columns or no rows.
    bool IsEmpty() const { return right <= left || bottom <= top; }

    // Whether the pixel (x, y) lies inside; right and bottom are outside.
    bool Contains(int x, int y) const { return left <= x && x < right && top <= y && y < bottom; }

    PixRect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }

    PixRect Inflate(int dx, int dy) const { return {left - dx, top - dy, right + dx, bottom + dy}; }

    // The common part, or (0, 0, 0, 0) when the two do not overlap in an area.
    PixRect Intersect(const PixRect &other) const
    {
        const PixRect common {std::max(left, other.left), std::max(top, other.top),
                              std::min(right, other.right), std::min(bottom, other.bottom)};
        return common.IsEmpty() ? PixRect {} : common;
    }

    QRect ToQRect() const { return QRect(left, top, right - left, bottom - top); }

    friend bool operator==(const PixRect &, const PixRect &) = default;
};
