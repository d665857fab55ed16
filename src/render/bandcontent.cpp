#include "bandcontent.h"

#include "textmeasure.h"

#include <algorithm>

namespace {

CPageRect &MutableBox(CPageItem &item)
{
    return std::visit([](auto &primitive) -> CPageRect & { return primitive.box; }, item);
}

// Sets an item's box when the band grows, breaks or lands on a page; a barcode is cut at the
// same box.
void SetBox(CPageItem &item, const CPageRect &box)
{
    VisitPrimitive(
            item, [&](CPageText &text) { text.box = box; },
            [&](CPageShape &shape) { shape.box = box; },
            [&](CPageImage &image) { image.box = box; },
            [&](CPageBarcode &barcode) {
                barcode.box = box;
                barcode.clip = box;
            },
            [&](CPagePath &path) {
                // The points stay where they are on the box's top left corner: a path moves
                // with its box and is cut where the box is.
                path.box = box;
            });
}

CPageRect Moved(CPageRect box, int by)
{
    box.top += by;
    box.bottom += by;
    return box;
}

// The box cut to the rows from top to bottom; an empty rectangle when nothing is left.
CPageRect CutTo(CPageRect box, int top, int bottom)
{
    box.top = std::max(box.top, top);
    box.bottom = std::min(box.bottom, bottom);
    if (box.bottom <= box.top || box.right <= box.left)
        return {};
    return box;
}

} // namespace

void CBandContent::Add(CPageItem item, bool flows)
{
    items.push_back(std::move(item));
    flowing.push_back(flows);
}

void GrowBandContent(CBandContent &content, const std::vector<CTextGrowth> &growths)
{
    std::vector<CTextGrowth> texts = growths;
    std::sort(texts.begin(), texts.end(),
              [](const CTextGrowth &a, const CTextGrowth &b) { return a.bottom < b.bottom; });
    // How far the line of each text's designed bottom moves: its own growth and the move of its
    // top. A text's top can only lie below the bottoms of texts sorted before it.
    std::vector<int> moves(texts.size(), 0);
    const auto moveAt = [&](int y, bool atBottomToo) {
        int move = 0;
        for (size_t i = 0; i < texts.size(); ++i) {
            if (texts[i].bottom < y || (atBottomToo && texts[i].bottom == y))
                move = std::max(move, moves[i]);
        }
        return move;
    };
    for (size_t i = 0; i < texts.size(); ++i)
        moves[i] = moveAt(texts[i].top, true) + std::max(texts[i].growth, 0);

    for (size_t k = 0; k < content.items.size(); ++k) {
        const CPageRect designed = MutableBox(content.items[k]);
        const int topMove = moveAt(designed.top, true);
        int bottom = designed.bottom + std::max(topMove, moveAt(designed.bottom, false));
        for (size_t i = 0; i < texts.size(); ++i) {
            if (texts[i].item == k)
                bottom = std::max(bottom, designed.bottom + moves[i]);
        }
        CPageRect box = designed;
        box.top += topMove;
        box.bottom = bottom;
        SetBox(content.items[k], box);
    }
    content.height += moveAt(content.height, true);
    content.band.bottom = content.height;
    for (CPageItem &item : content.items)
        SetBox(item, CutTo(MutableBox(item), 0, content.height));
}

int BreakBandContent(CBandContent &content, int space, bool force, CTextMeasure &measure,
                     CBandContent &rest)
{
    if (space <= 0)
        return 0;
    // The cut moves up to the top of the first line of a growing text that it would go
    // through, until it goes through none.
    int cut = space;
    for (bool moved = true; moved;) {
        moved = false;
        for (size_t k = 0; k < content.items.size(); ++k) {
            const auto *text = std::get_if<CPageText>(&content.items[k]);
            if (!content.flowing[k] || !text || text->box.top >= cut || text->box.bottom <= cut)
                continue;
            const CTextMeasure::Fit fit = measure.FitLines(*text, cut - text->box.top);
            if (fit.length < text->text.size() && text->box.top + fit.height < cut) {
                cut = text->box.top + fit.height;
                moved = true;
            }
        }
    }
    if (cut <= 0) {
        if (!force)
            return 0;
        cut = space;
    }

    rest = CBandContent();
    CBandContent part;
    // The rest of a text may need more than the rest of its box: what follows it then moves.
    std::vector<CTextGrowth> restGrowths;
    for (size_t k = 0; k < content.items.size(); ++k) {
        CPageItem &item = content.items[k];
        const CPageRect box = MutableBox(item);
        const bool flows = content.flowing[k];
        if (box.top >= cut) {
            SetBox(item, Moved(box, -cut));
            rest.Add(std::move(item), flows);
            continue;
        }
        auto *text = std::get_if<CPageText>(&item);
        if (flows && text && box.bottom > cut) {
            const CTextMeasure::Fit fit = measure.FitLines(*text, cut - box.top, force);
            if (fit.length < text->text.size()) {
                CPageText next = *text;
                next.text = text->text.mid(fit.length);
                next.box.top = 0;
                next.box.bottom = box.bottom - cut;
                next.vertAlignment = 0;
                const int growth = measure.Height(next) - next.box.bottom;
                if (growth > 0)
                    restGrowths.push_back({rest.items.size(), 0, next.box.bottom, growth});
                rest.Add(std::move(next), true);
                // The line break that ended the part opens no empty line at its end.
                qsizetype end = fit.length;
                if (end > 0 && text->text[end - 1] == u'\n')
                    --end;
                if (end > 0 && text->text[end - 1] == u'\r')
                    --end;
                text->text.truncate(end);
                text->vertAlignment = 0;
            }
        }
        SetBox(item, CutTo(box, box.top, cut));
        if (MutableBox(item).bottom > MutableBox(item).top)
            part.Add(std::move(item), flows);
    }
    // The printed row belongs to the part where the band starts.
    rest.band = content.band;
    rest.band.values.clear();
    rest.height = content.height - cut;
    GrowBandContent(rest, restGrowths);
    part.height = cut;
    part.band = std::move(content.band);
    part.band.bottom = cut;
    content = std::move(part);
    return cut;
}

void PutBandContent(CBandContent &content, int top, CPage &page, int left)
{
    for (CPageItem &item : content.items) {
        CPageRect box = Moved(MutableBox(item), top);
        box.left += left;
        box.right += left;
        SetBox(item, box);
        page.Add(std::move(item));
    }
    content.items.clear();
    content.flowing.clear();
    CPageBand band = std::move(content.band);
    band.top = top;
    band.bottom = top + content.height;
    for (CPrintedValue &value : band.values) {
        value.left += left;
        value.right += left;
    }
    page.AddBand(std::move(band));
}
