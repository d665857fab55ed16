#pragma once

#include "viewinteraction.h"

#include <QCoreApplication>
#include <QPoint>

#include <algorithm>
#include <cstdlib>
#include <limits>

// Small rules shared by the files that make up CViewInteraction: which edges of a rectangle a
// point is near, which mode that gives and which edges a mode pulls, the grid's rounding, and
// the model's integers.
namespace InteractionRules {

struct Edges
{
    bool left = false;
    bool top = false;
    bool right = false;
    bool bottom = false;
};

inline Edges NearEdges(const PixRect &rect, QPoint pt)
{
    const auto near = [](int a, int b) {
        return std::abs(a - b) <= CViewInteraction::EdgeTolerance;
    };
    return {near(pt.x(), rect.left), near(pt.y(), rect.top), near(pt.x(), rect.right),
            near(pt.y(), rect.bottom)};
}

inline int ModeForEdges(const Edges &e)
{
    using I = CViewInteraction;
    if (e.left && e.top)
        return I::DragTopLeft;
    if (e.right && e.top)
        return I::DragTopRight;
    if (e.right && e.bottom)
        return I::DragBottomRight;
    if (e.left && e.bottom)
        return I::DragBottomLeft;
    if (e.left)
        return I::DragLeft;
    if (e.top)
        return I::DragTop;
    if (e.right)
        return I::DragRight;
    if (e.bottom)
        return I::DragBottom;
    return I::Move;
}

// Which edges a mode pulls; a move takes all four.
inline bool MovesLeft(int mode)
{
    using I = CViewInteraction;
    return mode == I::DragTopLeft || mode == I::DragBottomLeft || mode == I::DragLeft
            || mode == I::Move;
}

inline bool MovesTop(int mode)
{
    using I = CViewInteraction;
    return mode == I::DragTopLeft || mode == I::DragTop || mode == I::DragTopRight
            || mode == I::Move;
}

inline bool MovesRight(int mode)
{
    using I = CViewInteraction;
    return mode == I::DragTopRight || mode == I::DragRight || mode == I::DragBottomRight
            || mode == I::Move;
}

inline bool MovesBottom(int mode)
{
    using I = CViewInteraction;
    return mode == I::DragBottomRight || mode == I::DragBottom || mode == I::DragBottomLeft
            || mode == I::Move;
}

// To the nearest multiple of the grid step: a remainder below half a step rounds down.
inline int RoundToGrid(int v)
{
    const int step = CViewInteraction::GridStep;
    const int remainder = v % step;
    return remainder < step / 2 ? v - remainder : v - remainder + step;
}

inline QString T(const char *text)
{
    return QCoreApplication::translate("Vantel", text);
}

inline int ToInt(qint64 v)
{
    return int(std::clamp<qint64>(v, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

} // namespace InteractionRules
