#include "layoutcommands.h"

#include "reportedit.h"
#include "textitemlayout.h"
#include "vorndocument.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QCoreApplication>
#include <QFontMetrics>

#include <algorithm>
#include <climits>
#include <cmath>
#include <numeric>
#include <unordered_map>

namespace LayoutCommands {

namespace {

bool IsOrderCommand(Command command)
{
    return command == Command::BringToFront || command == Command::SendToBack;
}

qint64 Width(const ModelRect &r)
{
    return r.right - r.left;
}

qint64 Height(const ModelRect &r)
{
    return r.bottom - r.top;
}

ModelRect PlaceLeft(const ModelRect &r, qint64 left)
{
    return r.Offset(left - r.left, 0);
}

ModelRect PlaceTop(const ModelRect &r, qint64 top)
{
    return r.Offset(0, top - r.top);
}

// Along one axis, as a dragged item is kept in its band: the low edge first, the high edge wins.
ModelRect KeepAcross(ModelRect r, qint64 pageWidth)
{
    if (r.left < 0)
        r = PlaceLeft(r, 0);
    if (r.right > pageWidth)
        r = r.Offset(pageWidth - r.right, 0);
    return r;
}

ModelRect KeepDown(ModelRect r, const Placed &p)
{
    if (r.top < p.bandTop)
        r = PlaceTop(r, p.bandTop);
    if (r.bottom > p.bandTop + p.bandHeight)
        r = r.Offset(0, p.bandTop + p.bandHeight - r.bottom);
    return r;
}

// A placed right or bottom edge stops at the page's right edge or the band's bottom, and never
// passes the opposite edge.
ModelRect PinRight(ModelRect r, qint64 right, qint64 pageWidth)
{
    r.right = std::max(r.left, std::min(right, pageWidth));
    return r;
}

ModelRect PinBottom(ModelRect r, qint64 bottom, const Placed &p)
{
    r.bottom = std::max(r.top, std::min(bottom, p.bandTop + p.bandHeight));
    return r;
}

// Equal gaps between the items in the order of their low edges; the first and the last stay.
// low and size read one axis of a rectangle, place puts it at a new low edge.
template<typename Low, typename Size, typename Place>
void SpaceEvenly(std::vector<ModelRect> &rects, Low low, Size size, Place place)
{
    const size_t n = rects.size();
    if (n < 3)
        return;
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return low(rects[a]) < low(rects[b]); });
    const ModelRect &first = rects[order.front()];
    const ModelRect &last = rects[order.back()];
    qint64 sizes = 0;
    for (const ModelRect &r : rects)
        sizes += size(r);
    const qint64 start = low(first);
    const qint64 free = low(last) + size(last) - start - sizes;
    std::vector<ModelRect> spaced = rects;
    qint64 before = 0;
    for (size_t k = 0; k < n; ++k) {
        const size_t i = order[k];
        // The gaps before item k add up to k / (n - 1) of the free space, truncated.
        spaced[i] = place(rects[i], start + before + free * qint64(k) / qint64(n - 1), i);
        before += size(rects[i]);
    }
    rects = spaced;
}

// The selected items with what the commands need to know of them, the primary one first.
struct Selection
{
    std::vector<CVornItem *> items;
    std::vector<Placed> placed;
};

Selection Gather(const CVornReport &report, bool measureText, const TextMeasure &measure)
{
    // Where each selected item's band lies on the page, in one walk over the bands.
    std::unordered_map<const CVornElement *, std::pair<qint64, qint64>> bandOf;
    qint64 bandTop = 0;
    for (const CVornBand *band : report.GetBands()) {
        for (const CVornItem *item : band->GetItems()) {
            if (item->IsSelected())
                bandOf.emplace(item, std::pair(bandTop, qint64(band->GetEffectiveHeight())));
        }
        bandTop += band->GetEffectiveHeight();
    }
    Selection selection;
    for (CVornElement *element : report.GetSelection()) {
        const auto found = bandOf.find(element);
        if (found == bandOf.end())
            continue;
        auto *item = static_cast<CVornItem *>(element);
        Placed placed;
        placed.bandTop = found->second.first;
        placed.bandHeight = found->second.second;
        placed.rect = {item->GetLeft(), placed.bandTop + item->GetTop(), item->GetRight(),
                       placed.bandTop + item->GetBottom()};
        if (measureText && measure) {
            placed.textSize = measure(*item);
            const auto *text = dynamic_cast<const CVornText *>(item);
            placed.wraps = text && text->GetWordWrap() != 0;
        }
        selection.items.push_back(item);
        selection.placed.push_back(placed);
    }
    return selection;
}

int ToInt(qint64 v)
{
    return int(std::clamp<qint64>(v, INT_MIN, INT_MAX));
}

