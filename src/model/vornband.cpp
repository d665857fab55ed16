#include "vornband.h"

#include "namekey.h"
#include "queryentries.h"
#include "vorndbtext.h"

#include <QCoreApplication>
#include <QHash>

#include <algorithm>

CColumnPlaces ColumnPlacesOf(const CBandPaging &paging, int pageWidth)
{
    CColumnPlaces places;
    places.width = std::max(pageWidth, 0);
    places.pitch = places.width;
    const qint64 count = std::clamp(paging.columns, 1, 100);
    if (count == 1)
        return places;
    const qint64 gap = std::max(paging.columnGap, 0);
    const qint64 left = paging.columnWidth > 0 ? std::clamp(paging.columnLeft, 0, places.width) : 0;
    const qint64 width = paging.columnWidth > 0 ? paging.columnWidth
                                                : (places.width - (count - 1) * gap) / count;
    // Every column starts on the page.
    if (width < 1 || left + (count - 1) * (width + gap) >= places.width)
        return places;
    places = {int(count), int(left), int(width), int(width + gap)};
    return places;
}

CVornBand::CVornBand(int kind, const QString &name)
{
    SetKind(kind);
    SetName(name);
}

CVornBand::~CVornBand()
{
    m_items.RemoveAllAndDelete();
}

void CVornBand::Reset()
{
    m_height = 0;
    m_header.clear();
    m_footer.clear();
    m_printOnFirstPage = 1;
    m_printWhen.clear();
    m_paging = CBandPaging();
    m_items.RemoveAllAndDelete();
}

QString CVornBand::BandKindName() const
{
    if (!IsBand(GetKind()))
        return QCoreApplication::translate("Vantel", "Unknown");
    return KindName(GetKind());
}

int CVornBand::GetEffectiveHeight() const
{
    return GetKind() == VornKind::PageBreak ? 0 : m_height;
}

bool CVornBand::CollectQueryEntries(CQueryEntries &entries, QString &message) const
{
    if (!ScanQueryEntries(m_databaseQuery, entries, message))
        return false;
    for (const CVornItem *item : m_items) {
        if (item->GetKind() != VornKind::DbText)
            continue;
        const auto *dbText = static_cast<const CVornDbText *>(item);
        if (!ScanQueryEntries(dbText->GetQuery(), entries, message))
            return false;
    }
    return true;
}

bool CVornBand::Validate(QString &message) const
{
    bool valid = true;
    VisitFaults([&](const CValidationFault &fault) {
        message = fault.message;
        valid = false;
        return false;
    });
    return valid;
}

bool CVornBand::VisitFaults(const ValidationVisitor &found) const
{
    using Property = CValidationFault::Property;
    const auto tell = [&found](int item, const QString &message, Property property) {
        return found({-1, item, message, property});
    };
    QString message;
    if (!CVornElement::Validate(message)
        && !tell(-1, message, GetKind() == VornKind::None ? Property::None : Property::Name))
        return false;

    switch (GetKind()) {
    case VornKind::ReportHeader:
    case VornKind::ReportFooter:
    case VornKind::PageHeader:
    case VornKind::PageFooter:
    case VornKind::PageBreak:
        // Only Report Contents bands may have group bands.
        if (!m_header.isEmpty()
            && !tell(-1,
                     QCoreApplication::translate(
                             "Vantel", "Error: the %1 header band specified for the %2 report band")
                             .arg(m_header, GetName()),
                     Property::GroupHeader))
            return false;
        if (!m_footer.isEmpty()
            && !tell(-1,
                     QCoreApplication::translate(
                             "Vantel", "Error: the %1 footer band specified for the %2 report band")
                             .arg(m_footer, GetName()),
                     Property::GroupFooter))
            return false;
        break;
    case VornKind::ReportContents:
    case VornKind::None: // told above
        break;
    default:
        if (!tell(-1, QCoreApplication::translate("Vantel", "Wrong band type: %1").arg(GetKind()),
                  Property::None))
            return false;
    }

    for (int j = 0; j < m_items.GetCount(); ++j) {
        QString itemMessage;
        if (!m_items[j]->Validate(itemMessage)
            && !tell(j,
                     QCoreApplication::translate("Vantel", "Item #%1 is invalid: ").arg(j)
                             + itemMessage,
                     m_items[j]->GetKind() == VornKind::None ? Property::None : Property::Name))
            return false;
    }

    CQueryEntries entries;
    if (!CollectQueryEntries(entries, message))
        return tell(-1, message, Property::Query);
    if (entries.IsEmpty())
        return true;

    // The first item of each name, for the entry that takes it.
    QHash<CNameKey, int> itemNames;
    itemNames.reserve(m_items.GetCount());
    for (int j = m_items.GetCount() - 1; j >= 0; --j)
        itemNames.insert({m_items[j]->GetName()}, j);
    for (const QString &entry : entries.GetNames()) {
        const auto item = itemNames.constFind({entry});
        if (item != itemNames.cend()
            && !tell(*item,
                     QCoreApplication::translate("Vantel",
                                                 "The %1 SQL query entry in the %2 report band "
                                                 "has the same name with one of the band's "
                                                 "elements")
                             .arg(entry, GetName()),
                     Property::Name))
            return false;
    }
    return true;
}
