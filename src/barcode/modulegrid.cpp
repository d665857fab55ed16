#include "modulegrid.h"

#include <algorithm>
#include <bit>

CModuleGrid::CModuleGrid(int width, int rows)
    : width(width)
    , rows(rows)
    , words((width + 11 + 63) / 64)
    , bits(std::size_t(rows) * std::size_t(words))
{ }

namespace {

// The first column at or after from whose module is dark (set) or light (!set); width when none.
int NextColumn(const std::uint64_t *row, int width, int from, bool set)
{
    for (int word = from / 64; word * 64 < width; ++word) {
        std::uint64_t bits = set ? row[word] : ~row[word];
        if (word == from / 64)
            bits &= ~std::uint64_t(0) << (from % 64);
        if (bits)
            return std::min(width, word * 64 + std::countr_zero(bits));
    }
    return width;
}

} // namespace

void CModuleGrid::AddRectangles(double offset, std::vector<QRectF> &rectangles) const
{
    struct Run
    {
        int start;
        int end;
        std::size_t rectangle;
    };
    std::vector<Run> above;
    std::vector<Run> runs;
    for (int y = 0; y < rows; ++y) {
        runs.clear();
        std::size_t next = 0; // the first run above that may meet this row's next run
        for (int x = NextColumn(Row(y), width, 0, true); x < width;) {
            const int end = NextColumn(Row(y), width, x, false);
            while (next < above.size() && above[next].start < x)
                ++next;
            if (next < above.size() && above[next].start == x && above[next].end == end) {
                QRectF &rectangle = rectangles[above[next].rectangle];
                rectangle.setHeight(rectangle.height() + 1);
                runs.push_back(above[next]);
            } else {
                rectangles.emplace_back(offset + x, offset + y, end - x, 1);
                runs.push_back({x, end, rectangles.size() - 1});
            }
            x = NextColumn(Row(y), width, end, true);
        }
        std::swap(above, runs);
    }
}
