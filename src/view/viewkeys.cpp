#include "viewinteraction.h"

#include "interactionrules.h"
#include "reportedit.h"
#include "vorndocument.h"
#include "vornitems.h"
#include "vornreport.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

using namespace InteractionRules;

namespace {

using ModelRect = CViewInteraction::ModelRect;

// An item's rectangle moved by a key step, or nothing when that takes it out of its band or
// off the page.
std::optional<ModelRect> KeyMoved(const CVornItem &item, int dx, int dy, qint64 bandHeight,
                                  qint64 pageWidth)
{
    const ModelRect moved = CViewInteraction::RectOf(item).Offset(dx, dy);
    if (moved.top >= 0 && moved.bottom <= bandHeight && moved.left >= 0 && moved.right <= pageWidth)
        return moved;
    return std::nullopt;
}

// An item's rectangle with its right and bottom edges moved by a key step; an item taller than
// its band ends at the band's bottom. Nothing when the edges would meet or cross, or the item
// would leave its band or the page.
std::optional<ModelRect> KeyResized(const CVornItem &item, int dx, int dy, qint64 bandHeight,
                                    qint64 pageWidth)
{
    ModelRect r = CViewInteraction::RectOf(item);
    r.right += dx;
    r.bottom += dy;
    if (r.bottom - r.top > bandHeight)
        r.bottom = bandHeight;
    if (r.bottom - r.top <= 0 || r.right - r.left <= 0 || r.bottom > bandHeight
        || r.right > pageWidth)
        return std::nullopt;
    return r;
}

} // namespace

// The keyboard's part of the interaction: key steps that move or resize, and deletion.

int CViewInteraction::KeyStepX() const
{
    return int(double(2540 / m_geometry.DpiX()) / m_geometry.GetZoom());
}

int CViewInteraction::KeyStepY() const
{
    return int(double(2540 / m_geometry.DpiY()) / m_geometry.GetZoom());
}

int CViewInteraction::GridKeyStepX() const
{
    return m_geometry.PixelsToModelX(GridStep, m_geometry.GetZoom());
}

int CViewInteraction::GridKeyStepY() const
{
    return m_geometry.PixelsToModelY(GridStep, m_geometry.GetZoom());
}

PixRect CViewInteraction::BandRepaintArea(int bandIndex) const
{
    PixRect area = m_geometry.GetBandRect(bandIndex);
    area = {area.left - RepaintMargin, area.top - RepaintMargin, area.right + RepaintMargin,
            area.bottom + RepaintMarginBelow};
    return ToClient(area);
}

CViewInteraction::Result CViewInteraction::MoveByKeys(CVornElement *element, int dx, int dy)
{
    Result result;
    auto *item = dynamic_cast<CVornItem *>(element);
    const int bandIndex = BandIndexOf(item);
    if (!item || bandIndex < 0)
        return result;
    const CVornBand *band = Report().GetBands()[bandIndex];
    const std::optional<ModelRect> moved
            = KeyMoved(*item, dx, dy, band->GetEffectiveHeight(), Report().GetPageWidth());
    if (moved) {
        CReportEdit edit(m_document, T("Move"));
        // Presses of one key on one object add up to one undo step.
        edit.SetMergeTag(QStringLiteral("move %1 %2").arg(dx).arg(dy));
        edit.WillChange(item);
        item->SetRect(ToInt(moved->left), ToInt(moved->top), ToInt(moved->right),
                      ToInt(moved->bottom));
        edit.Commit();
        MarkModified(result);
        result.repaintAreas.push_back(BandRepaintArea(bandIndex));
    }
    result.showProperties = true;
    result.propertiesObject = item;
    return result;
}

CViewInteraction::Result CViewInteraction::ResizeByKeys(CVornElement *element, int dx, int dy)
{
    Result result;
    const int bandIndex = BandIndexOf(element);
    if (bandIndex < 0)
        return result;
    CVornReport &report = Report();
    CVornBand *band = report.GetBands()[bandIndex];
    const qint64 bandHeight = band->GetEffectiveHeight();

    if (element == band) {
        const qint64 height = bandHeight + dy;
        const qint64 others = report.SumAllBandHeights() - bandHeight;
        if (height <= 0 || height + others > report.GetPageHeight())
            return result;
        CReportEdit edit(m_document, T("Resize"));
        edit.SetMergeTag(QStringLiteral("resize %1 %2").arg(dx).arg(dy));
        edit.WillChange(band);
        band->SetHeight(ToInt(height));
        edit.Commit();
        MarkModified(result);
        result.repaintAll = true;
        result.showProperties = true;
        result.propertiesObject = band;
        return result;
    }

    auto *item = dynamic_cast<CVornItem *>(element);
    if (!item)
        return result;
    const std::optional<ModelRect> resized
            = KeyResized(*item, dx, dy, bandHeight, report.GetPageWidth());
    if (resized) {
        CReportEdit edit(m_document, T("Resize"));
        edit.SetMergeTag(QStringLiteral("resize %1 %2").arg(dx).arg(dy));
        edit.WillChange(item);
        item->SetRight(ToInt(resized->right));
        item->SetBottom(ToInt(resized->bottom));
        edit.Commit();
        MarkModified(result);
        result.repaintAreas.push_back(ToClient(m_geometry.GetBandRect(bandIndex)));
    }
    result.showProperties = true;
    result.propertiesObject = item;
    return result;
}

