#pragma once

#include <QRectF>

#include <cstdint>
#include <vector>

// The modules of a two-dimensional symbol, a bit each, set when dark: rows of width modules, each
// row in words 64-bit words with its first module in the lowest bit of its first word. A row
// has at least 11 clear bits after its last module, so that patterns reaching past the symbol's
// edge see light modules there, as in its quiet zone.
struct CModuleGrid
{
    int width = 0;
    int rows = 0;
    int words = 0; // per row
    std::vector<std::uint64_t> bits;

    CModuleGrid() = default;
    CModuleGrid(int width, int rows);

    std::uint64_t *Row(int row) { return bits.data() + std::size_t(row) * std::size_t(words); }
    const std::uint64_t *Row(int row) const
    {
        return bits.data() + std::size_t(row) * std::size_t(words);
    }
    bool Dark(int row, int column) const { return (Row(row)[column / 64] >> (column % 64)) & 1u; }
    void SetDark(int row, int column)
    {
        Row(row)[column / 64] |= std::uint64_t(1) << (column % 64);
    }
    void Flip(int row, int column) { Row(row)[column / 64] ^= std::uint64_t(1) << (column % 64); }

    // The dark modules as rectangles in module units, the grid's top left corner at (offset,
    // offset): the runs of each row, a run of the same columns as one in the row above lengthening
    // that one's rectangle. In the order in which their top edges come, row by row, left to right.
    void AddRectangles(double offset, std::vector<QRectF> &rectangles) const;

    friend bool operator==(const CModuleGrid &, const CModuleGrid &) = default;
};
