#include "reportclipboard.h"

#include "bandstate.h"
#include "namekey.h"
#include "reportedit.h"
#include "reportfile.h"
#include "viewinteraction.h"
#include "vornreport.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryFile>

#include <algorithm>

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

bool HasBandNamed(const CVornReport &report, const QString &name)
{
    for (const CVornBand *band : report.GetBands()) {
        if (SameName(band->GetName(), name))
            return true;
    }
    return false;
}

} // namespace

namespace ReportClipboard {

QString MimeType()
{
    return QStringLiteral("application/x-vantel-fragment");
}

QByteArray WriteFragment(const CVornReport &report, const CVornElement &element)
{
    CVornReport fragment;
    fragment.SetWidth(report.GetWidth());
    fragment.SetHeight(report.GetHeight());
    fragment.SetPortrait(report.GetPortrait());
    std::unique_ptr<CVornBand> band;
    if (const auto *source = dynamic_cast<const CVornBand *>(&element)) {
        fragment.SetTitle(BandTitle());
        band = CopyBandFields(*source);
        for (const CVornItem *item : source->GetItems())
            band->GetItems().Add(item->Clone().release());
    } else if (const auto *item = dynamic_cast<const CVornItem *>(&element)) {
        fragment.SetTitle(ItemTitle());
        const int index = report.IndexOfBand(item);
        if (index < 0)
            return QByteArray();
        band = CopyBandFields(*report.GetBands()[index]);
        band->GetItems().Add(item->Clone().release());
    } else {
        return QByteArray();
    }
    // The bytes of a template file, so that the reader takes them as it takes a file.
    band->SetSelected(false);
    for (CVornItem *item : band->GetItems())
        item->SetSelected(false);
    fragment.GetBands().Add(band.release());
    QStringEncoder encoder(QStringEncoder::Utf16LE);
    return encoder.encode(VornTemplate::WriteReportXml(fragment));
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
    const bool isItem = report.GetTitle() == ItemTitle();
    if ((!isItem && report.GetTitle() != BandTitle()) || report.GetBands().GetCount() != 1
        || (isItem && report.GetBands()[0]->GetItems().GetCount() != 1)) {
        message = notFragment;
        return false;
    }
    CVornBand *band = report.GetBands()[0];
    const QString header = band->GetHeader();
    const QString footer = band->GetFooter();
    band->SetHeader(QString());
    band->SetFooter(QString());
    if (!report.Validate(message))
        return false;
    band->SetHeader(header);
    band->SetFooter(footer);
    fragment.band.reset(report.GetBands().RemoveAt(0));
    fragment.isItem = isItem;
    return true;
}

CVornElement *Paste(CReportEdit &edit, CFragment &fragment, CVornElement *selected, int dx, int dy,
                    QString &message)
{
    CVornReport &report = edit.Report();
    if (!fragment.band)
        return nullptr;
    if (fragment.isItem) {
        const int bandIndex = selected ? report.IndexOfBand(selected) : -1;
        if (bandIndex < 0) {
            message = T("Select a band or an item to paste the item into");
            return nullptr;
        }
        CVornBand *band = report.GetBands()[bandIndex];
        std::unique_ptr<CVornItem> item(fragment.band->GetItems().RemoveAt(0));
        const qint64 width = std::max(0, item->GetRight() - item->GetLeft());
        const qint64 height = std::max(0, item->GetBottom() - item->GetTop());
        const qint64 left = qint64(item->GetLeft()) + dx;
        const qint64 top = qint64(item->GetTop()) + dy;
        const qint64 pageWidth = report.GetPageWidth();
        const qint64 bandHeight = band->GetEffectiveHeight();
        if (left >= 0 && top >= 0 && left + width <= pageWidth && top + height <= bandHeight) {
            item->SetRect(int(left), int(top), int(left + width), int(top + height));
        } else {
            item->SetRect(0, 0, int(std::clamp<qint64>(width, 0, std::max<qint64>(0, pageWidth))),
                          int(std::clamp<qint64>(height, 0, std::max<qint64>(0, bandHeight))));
        }
        if (HasItemNamed(*band, item->GetName()))
            item->SetName(report.MakeUniqueName(item->GetKind()));
        report.DeselectAll();
        item->SetSelected(true);
        return edit.InsertItem(band, band->GetItems().GetCount(), std::move(item));
    }

    std::unique_ptr<CVornBand> band = std::move(fragment.band);
    if (HasBandNamed(report, band->GetName()))
        band->SetName(report.MakeUniqueName(band->GetKind()));
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
