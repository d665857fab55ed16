#pragma once

#include "pagecontent.h"

#include <vector>

// Where the report's bands and items lie on a laid-out page, from the sources its primitives
// carry. Points and boxes are in hundredths of a millimetre from the page's top left corner.
namespace PageHits {

// What the user points at: the topmost primitive whose box holds the point (its band and
// item), else the band placed there (item -1), else nothing (band -1).
CPageSource At(const CPage &page, int x, int y);

// The boxes that show an item on the page (one per printed instance; the primitives that
// follow one of them within its box are part of it); for a band (item -1), each place of the
// band across the page's width.
std::vector<CPageRect> PlacesOf(const CPage &page, int pageWidth, const CPageSource &source);

} // namespace PageHits
