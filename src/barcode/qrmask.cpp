#include "qrmask.h"

#include "modulegrid.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <utility>

namespace {

constexpr int maskPatterns = 8;

// The number of bits set, inline: std::popcount calls a library routine, several times slower,
// where the build may not assume the processor's own instruction.
inline int Ones(std::uint64_t bits)
{
    bits -= (bits >> 1) & 0x5555555555555555u;
    bits = (bits & 0x3333333333333333u) + ((bits >> 2) & 0x3333333333333333u);
    bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
    return int((bits * 0x0101010101010101u) >> 56);
}

// A row or column of modules of a symbol in Words words (see CModuleGrid), with the bit
// operations that find patterns along it, bit x standing for the module at x.
template<int Words>
struct CLine
{
    std::array<std::uint64_t, Words> w {};

    static CLine Load(const std::uint64_t *words)
    {
        CLine line;
        for (int i = 0; i < Words; ++i)
            line.w[i] = words[i];
        return line;
    }
    // Bits 0 to count - 1.
    static CLine First(int count)
    {
        CLine line;
        for (int i = 0; i < Words; ++i) {
            const int bits = std::clamp(count - 64 * i, 0, 64);
            line.w[i] = bits == 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << bits) - 1;
        }
        return line;
    }
    CLine operator&(const CLine &o) const
    {
        return Apply(o, [](auto a, auto b) { return a & b; });
    }
    CLine operator|(const CLine &o) const
    {
        return Apply(o, [](auto a, auto b) { return a | b; });
    }
    CLine operator^(const CLine &o) const
    {
        return Apply(o, [](auto a, auto b) { return a ^ b; });
    }
    CLine operator~() const
    {
        CLine line;
        for (int i = 0; i < Words; ++i)
            line.w[i] = ~w[i];
        return line;
    }
    // Bit x is the module n further on (0 past the last word).
    CLine Ahead(int n) const
    {
        CLine line;
        for (int i = 0; i < Words; ++i)
            line.w[i] = (w[i] >> n) | (i + 1 < Words ? w[i + 1] << (64 - n) : 0);
        return line;
    }
    // Bit x is the module n back, or fill before the first module.
    CLine Back(int n, bool fill) const
    {
        CLine line;
        for (int i = 0; i < Words; ++i) {
            const std::uint64_t carried = i > 0 ? w[i - 1] >> (64 - n)
                    : fill                      ? (std::uint64_t(1) << n) - 1
                                                : 0;
            line.w[i] = (w[i] << n) | carried;
        }
        return line;
    }
    int Count() const
    {
        int count = 0;
        for (const std::uint64_t word : w)
            count += Ones(word);
        return count;
    }
    bool Any() const
    {
        for (const std::uint64_t word : w)
            if (word)
                return true;
        return false;
    }

private:
    template<typename Op>
    CLine Apply(const CLine &o, Op op) const
    {
        CLine line;
        for (int i = 0; i < Words; ++i)
            line.w[i] = op(w[i], o.w[i]);
        return line;
    }
};

// The penalties of the lines of a symbol of size modules square that look along them: three for
// a run of five modules of one colour and one more for each further module; 40 for a dark,
// light, three dark, light, dark pattern with four light modules before or after it, the
// outside of the symbol counting as light.
template<int Words>
int LinePenalty(const std::uint64_t *lines, int size)
{
    using Line = CLine<Words>;
    const Line neighboured = Line::First(size - 1); // the modules with one after them
    const Line finderStarts = Line::First(size - 6);
    int penalty = 0;
    for (int i = 0; i < size; ++i) {
        const Line dark = Line::Load(lines + i * Words);
        // The bits past the last module are clear: light, like the quiet zone.
        const Line light = ~dark;
        const Line same = ~(dark ^ dark.Ahead(1)) & neighboured;
        const Line runsOfFive = same & same.Ahead(1) & same.Ahead(2) & same.Ahead(3);
        // A run of n modules has n - 4 runs of five in it and one start.
        penalty += runsOfFive.Count() + 2 * (runsOfFive & ~runsOfFive.Back(1, false)).Count();
        const Line finders = dark & light.Ahead(1) & dark.Ahead(2) & dark.Ahead(3) & dark.Ahead(4)
                & light.Ahead(5) & dark.Ahead(6) & finderStarts;
        if (!finders.Any())
            continue;
        const Line lightAfter = light.Ahead(7) & light.Ahead(8) & light.Ahead(9) & light.Ahead(10);
        const Line lightBefore = light.Back(1, true) & light.Back(2, true) & light.Back(3, true)
                & light.Back(4, true);
        penalty += 40 * (finders & (lightAfter | lightBefore)).Count();
    }
    return penalty;
}

