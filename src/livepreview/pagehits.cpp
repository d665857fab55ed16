#include "pagehits.h"

namespace PageHits {

namespace {

bool Holds(const CPageRect &box, int x, int y)
{
    return x >= box.left && x < box.right && y >= box.top && y < box.bottom;
}

bool Holds(const CPageRect &outer, const CPageRect &inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right
            && inner.bottom <= outer.bottom;
}

} // namespace

CPageSource At(const CPage &page, int x, int y)
{
    const std::vector<CPageItem> &items = page.GetItems();
    // Drawn last is on top.
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        if (Holds(BoxOf(*it), x, y))
            return SourceOf(*it);
    }
    for (const CPageBand &band : page.GetBands()) {
        if (y >= band.top && y < band.bottom)
            return {band.band, -1};
    }
    return {};
}

std::vector<CPageRect> PlacesOf(const CPage &page, int pageWidth, const CPageSource &source)
{
    std::vector<CPageRect> places;
    if (source.band < 0)
        return places;
    if (source.item < 0) {
        for (const CPageBand &band : page.GetBands()) {
            if (band.band == source.band && band.bottom > band.top)
                places.push_back({0, band.top, pageWidth, band.bottom});
        }
        return places;
    }
    for (const CPageItem &item : page.GetItems()) {
        if (SourceOf(item) != source)
            continue;
        // The parts of one drawing (a chart's labels within its box) are one place.
        const CPageRect &box = BoxOf(item);
        if (!places.empty() && Holds(places.back(), box))
            continue;
        places.push_back(box);
    }
    return places;
}

} // namespace PageHits
