#include "viewinteraction.h"

#include "interactionrules.h"
#include "itemkinds.h"
#include "reportedit.h"
#include "vorndocument.h"
#include "vornitems.h"
#include "vornreport.h"

#include <algorithm>

using namespace InteractionRules;

// Hit testing and selection.

CVornElement *CViewInteraction::HitTest(QPoint pt, bool selectedOnly) const
{
    const auto &bands = Report().GetBands();
    const int count = std::min(bands.GetCount(), m_geometry.GetBandCount());
    int hitBand = -1;
    PixRect bandRect;
    for (int i = 0; i < count; ++i) {
        bandRect = m_geometry.GetBandRect(i);
        if (bandRect.Contains(pt.x(), pt.y())) {
            hitBand = i;
            break;
        }
    }
    if (hitBand < 0)
        return nullptr;
    CVornBand *band = bands[hitBand];
    if (selectedOnly && band->IsSelected())
        return band;

    // Items drawn under the others first, then the others, as they are drawn: a later hit lies
    // on top.
    CVornElement *hit = nullptr;
    for (const bool under : {true, false}) {
        for (CVornItem *item : band->GetItems()) {
            if (IsDrawnUnderOthers(item->GetKind()) != under)
                continue;
            if (!m_geometry.GetItemPixelRect(*item, bandRect).Contains(pt.x(), pt.y()))
                continue;
            if (selectedOnly) {
                if (item->IsSelected())
                    return item;
                continue;
            }
            hit = item;
        }
    }
    if (selectedOnly)
        return nullptr;
    return hit ? hit : band;
}

CViewInteraction::Result CViewInteraction::SelectAt(QPoint pt)
{
    return SelectItem(HitTest(pt, false));
}

CViewInteraction::Result CViewInteraction::SelectItem(CVornElement *element)
{
    Report().Select(element);
    Result result;
    result.showProperties = true;
    result.propertiesObject = element;
    result.repaintAll = true;
    return result;
}

CViewInteraction::Result CViewInteraction::AddToSelection(CVornElement *element, bool toggle)
{
    // Bands are selected alone.
    if (!element || element->IsBandElement())
        return SelectItem(element);
    CVornReport &report = Report();
    if (CVornElement *primary = report.FindFirstSelected(); primary && primary->IsBandElement())
        report.DeselectAll();
    if (toggle && element->IsSelected()) {
        element->SetSelected(false);
    } else {
        report.Select(element, true);
    }
    Result result;
    result.showProperties = true;
    result.propertiesObject = report.FindFirstSelected();
    result.repaintAll = true;
    return result;
}

CViewInteraction::Result CViewInteraction::SelectAll()
{
    CVornReport &report = Report();
    CVornElement *primary = report.FindFirstSelected();
    const int bandIndex = primary && !primary->IsBandElement() ? BandIndexOf(primary) : -1;
    std::vector<CVornElement *> selection;
    // The primary item stays the primary one.
    if (bandIndex >= 0)
        selection.push_back(primary);
    const auto &bands = report.GetBands();
    for (int i = 0; i < bands.GetCount(); ++i) {
        // A Page Break band shows none of its items.
        if ((bandIndex >= 0 && i != bandIndex) || bands[i]->GetKind() == VornKind::PageBreak)
            continue;
        for (CVornItem *item : bands[i]->GetItems()) {
            if (item != primary)
                selection.push_back(item);
        }
    }
    report.SetSelection(selection);
    Result result;
    result.showProperties = true;
    result.propertiesObject = report.FindFirstSelected();
    result.repaintAll = true;
    return result;
}

std::vector<CVornItem *> CViewInteraction::ItemsInRect(QPoint from, QPoint to) const
{
    // Both corners belong to the rectangle: a rectangle one pixel wide still touches.
    const PixRect area {std::min(from.x(), to.x()), std::min(from.y(), to.y()),
                        std::max(from.x(), to.x()) + 1, std::max(from.y(), to.y()) + 1};
    std::vector<CVornItem *> touched;
    const auto &bands = Report().GetBands();
    const int count = std::min(bands.GetCount(), m_geometry.GetBandCount());
    for (int i = 0; i < count; ++i) {
        const PixRect bandRect = m_geometry.GetBandRect(i);
        // Only what can be seen: the part of an item on its band.
        for (CVornItem *item : bands[i]->GetItems()) {
            if (!m_geometry.GetClippedItemRect(*item, bandRect).Intersect(area).IsEmpty())
                touched.push_back(item);
        }
    }
    return touched;
}

CViewInteraction::Result CViewInteraction::SelectInRect(QPoint from, QPoint to, bool add)
{
    CVornReport &report = Report();
    const std::vector<CVornItem *> touched = ItemsInRect(from, to);
    std::vector<CVornElement *> selection;
    if (add) {
        for (CVornElement *element : report.GetSelection()) {
            if (!element->IsBandElement())
                selection.push_back(element);
        }
    }
    for (CVornItem *item : touched) {
        if (!item->IsSelected() || !add)
            selection.push_back(item);
    }
    Result result;
    // A rectangle that touches nothing leaves what the press selected.
    if (touched.empty())
        return result;
    report.SetSelection(selection);
    result.showProperties = true;
    result.propertiesObject = report.FindFirstSelected();
    result.repaintAll = true;
    return result;
}