// The whole penalty of a symbol of size modules square, given by rows and by columns.
template<int Words>
int Penalty(const std::uint64_t *rows, const std::uint64_t *columns, int size)
{
    using Line = CLine<Words>;
    int penalty = LinePenalty<Words>(rows, size) + LinePenalty<Words>(columns, size);
    // Three for each block of two by two modules of one colour.
    const Line neighboured = Line::First(size - 1);
    int dark = 0;
    for (int y = 0; y < size; ++y) {
        const Line upper = Line::Load(rows + y * Words);
        dark += upper.Count();
        if (y + 1 == size)
            break;
        const Line lower = Line::Load(rows + (y + 1) * Words);
        const Line blocks = ~(upper ^ lower) & ~(upper ^ upper.Ahead(1)) & ~(lower ^ lower.Ahead(1))
                & neighboured;
        penalty += 3 * blocks.Count();
    }
    // Ten for each whole five percent by which the dark modules' share is off one half,
    // computed as the library does.
    const double percentage = (100.0 * dark) / (size * size);
    penalty += 10 * int(std::fabs(percentage - 50.0) / 5.0);
    return penalty;
}

// Whether the mask pattern inverts the module at row y, column x.
bool Inverts(int pattern, int y, int x)
{
    switch (pattern) {
    case 0:
        return (y + x) % 2 == 0;
    case 1:
        return y % 2 == 0;
    case 2:
        return x % 3 == 0;
    case 3:
        return (y + x) % 3 == 0;
    case 4:
        return (y / 2 + x / 3) % 2 == 0;
    case 5:
        return (y * x) % 2 + (y * x) % 3 == 0;
    case 6:
        return ((y * x) % 2 + (y * x) % 3) % 2 == 0;
    default:
        return ((y + x) % 2 + (y * x) % 3) % 2 == 0;
    }
}

// The modules of a version that each mask pattern inverts beyond those of pattern 0, by rows and
// by columns: a symbol masked with pattern 0 becomes the one masked with pattern m by flipping
// them (but for its format information).
struct CMaskChanges
{
    int size = 0;
    std::array<CModuleGrid, maskPatterns> rows;
    std::array<CModuleGrid, maskPatterns> columns;

    explicit CMaskChanges(int version);
};

CMaskChanges::CMaskChanges(int version)
    : size(17 + 4 * version)
{
    // The function patterns, which no mask pattern touches.
    CModuleGrid fixed(size, size);
    const auto fill = [&fixed](int top, int left, int bottom, int right) {
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x)
                fixed.SetDark(y, x);
    };
    // The finder patterns with their separators and the format information beside them (with
    // the dark module), and the timing patterns.
    fill(0, 0, 8, 8);
    fill(0, size - 8, 8, size - 1);
    fill(size - 8, 0, size - 1, 8);
    fill(6, 0, 6, size - 1);
    fill(0, 6, size - 1, 6);
    if (version >= 2) {
        // Alignment patterns centred on every pair of their rows and columns that is no
        // finder's: 6, then evenly spaced up to size - 7.
        const int count = version / 7 + 2;
        const int step = version == 32 ? 26 : (version * 4 + count * 2 + 1) / (count * 2 - 2) * 2;
        std::array<int, 7> centres {};
        centres[0] = 6;
        for (int i = 1; i < count; ++i)
            centres[i] = size - 7 - (count - 1 - i) * step;
        for (int i = 0; i < count; ++i) {
            for (int j = 0; j < count; ++j) {
                const bool finder = (i == 0 && j == 0) || (i == 0 && j == count - 1)
                        || (i == count - 1 && j == 0);
                if (!finder)
                    fill(centres[i] - 2, centres[j] - 2, centres[i] + 2, centres[j] + 2);
            }
        }
    }
    if (version >= 7) {
        // The version information beside the top right and bottom left finders.
        fill(0, size - 11, 5, size - 9);
        fill(size - 11, 0, size - 9, 5);
    }
    for (int pattern = 0; pattern < maskPatterns; ++pattern) {
        rows[pattern] = CModuleGrid(size, size);
        columns[pattern] = CModuleGrid(size, size);
        if (pattern == 0)
            continue;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                if (!fixed.Dark(y, x) && Inverts(pattern, y, x) != Inverts(0, y, x)) {
                    rows[pattern].SetDark(y, x);
                    columns[pattern].SetDark(x, y);
                }
            }
        }
    }
}