// The bands whose items the selection holds, with the new order of each.
std::vector<std::pair<CVornBand *, std::vector<int>>> NewOrders(const CVornReport &report,
                                                                Command command)
{
    std::vector<std::pair<CVornBand *, std::vector<int>>> orders;
    for (CVornBand *band : report.GetBands()) {
        std::vector<bool> selected;
        bool any = false;
        for (const CVornItem *item : band->GetItems()) {
            selected.push_back(item->IsSelected());
            any = any || item->IsSelected();
        }
        if (!any)
            continue;
        std::vector<int> order = Reorder(command, selected);
        std::vector<int> same(order.size());
        std::iota(same.begin(), same.end(), 0);
        if (order != same)
            orders.emplace_back(band, std::move(order));
    }
    return orders;
}

} // namespace

QString StepName(Command command)
{
    const char *names[] = {
            QT_TRANSLATE_NOOP("Vantel", "Align Lefts"),
            QT_TRANSLATE_NOOP("Vantel", "Align Centers"),
            QT_TRANSLATE_NOOP("Vantel", "Align Rights"),
            QT_TRANSLATE_NOOP("Vantel", "Align Tops"),
            QT_TRANSLATE_NOOP("Vantel", "Align Middles"),
            QT_TRANSLATE_NOOP("Vantel", "Align Bottoms"),
            QT_TRANSLATE_NOOP("Vantel", "Make Same Width"),
            QT_TRANSLATE_NOOP("Vantel", "Make Same Height"),
            QT_TRANSLATE_NOOP("Vantel", "Make Same Size"),
            QT_TRANSLATE_NOOP("Vantel", "Space Evenly Across"),
            QT_TRANSLATE_NOOP("Vantel", "Space Evenly Down"),
            QT_TRANSLATE_NOOP("Vantel", "Size to Fit"),
            QT_TRANSLATE_NOOP("Vantel", "Bring to Front"),
            QT_TRANSLATE_NOOP("Vantel", "Send to Back"),
    };
    return QCoreApplication::translate("Vantel", names[int(command)]);
}

std::vector<ModelRect> Arrange(Command command, const std::vector<Placed> &items, qint64 pageWidth)
{
    std::vector<ModelRect> rects;
    for (const Placed &p : items)
        rects.push_back(p.rect);
    if (items.empty() || IsOrderCommand(command))
        return rects;
    const ModelRect primary = rects.front();
    const size_t n = rects.size();
    // Each of the other items, moved or sized after the primary one.
    const auto others = [&](auto change) {
        for (size_t i = 1; i < n; ++i)
            rects[i] = change(rects[i], items[i]);
    };
    switch (command) {
    case Command::AlignLefts:
        others([&](const ModelRect &r, const Placed &) {
            return KeepAcross(PlaceLeft(r, primary.left), pageWidth);
        });
        break;
    case Command::AlignCenters:
        others([&](const ModelRect &r, const Placed &) {
            const qint64 middle = (primary.left + primary.right) / 2;
            return KeepAcross(PlaceLeft(r, middle - Width(r) / 2), pageWidth);
        });
        break;
    case Command::AlignRights:
        others([&](const ModelRect &r, const Placed &) {
            return KeepAcross(PlaceLeft(r, primary.right - Width(r)), pageWidth);
        });
        break;
    case Command::AlignTops:
        others([&](const ModelRect &r, const Placed &p) {
            return KeepDown(PlaceTop(r, primary.top), p);
        });
        break;
    case Command::AlignMiddles:
        others([&](const ModelRect &r, const Placed &p) {
            const qint64 middle = (primary.top + primary.bottom) / 2;
            return KeepDown(PlaceTop(r, middle - Height(r) / 2), p);
        });
        break;
    case Command::AlignBottoms:
        others([&](const ModelRect &r, const Placed &p) {
            return KeepDown(PlaceTop(r, primary.bottom - Height(r)), p);
        });
        break;
    case Command::MakeSameWidth:
    case Command::MakeSameHeight:
    case Command::MakeSameSize:
        others([&](ModelRect r, const Placed &p) {
            if (command != Command::MakeSameHeight)
                r = PinRight(r, r.left + Width(primary), pageWidth);
            if (command != Command::MakeSameWidth)
                r = PinBottom(r, r.top + Height(primary), p);
            return r;
        });
        break;
    case Command::SpaceAcross:
        SpaceEvenly(
                rects, [](const ModelRect &r) { return r.left; }, Width,
                [&](const ModelRect &r, qint64 low, size_t) {
                    return KeepAcross(PlaceLeft(r, low), pageWidth);
                });
        break;
    case Command::SpaceDown:
        SpaceEvenly(
                rects, [](const ModelRect &r) { return r.top; }, Height,
                [&](const ModelRect &r, qint64 low, size_t i) {
                    return KeepDown(PlaceTop(r, low), items[i]);
                });
        break;
    case Command::SizeToFit:
        // Every text item on its own; the primary one too.
        for (size_t i = 0; i < n; ++i) {
            if (!items[i].textSize)
                continue;
            const auto [width, height] = *items[i].textSize;
            if (!items[i].wraps)
                rects[i] = PinRight(rects[i], rects[i].left + width, pageWidth);
            rects[i] = PinBottom(rects[i], rects[i].top + height, items[i]);
        }
        break;
    case Command::BringToFront:
    case Command::SendToBack:
        break;
    }
    return rects;
}

