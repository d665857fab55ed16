#include "vornband.h"

#include "namekey.h"
#include "queryentries.h"
#include "vorndbtext.h"

#include <QCoreApplication>
#include <QSet>

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
    if (!CVornElement::Validate(message))
        return false;

    switch (GetKind()) {
    case VornKind::ReportHeader:
    case VornKind::ReportFooter:
    case VornKind::PageHeader:
    case VornKind::PageFooter:
    case VornKind::PageBreak:
        // Only Report Contents bands may have group bands.
        if (!m_header.isEmpty()) {
            message = QCoreApplication::translate(
                              "Vantel", "Error: the %1 header band specified for the %2 report band")
                              .arg(m_header, GetName());
            return false;
        }
        if (!m_footer.isEmpty()) {
            message = QCoreApplication::translate(
                              "Vantel", "Error: the %1 footer band specified for the %2 report band")
                              .arg(m_footer, GetName());
            return false;
        }
        break;
    case VornKind::ReportContents:
        break;
    default:
        message = QCoreApplication::translate("Vantel", "Wrong band type: %1").arg(GetKind());
        return false;
    }

    for (int j = 0; j < m_items.GetCount(); ++j) {
        QString itemMessage;
        if (!m_items[j]->Validate(itemMessage)) {
            message = QCoreApplication::translate("Vantel", "Item #%1 is invalid: ").arg(j)
                      + itemMessage;
            return false;
        }
    }

    CQueryEntries entries;
    if (!CollectQueryEntries(entries, message))
        return false;
    if (entries.IsEmpty())
        return true;

    QSet<CNameKey> itemNames;
    itemNames.reserve(m_items.GetCount());
    for (const CVornItem *item : m_items)
        itemNames.insert({item->GetName()});
    for (const QString &entry : entries.GetNames()) {
        if (itemNames.contains({entry})) {
            message = QCoreApplication::translate("Vantel",
                                                  "The %1 SQL query entry in the %2 report band has "
                                                  "the same name with one of the band's elements")
                              .arg(entry, GetName());
            return false;
        }
    }
    return true;
}