CViewInteraction::Result CViewInteraction::MoveItemsByKeys(const std::vector<CVornItem *> &items,
                                                           int dx, int dy)
{
    return StepItemsByKeys(items, dx, dy, false);
}

CViewInteraction::Result CViewInteraction::ResizeItemsByKeys(const std::vector<CVornItem *> &items,
                                                             int dx, int dy)
{
    return StepItemsByKeys(items, dx, dy, true);
}

CViewInteraction::Result CViewInteraction::StepItemsByKeys(const std::vector<CVornItem *> &items,
                                                           int dx, int dy, bool resize)
{
    Result result;
    result.showProperties = true;
    result.propertiesObject = Report().FindFirstSelected();
    // The items go together or not at all, so that they keep their places to each other.
    std::vector<std::pair<CVornItem *, ModelRect>> changes;
    const auto &bands = Report().GetBands();
    const qint64 pageWidth = Report().GetPageWidth();
    for (CVornItem *item : items) {
        const int bandIndex = BandIndexOf(item);
        if (bandIndex < 0)
            return result;
        const qint64 height = bands[bandIndex]->GetEffectiveHeight();
        const std::optional<ModelRect> r = resize ? KeyResized(*item, dx, dy, height, pageWidth)
                                                  : KeyMoved(*item, dx, dy, height, pageWidth);
        if (!r)
            return result;
        changes.emplace_back(item, *r);
    }
    if (changes.empty())
        return result;
    CReportEdit edit(m_document, resize ? T("Resize") : T("Move"));
    edit.SetMergeTag(QStringLiteral("%1 %2 %3").arg(resize ? u"resize" : u"move").arg(dx).arg(dy));
    for (const auto &[item, r] : changes) {
        edit.WillChange(item);
        item->SetRect(ToInt(r.left), ToInt(r.top), ToInt(r.right), ToInt(r.bottom));
    }
    edit.Commit();
    MarkModified(result);
    result.repaintAll = true;
    return result;
}

CVornElement *
CViewInteraction::NextSelectionAfterDelete(const CVornElement *element,
                                           const std::vector<CVornItem *> &leaving) const
{
    const int bandIndex = BandIndexOf(element);
    if (bandIndex < 0)
        return nullptr;
    const auto &bands = Report().GetBands();
    CVornBand *band = bands[bandIndex];
    if (element == band) {
        if (bandIndex + 1 < bands.GetCount())
            return bands[bandIndex + 1];
        return bandIndex > 0 ? bands[bandIndex - 1] : nullptr;
    }
    const auto &items = band->GetItems();
    const int index = items.IndexOf(static_cast<const CVornItem *>(element));
    const std::unordered_set<const CVornItem *> gone(leaving.begin(), leaving.end());
    const auto stays = [&gone](const CVornItem *item) {
        return !gone.contains(item);
    };
    for (int i = index + 1; i < items.GetCount(); ++i) {
        if (stays(items[i]))
            return items[i];
    }
    for (int i = index - 1; i >= 0; --i) {
        if (stays(items[i]))
            return items[i];
    }
    return band;
}

CViewInteraction::Result CViewInteraction::DeleteSelected(CVornElement *element,
                                                          const QString &text)
{
    const int bandIndex = BandIndexOf(element);
    if (bandIndex < 0)
        return {};
    CVornElement *next = NextSelectionAfterDelete(element);
    PixRect bandArea;
    if (element != Report().GetBands()[bandIndex])
        bandArea = ToClient(m_geometry.GetBandRect(bandIndex));
    // The object goes into the history, which keeps it for an undo; the Properties pane may
    // still point at it until it is asked for the next selection.
    CReportEdit edit(m_document, text.isEmpty() ? T("Delete") : text);
    edit.Delete(element);
    // A drag in progress must not reach the removed object.
    m_state.m_dragItem = nullptr;

    Result result = SelectItem(next);
    edit.Commit();
    if (!bandArea.IsEmpty())
        result.repaintAreas.push_back(bandArea);
    MarkModified(result);
    return result;
}

CViewInteraction::Result CViewInteraction::DeleteItems(const std::vector<CVornItem *> &items,
                                                       const QString &text)
{
    if (items.empty())
        return {};
    if (items.size() == 1)
        return DeleteSelected(items.front(), text);
    // The neighbour of the primary item, passing over the others that go with it.
    CVornElement *primary = Report().FindFirstSelected();
    const auto isLeaving = std::find(items.begin(), items.end(), primary) != items.end();
    CVornElement *next = NextSelectionAfterDelete(isLeaving ? primary : items.front(), items);
    CReportEdit edit(m_document, text.isEmpty() ? T("Delete") : text);
    for (CVornItem *item : items)
        edit.Delete(item);
    m_state.m_dragItem = nullptr;
    Result result = SelectItem(next);
    edit.Commit();
    MarkModified(result);
    return result;
}
