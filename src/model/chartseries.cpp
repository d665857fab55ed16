#include "chartseries.h"

#include <iterator>

quint32 CChartSeriesSetting::PaletteColor(int index)
{
    // Luma 69, 228, 113, 192 and 143: each one far from its neighbours.
    static constexpr quint32 Palette[] = {0x794E1F, 0x99E6FF, 0x4D50C0, 0x83B1F4, 0x47AD70};
    constexpr int count = int(std::size(Palette));
    return Palette[((index % count) + count) % count];
}
