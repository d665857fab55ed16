#include "reportclipboard.h"

#include "bandstate.h"
#include "namekey.h"
#include "reportedit.h"
#include "reportfile.h"
#include "viewinteraction.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryFile>

#include <algorithm>
#include <climits>
#include <limits>
#include <unordered_set>

namespace {

QString T(const char *text)
{
    return QCoreApplication::translate("Vantel", text);
}

QString BandTitle()
{
    return QStringLiteral("Vantel band");
}

QString ItemTitle()
{
    return QStringLiteral("Vantel item");
}

QString ItemsTitle()
{
    return QStringLiteral("Vantel items");
}

// Larger content is refused before it is written anywhere.
constexpr qsizetype MaxFragmentBytes = qsizetype(256) * 1024 * 1024;

std::unique_ptr<CVornBand> CopyBandFields(const CVornBand &band)
{
    auto copy = std::make_unique<CVornBand>(band.GetKind());
    CBandState::Of(band).ApplyTo(*copy);
    return copy;
}

bool HasItemNamed(const CVornBand &band, const QString &name)
{
    for (const CVornItem *item : band.GetItems()) {
        if (SameName(item->GetName(), name))
            return true;
    }
    return false;
}

CVornBand *BandNamed(const CVornReport &report, const QString &name)
{
    for (CVornBand *band : report.GetBands()) {
        if (SameName(band->GetName(), name))
            return band;
    }
    return nullptr;
}

bool HasBandNamed(const CVornReport &report, const QString &name)
{
    return BandNamed(report, name) != nullptr;
}

// The bytes of a template file, so that the reader takes them as it takes a file.
QByteArray FragmentBytes(CVornReport &fragment)
{
    for (CVornBand *band : fragment.GetBands()) {
        band->SetSelected(false);
        for (CVornItem *item : band->GetItems())
            item->SetSelected(false);
    }
    QStringEncoder encoder(QStringEncoder::Utf16LE);
    return encoder.encode(VornTemplate::WriteReportXml(fragment));
}

void CopyPage(const CVornReport &from, CVornReport &to)
{
    to.SetWidth(from.GetWidth());
    to.SetHeight(from.GetHeight());
    to.SetPortrait(from.GetPortrait());
}

// A band pasted under a new name: what the fragment itself said of the old name now says the
// new one, as a rename would have it.
void FollowNewName(CVornBand &band, const QString &oldName)
{
    const QString name = band.GetName();
    if (SameName(band.GetHeader(), oldName))
        band.SetHeader(name);
    if (SameName(band.GetFooter(), oldName))
        band.SetFooter(name);
    if (SameName(band.GetParentDataSource(), oldName))
        band.SetParentDataSource(name);
    for (CVornItem *item : band.GetItems()) {
        if (auto *text = dynamic_cast<CVornDbText *>(item);
            text && SameName(text->GetDataSource(), oldName))
            text->SetDataSource(name);
        else if (auto *image = dynamic_cast<CVornDbImage *>(item);
                 image && SameName(image->GetDataSource(), oldName))
            image->SetDataSource(name);
        else if (auto *barcode = dynamic_cast<CVornDbBarcode *>(item);
                 barcode && SameName(barcode->GetDataSource(), oldName))
            barcode->SetDataSource(name);
        else if (auto *chart = dynamic_cast<CVornChart *>(item);
                 chart && SameName(chart->GetDataSource(), oldName))
            chart->SetDataSource(name);
    }
}

using Box = CViewInteraction::ModelRect;

// Items that go into one band together: moved by (dx, dy) when all of them then fit in the band,
// else with their common top-left corner at the band's, each cut to the band.
void PlaceGroup(std::vector<CVornItem *> &items, qint64 pageWidth, qint64 bandHeight, int dx,
                int dy)
{
    if (items.empty())
        return;
    Box all {std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::max(),
             std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::min()};
    for (const CVornItem *item : items) {
        all.left = std::min<qint64>(all.left, item->GetLeft());
        all.top = std::min<qint64>(all.top, item->GetTop());
        // A rectangle stored the wrong way round counts as empty.
        all.right = std::max<qint64>(all.right, std::max(item->GetLeft(), item->GetRight()));
        all.bottom = std::max<qint64>(all.bottom, std::max(item->GetTop(), item->GetBottom()));
    }
    const bool fits = all.left + dx >= 0 && all.top + dy >= 0 && all.right + dx <= pageWidth
            && all.bottom + dy <= bandHeight;
    const qint64 shiftX = fits ? dx : -all.left;
    const qint64 shiftY = fits ? dy : -all.top;
    const auto cut = [](qint64 v, qint64 high) {
        return int(std::clamp<qint64>(v, 0, std::max<qint64>(0, high)));
    };
    for (CVornItem *item : items) {
        const qint64 width = std::max(0, item->GetRight() - item->GetLeft());
        const qint64 height = std::max(0, item->GetBottom() - item->GetTop());
        const qint64 left = item->GetLeft() + shiftX;
        const qint64 top = item->GetTop() + shiftY;
        item->SetRect(cut(left, pageWidth), cut(top, bandHeight), cut(left + width, pageWidth),
                      cut(top + height, bandHeight));
    }
}

} // namespace

