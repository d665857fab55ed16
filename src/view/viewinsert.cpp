#include "viewinteraction.h"

#include "interactionrules.h"
#include "itemkinds.h"
#include "reportedit.h"
#include "vorndocument.h"
#include "vornitems.h"
#include "vornreport.h"

#include <cmath>

using namespace InteractionRules;

namespace {

bool IsInsertableBandKind(int kind)
{
    return kind >= VornKind::ReportContents && kind <= VornKind::PageBreak;
}

} // namespace

// Inserting new bands and items.

CViewInteraction::Result CViewInteraction::InsertAt(QPoint pt, int kind)
{
    Result result;
    const bool bandKind = IsInsertableBandKind(kind);
    if (!bandKind && !IsItemKind(kind))
        return result;
    double zoom = 1.0;
    const PixRect page = m_geometry.GetPageRect(&zoom);
    // Bands that run past the page take insertions where they are drawn.
    if (!m_geometry.GetBandArea().Contains(pt.x(), pt.y()))
        return result;

    const int host = BandIndexOf(HitTest(pt, false));
    ModelRect rect;
    if (host >= 0) {
        // The default size is that many pixels at full size, whatever the zoom.
        const int width = int(std::lround(NewItemWidth * zoom));
        const CItemKind *look = FindItemKind(kind);
        const int height = int(std::lround((look ? look->look.newHeight : NewItemHeight) * zoom));
        PixRect r {pt.x(), pt.y(), pt.x() + width, pt.y() + height};
        if (IsGridOn())
            r = {RoundToGrid(r.left), RoundToGrid(r.top), RoundToGrid(r.right),
                 RoundToGrid(r.bottom)};
        // Cut to the band. Clamping each edge equals the intersection whenever the two meet,
        // and keeps the item on the band when rounding took it just past a very thin one.
        const PixRect b = m_geometry.GetBandRect(host);
        r = {std::clamp(r.left, b.left, b.right), std::clamp(r.top, b.top, b.bottom),
             std::clamp(r.right, b.left, b.right), std::clamp(r.bottom, b.top, b.bottom)};
        rect = {m_geometry.PixelsToModelX(r.left - page.left, zoom),
                m_geometry.PixelsToModelY(r.top - b.top, zoom),
                m_geometry.PixelsToModelX(r.right - page.left, zoom),
                m_geometry.PixelsToModelY(r.bottom - b.top, zoom)};
    }

    CVornReport &report = Report();
    // Made before the selection changes, so that an undo selects what was selected.
    CReportEdit edit(m_document, T("Insert"));
    report.DeselectAll();
    if (bandKind)
        // A Page Break goes right after the band clicked.
        return AddBand(edit, kind,
                       kind != VornKind::PageBreak ? BandInsertIndex(kind)
                               : host >= 0         ? host + 1
                                                   : -1);
    // No band under the point: nothing is inserted, but the cleared selection is shown.
    result.repaintAll = true;
    if (host < 0)
        return result;

    CVornBand *band = report.GetBands()[host];
    std::unique_ptr<CVornItem> item = CreateItem(kind);
    item->SetRect(ToInt(rect.left), ToInt(rect.top), ToInt(rect.right), ToInt(rect.bottom));
    item->SetName(report.MakeUniqueName(kind));
    item->SetSelected(true);
    if (kind == VornKind::Text) {
        static_cast<CVornText *>(item.get())
                ->SetText(QCoreApplication::translate("Vantel", "Some text here"));
    } else if (kind == VornKind::DbText) {
        static_cast<CVornDbText *>(item.get())->SetDataSource(band->GetName());
    }
    CVornItem *added = edit.InsertItem(band, band->GetItems().GetCount(), std::move(item));
    result.showProperties = true;
    result.propertiesObject = added;
    MarkModified(result);
    return result;
}

int CViewInteraction::BandInsertIndex(int kind) const
{
    return BandInsertIndex(Report(), kind);
}

int CViewInteraction::BandInsertIndex(const CVornReport &report, int kind)
{
    const auto &bands = report.GetBands();
    const int n = bands.GetCount();
    const auto kindAt = [&bands](int i) {
        return bands[i]->GetKind();
    };
    const auto isFooter = [](int k) {
        return k == VornKind::ReportFooter || k == VornKind::PageFooter;
    };
    switch (kind) {
    case VornKind::ReportContents:
        for (int i = 0; i < n; ++i) {
            if (isFooter(kindAt(i)))
                return i;
        }
        return n;
    case VornKind::ReportFooter:
        for (int i = n - 1; i >= 0; --i) {
            if (!isFooter(kindAt(i)))
                return i + 1;
        }
        return n;
    case VornKind::PageHeader: {
        int i = 0;
        while (i < n && kindAt(i) == VornKind::PageHeader)
            ++i;
        return i;
    }
    case VornKind::ReportHeader: {
        // Page headers first, then the report headers, then everything else.
        int i = 0;
        while (i < n && kindAt(i) == VornKind::PageHeader)
            ++i;
        while (i < n && kindAt(i) == VornKind::ReportHeader)
            ++i;
        return i;
    }
    default:
        return n;
    }
}

CViewInteraction::Result CViewInteraction::AddBand(CReportEdit &edit, int kind, int index)
{
    Result result;
    CVornReport &report = Report();
    report.DeselectAll();
    auto band = std::make_unique<CVornBand>(kind, report.MakeUniqueName(kind));
    if (kind != VornKind::PageBreak)
        band->SetHeight(NewBandHeight);
    band->SetSelected(true);
    const int count = report.GetBands().GetCount();
    CVornBand *added = edit.InsertBand(index < 0 || index > count ? count : index, std::move(band));
    result.repaintAll = true;
    result.showProperties = true;
    result.propertiesObject = added;
    MarkModified(result);
    return result;
}

CViewInteraction::Result CViewInteraction::InsertBand(int kind)
{
    if (!IsInsertableBandKind(kind))
        return {};
    if (kind == VornKind::PageBreak)
        return InsertPageBreak();
    // Made before the selection changes, so that an undo selects what was selected.
    CReportEdit edit(m_document, T("Insert"));
    return AddBand(edit, kind, BandInsertIndex(kind));
}

CViewInteraction::Result CViewInteraction::InsertPageBreak()
{
    CVornReport &report = Report();
    const int after = BandIndexOf(report.FindFirstSelected());
    // Made before the selection changes, so that an undo selects what was selected.
    CReportEdit edit(m_document, T("Insert Page Break"));
    return AddBand(edit, VornKind::PageBreak,
                   after >= 0 ? after + 1 : report.GetBands().GetCount());
}