std::vector<int> Reorder(Command command, const std::vector<bool> &selected)
{
    std::vector<int> chosen;
    std::vector<int> rest;
    for (int i = 0; i < int(selected.size()); ++i)
        (selected[size_t(i)] ? chosen : rest).push_back(i);
    std::vector<int> order;
    if (command == Command::SendToBack) {
        order = chosen;
        order.insert(order.end(), rest.begin(), rest.end());
    } else if (command == Command::BringToFront) {
        order = rest;
        order.insert(order.end(), chosen.begin(), chosen.end());
    } else {
        order.resize(selected.size());
        std::iota(order.begin(), order.end(), 0);
    }
    return order;
}

TextMeasure ScreenTextMeasure(int dpiX, int dpiY)
{
    return [dpiX, dpiY](const CVornItem &item) -> std::optional<std::pair<qint64, qint64>> {
        const auto *text = dynamic_cast<const CVornText *>(&item);
        if (!text || (item.GetKind() != VornKind::Text && item.GetKind() != VornKind::DbText))
            return std::nullopt;
        QString shown = text->GetText();
        if (const auto *dbText = dynamic_cast<const CVornDbText *>(text)) {
            // What a DB Text prints is its field's value: its name stands in for it.
            shown = dbText->GetDataField();
            if (shown.isEmpty())
                return std::nullopt;
        }
        const QFontMetrics metrics(TextItemFont(*text, dpiY, 1.0));
        // Pixels to model units, rounded up so that the text is not cut by a unit.
        const auto up = [](qint64 pixels, int dpi) {
            return qint64(std::ceil(double(pixels) * 2540.0 / dpi));
        };
        if (text->GetWordWrap() != 0) {
            const int width = int(double(item.GetRight() - item.GetLeft()) * dpiX / 2540.0);
            const QRect box = metrics.boundingRect(QRect(0, 0, std::max(1, width), INT_MAX / 2),
                                                   Qt::TextWordWrap, shown);
            return std::pair(qint64(item.GetRight() - item.GetLeft()), up(box.height(), dpiY));
        }
        const QRect box = metrics.boundingRect(QRect(0, 0, INT_MAX / 2, INT_MAX / 2),
                                               Qt::TextSingleLine, shown);
        return std::pair(up(std::max(box.width(), metrics.horizontalAdvance(shown)), dpiX),
                         up(std::max(box.height(), metrics.height()), dpiY));
    };
}

bool CanApply(const CVornReport &report, Command command, const TextMeasure &measure)
{
    if (IsOrderCommand(command))
        return !NewOrders(report, command).empty();
    const Selection selection = Gather(report, command == Command::SizeToFit, measure);
    const std::vector<ModelRect> rects = Arrange(command, selection.placed, report.GetPageWidth());
    for (size_t i = 0; i < rects.size(); ++i) {
        if (!(rects[i] == selection.placed[i].rect))
            return true;
    }
    return false;
}

bool Apply(CVornDocument &document, Command command, const TextMeasure &measure)
{
    CVornReport &report = document.GetReport();
    CReportEdit edit(document, StepName(command));
    if (IsOrderCommand(command)) {
        for (auto &[band, order] : NewOrders(report, command)) {
            // The items in their places one by one: the one that goes to place t is moved there
            // from where it is now.
            std::vector<CVornItem *> now;
            for (CVornItem *item : band->GetItems())
                now.push_back(item);
            const std::vector<CVornItem *> before = now;
            for (int t = 0; t < int(order.size()); ++t) {
                CVornItem *wanted = before[size_t(order[size_t(t)])];
                const int at = int(std::find(now.begin(), now.end(), wanted) - now.begin());
                if (at == t)
                    continue;
                edit.MoveItem(band, at, t);
                now.erase(now.begin() + at);
                now.insert(now.begin() + t, wanted);
            }
        }
        return edit.Commit();
    }
    const Selection selection = Gather(report, command == Command::SizeToFit, measure);
    const std::vector<ModelRect> rects = Arrange(command, selection.placed, report.GetPageWidth());
    for (size_t i = 0; i < rects.size(); ++i) {
        if (rects[i] == selection.placed[i].rect)
            continue;
        CVornItem *item = selection.items[i];
        const qint64 top = selection.placed[i].bandTop;
        edit.WillChange(item);
        item->SetRect(ToInt(rects[i].left), ToInt(rects[i].top - top), ToInt(rects[i].right),
                      ToInt(rects[i].bottom - top));
    }
    return edit.Commit();
}

} // namespace LayoutCommands