namespace ReportClipboard {

QString MimeType()
{
    return QStringLiteral("application/x-vantel-fragment");
}

QByteArray WriteFragment(const CVornReport &report, const CVornElement &element)
{
    if (const auto *item = dynamic_cast<const CVornItem *>(&element))
        return WriteItemsFragment(report, {const_cast<CVornItem *>(item)});
    const auto *source = dynamic_cast<const CVornBand *>(&element);
    if (!source)
        return QByteArray();
    CVornReport fragment;
    CopyPage(report, fragment);
    fragment.SetTitle(BandTitle());
    std::unique_ptr<CVornBand> band = CopyBandFields(*source);
    for (const CVornItem *item : source->GetItems())
        band->GetItems().Add(item->Clone().release());
    fragment.GetBands().Add(band.release());
    return FragmentBytes(fragment);
}

QByteArray WriteItemsFragment(const CVornReport &report, const std::vector<CVornItem *> &items)
{
    if (items.empty())
        return QByteArray();
    CVornReport fragment;
    CopyPage(report, fragment);
    fragment.SetTitle(items.size() == 1 ? ItemTitle() : ItemsTitle());
    // The bands in report order, each with its copied items in their order.
    const std::unordered_set<const CVornItem *> copied(items.begin(), items.end());
    for (const CVornBand *source : report.GetBands()) {
        std::unique_ptr<CVornBand> band;
        for (const CVornItem *item : source->GetItems()) {
            if (!copied.contains(item))
                continue;
            if (!band)
                band = CopyBandFields(*source);
            band->GetItems().Add(item->Clone().release());
        }
        if (band)
            fragment.GetBands().Add(band.release());
    }
    if (fragment.GetBands().IsEmpty())
        return QByteArray();
    return FragmentBytes(fragment);
}

QByteArray WriteSelection(const CVornReport &report)
{
    const CVornElement *primary = report.FindFirstSelected();
    if (!primary)
        return QByteArray();
    if (primary->IsBandElement())
        return WriteFragment(report, *primary);
    return WriteItemsFragment(report, report.GetSelectedItems());
}

QString FragmentText(const QByteArray &fragment)
{
    QStringDecoder decoder(QStringDecoder::Utf16LE);
    return decoder.decode(fragment);
}

bool ReadFragment(const QByteArray &bytes, CFragment &fragment, QString &message)
{
    const QString notFragment = T("The clipboard does not hold a complete Vantel band or item");
    if (bytes.isEmpty() || bytes.size() > MaxFragmentBytes) {
        message = notFragment;
        return false;
    }
    QTemporaryFile file;
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush()) {
        message = file.errorString();
        return false;
    }
    CVornReport report;
    if (!VornTemplate::Load(report, file.fileName(), message)) {
        // Read in full, the fragment may still fail the report checks only because its
        // group references name bands of the report it came from: then the band is checked
        // again without them.
        QString check;
        if (report.Validate(check) || check != message)
            return false;
    }
    const QString title = report.GetTitle();
    const bool oneItem = title == ItemTitle();
    const bool isItem = oneItem || title == ItemsTitle();
    auto &bands = report.GetBands();
    bool whole = (isItem || title == BandTitle()) && !bands.IsEmpty()
            && (title == ItemsTitle() || bands.GetCount() == 1);
    for (int i = 0; whole && isItem && i < bands.GetCount(); ++i)
        whole = !bands[i]->GetItems().IsEmpty();
    if (whole && oneItem)
        whole = bands[0]->GetItems().GetCount() == 1;
    if (!whole) {
        message = notFragment;
        return false;
    }
    // Group references may name bands of the report the fragment came from.
    std::vector<std::pair<QString, QString>> groups;
    for (CVornBand *band : bands) {
        groups.emplace_back(band->GetHeader(), band->GetFooter());
        band->SetHeader(QString());
        band->SetFooter(QString());
    }
    if (!report.Validate(message))
        return false;
    fragment.bands.clear();
    for (size_t i = 0; i < groups.size(); ++i) {
        std::unique_ptr<CVornBand> band(bands.RemoveAt(0));
        band->SetHeader(groups[i].first);
        band->SetFooter(groups[i].second);
        fragment.bands.push_back(std::move(band));
    }
    fragment.isItem = isItem;
    return true;
}

