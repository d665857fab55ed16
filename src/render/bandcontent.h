#pragma once

#include "pagecontent.h"

#include <vector>

class CTextMeasure;

// One printing of a band before it goes on a page: its primitives measured from the band's top
// and its height, both grown with the texts that grow.
struct CBandContent
{
    int height = 0;
    std::vector<CPageItem> items;
    // Per item: a growing text, which breaks between its lines when the band breaks across pages.
    std::vector<bool> flowing;
    // The band as placed, from 0 to height, with the values its row printed.
    CPageBand band;

    void Add(CPageItem item, bool flows = false);
};

// The growth of one text: its designed edges in the band and how much taller it has to be.
struct CTextGrowth
{
    size_t item = 0; // index into the content's items
    int top = 0;
    int bottom = 0;
    int growth = 0;
};

// Grows the content after its texts. An item whose top lies at or below a grown text's designed
// bottom moves down by that text's growth, added to the move of the text itself, the largest
// such move where several texts lie above it; an item that spans the line of a grown text's
// bottom (a frame, a vertical rule) stretches by the same; the band grows by the largest move
// at its bottom. Every box is then cut to the grown band, as a band cuts its items.
void GrowBandContent(CBandContent &content, const std::vector<CTextGrowth> &growths);

// Cuts the first space units off content for the rest of a page; rest gets what is below the
// cut, measured from the cut. A growing text breaks between its lines (the cut moves up to the
// first line that would be cut); any other item prints on the part where its top lies, cut at
// the bottom of that part. Returns the cut, 0 when nothing fits above it; with force set, a
// part that takes at least the first line of every text is cut all the same.
int BreakBandContent(CBandContent &content, int space, bool force, CTextMeasure &measure,
                     CBandContent &rest);

// Moves every primitive of the content down by top and right by left onto page.
void PutBandContent(CBandContent &content, int top, CPage &page, int left = 0);