const CMaskChanges &MaskChanges(int version)
{
    // Made once per thread for each version used.
    thread_local std::array<std::unique_ptr<const CMaskChanges>, 41> made;
    if (!made[version])
        made[version] = std::make_unique<const CMaskChanges>(version);
    return *made[version];
}

// The format information's 15 bits of error correction level bits and a mask pattern: a BCH
// code of the five, masked.
unsigned FormatBits(unsigned levelBits, int pattern)
{
    const unsigned data = levelBits << 3 | unsigned(pattern);
    unsigned remainder = data;
    for (int i = 0; i < 10; ++i)
        remainder = (remainder << 1) ^ ((remainder >> 9) * 0x537);
    return ((data << 10) | (remainder & 0x3FF)) ^ 0x5412;
}

// Where bit i of the format information lies, the first copy beside the top left finder and the
// second along the other two: row and column.
std::pair<int, int> FormatModule(int size, int i, bool second)
{
    if (!second) {
        if (i < 6)
            return {i, 8};
        if (i < 9)
            return i == 6 ? std::pair {7, 8} : i == 7 ? std::pair {8, 8} : std::pair {8, 7};
        return {8, 14 - i};
    }
    return i < 8 ? std::pair {8, size - 1 - i} : std::pair {size - 15 + i, 8};
}

template<int Words>
bool Choose(CModuleGrid &grid, const CMaskChanges &changes)
{
    const int size = grid.width;
    unsigned format[2] = {0, 0};
    for (int copy = 0; copy < 2; ++copy) {
        for (int i = 0; i < 15; ++i) {
            const auto [y, x] = FormatModule(size, i, copy == 1);
            format[copy] |= unsigned(grid.Dark(y, x)) << i;
        }
    }
    const unsigned levelBits = ((format[0] ^ 0x5412) >> 13) & 3;
    if (format[0] != format[1] || format[0] != FormatBits(levelBits, 0))
        return false;

    CModuleGrid columns(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (grid.Dark(y, x))
                columns.SetDark(x, y);
    // Each pattern's symbol by rows and by columns: the one masked with pattern 0 with the
    // modules of the pattern's changes and of its format information flipped.
    CModuleGrid masked(size, size);
    CModuleGrid maskedColumns(size, size);
    const auto mask = [&](int pattern) {
        for (std::size_t i = 0; i < masked.bits.size(); ++i) {
            masked.bits[i] = grid.bits[i] ^ changes.rows[pattern].bits[i];
            maskedColumns.bits[i] = columns.bits[i] ^ changes.columns[pattern].bits[i];
        }
        const unsigned formatChanges = format[0] ^ FormatBits(levelBits, pattern);
        for (int i = 0; i < 15; ++i) {
            if (!((formatChanges >> i) & 1))
                continue;
            for (const bool second : {false, true}) {
                const auto [y, x] = FormatModule(size, i, second);
                masked.Flip(y, x);
                maskedColumns.Flip(x, y);
            }
        }
    };
    int best = 0;
    int lowest = 0;
    for (int pattern = 0; pattern < maskPatterns; ++pattern) {
        mask(pattern);
        // The first of equal penalties, like the library.
        const int penalty = Penalty<Words>(masked.bits.data(), maskedColumns.bits.data(), size);
        if (pattern == 0 || penalty < lowest) {
            lowest = penalty;
            best = pattern;
        }
    }
    if (best != maskPatterns - 1)
        mask(best);
    grid.bits = std::move(masked.bits);
    return true;
}

} // namespace

bool ChooseQrMask(CModuleGrid &grid)
{
    const int size = grid.width;
    const int version = (size - 17) / 4;
    if (grid.rows != size || (size - 17) % 4 != 0 || version < 1 || version > 40)
        return false;
    const CMaskChanges &changes = MaskChanges(version);
    switch (grid.words) {
    case 1:
        return Choose<1>(grid, changes);
    case 2:
        return Choose<2>(grid, changes);
    case 3:
        return Choose<3>(grid, changes);
    default:
        return false;
    }
}