CVornElement *Paste(CReportEdit &edit, CFragment &fragment, CVornElement *selected, int dx, int dy,
                    QString &message)
{
    CVornReport &report = edit.Report();
    if (fragment.bands.empty())
        return nullptr;
    if (fragment.isItem) {
        const int bandIndex = selected ? report.IndexOfBand(selected) : -1;
        if (bandIndex < 0) {
            message = T("Select a band or an item to paste the item into");
            return nullptr;
        }
        CVornBand *target = report.GetBands()[bandIndex];
        // Each band's items go where they belong: with several bands, to the band of the same
        // name; below one another where several bands go to one.
        struct Entry
        {
            std::unique_ptr<CVornItem> item;
            CVornBand *to;
        };
        std::vector<Entry> entries;
        std::vector<std::pair<CVornBand *, qint64>> below;
        const bool several = fragment.bands.size() > 1;
        for (const auto &source : fragment.bands) {
            CVornBand *to = several ? BandNamed(report, source->GetName()) : nullptr;
            if (!to || to->GetKind() == VornKind::PageBreak)
                to = target;
            auto at = std::find_if(below.begin(), below.end(),
                                   [to](const auto &b) { return b.first == to; });
            if (at == below.end())
                at = below.insert(below.end(), {to, 0});
            auto &items = source->GetItems();
            while (!items.IsEmpty()) {
                std::unique_ptr<CVornItem> item(items.RemoveAt(0));
                const qint64 height = qint64(item->GetBottom()) - item->GetTop();
                const qint64 top = item->GetTop() + at->second;
                item->SetTop(int(std::clamp<qint64>(top, INT_MIN, INT_MAX)));
                item->SetBottom(int(std::clamp<qint64>(top + height, INT_MIN, INT_MAX)));
                entries.push_back({std::move(item), to});
            }
            at->second += source->GetEffectiveHeight();
        }
        if (target->GetKind() == VornKind::PageBreak
            && std::any_of(entries.begin(), entries.end(),
                           [target](const Entry &e) { return e.to == target; })) {
            message = T("A Page Break band takes no items");
            return nullptr;
        }
        for (const auto &[band, height] : below) {
            std::vector<CVornItem *> group;
            for (const Entry &entry : entries) {
                if (entry.to == band)
                    group.push_back(entry.item.get());
            }
            PlaceGroup(group, report.GetPageWidth(), band->GetEffectiveHeight(), dx, dy);
        }

        report.DeselectAll();
        CVornElement *first = nullptr;
        for (Entry &entry : entries) {
            // Checked one by one: two pasted items may share a name as well.
            if (HasItemNamed(*entry.to, entry.item->GetName()))
                entry.item->SetName(report.MakeUniqueName(entry.item->GetKind()));
            entry.item->SetSelected(true);
            CVornItem *added = edit.InsertItem(entry.to, entry.to->GetItems().GetCount(),
                                               std::move(entry.item));
            if (!first)
                first = added;
        }
        report.Select(first, true);
        return first;
    }

    std::unique_ptr<CVornBand> band = std::move(fragment.bands.front());
    fragment.bands.clear();
    if (HasBandNamed(report, band->GetName())) {
        const QString oldName = band->GetName();
        band->SetName(report.MakeUniqueName(band->GetKind()));
        FollowNewName(*band, oldName);
    }
    // Group bands must exist in this report; the band itself counts.
    const auto known = [&](const QString &name) {
        return SameName(name, band->GetName()) || HasBandNamed(report, name);
    };
    if (!band->GetHeader().isEmpty() && !known(band->GetHeader()))
        band->SetHeader(QString());
    if (!band->GetFooter().isEmpty() && !known(band->GetFooter()))
        band->SetFooter(QString());
    report.DeselectAll();
    band->SetSelected(true);
    const int index = CViewInteraction::BandInsertIndex(report, band->GetKind());
    return edit.InsertBand(index, std::move(band));
}

} // namespace ReportClipboard
