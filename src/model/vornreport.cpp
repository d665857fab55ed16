#include "vornreport.h"

#include "namekey.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>

#include <unordered_set>

CVornReport::~CVornReport()
{
    m_bands.RemoveAllAndDelete();
    m_parameters.RemoveAllAndDelete();
}

void CVornReport::Reset()
{
    m_primary = nullptr;
    m_bands.RemoveAllAndDelete();
    m_parameters.RemoveAllAndDelete();
    // A new report starts without the previous one's title and connection: a connection string
    // may hold a password, and a report made for someone else must not carry it along.
    m_title.clear();
    m_connectString.clear();
    m_width = 21000;
    m_height = 29700;
    m_databaseType = -1;
    m_portrait = 1;
    m_locale.clear();
}

void CVornReport::Swap(CVornReport &other) noexcept
{
    std::swap(m_bands, other.m_bands);
    std::swap(m_parameters, other.m_parameters);
    m_title.swap(other.m_title);
    std::swap(m_width, other.m_width);
    std::swap(m_height, other.m_height);
    std::swap(m_databaseType, other.m_databaseType);
    std::swap(m_portrait, other.m_portrait);
    m_connectString.swap(other.m_connectString);
    m_locale.swap(other.m_locale);
    std::swap(m_primary, other.m_primary);
}

CVornElement *CVornReport::FindByName(const QString &name) const
{
    for (CVornBand *band : m_bands) {
        if (SameName(band->GetName(), name))
            return band;
        for (CVornItem *item : band->GetItems()) {
            if (SameName(item->GetName(), name))
                return item;
        }
    }
    return nullptr;
}

int CVornReport::IndexOfBand(const CVornElement *element) const
{
    if (element == nullptr)
        return -1;
    if (IsBand(element->GetKind()))
        return m_bands.IndexOf(static_cast<const CVornBand *>(element));
    // The band that holds the object itself comes first: items on different
    // bands may share a name, and a namesake on an earlier band must not stand
    // in for it (a rename would then be checked against the wrong band).
    for (int i = 0; i < m_bands.GetCount(); ++i) {
        if (m_bands[i]->GetItems().IndexOf(static_cast<const CVornItem *>(element)) >= 0)
            return i;
    }
    // An object held by no band is found by its name, compared exactly here,
    // unlike every other name comparison.
    for (int i = 0; i < m_bands.GetCount(); ++i) {
        for (const CVornItem *item : m_bands[i]->GetItems()) {
            if (item->GetName() == element->GetName())
                return i;
        }
    }
    return -1;
}

QString CVornReport::MakeUniqueName(int kind) const
{
    // One pass over the names, then a set lookup per candidate.
    QSet<CNameKey> taken;
    for (const CVornBand *band : m_bands) {
        taken.insert({band->GetName()});
        for (const CVornItem *item : band->GetItems())
            taken.insert({item->GetName()});
    }
    const QString kindName = KindName(kind);
    for (int n = 1; n <= 99999; ++n) {
        const QString candidate = kindName + u' ' + QString::number(n);
        if (!taken.contains({candidate}))
            return candidate;
    }
    return QString();
}

bool CVornReport::IsNameUnique(const CVornElement *element, const QString &name) const
{
    const int kind = element->GetKind();
    if (IsBand(kind)) {
        for (const CVornBand *band : m_bands) {
            if (band != element && SameName(band->GetName(), name))
                return false;
        }
        return true;
    }
    if (!IsItemKind(kind))
        return true;
    const int index = IndexOfBand(element);
    if (index < 0)
        return true;
    for (const CVornItem *item : m_bands[index]->GetItems()) {
        if (item != element && SameName(item->GetName(), name))
            return false;
    }
    return true;
}

void CVornReport::DeselectAll()
{
    m_primary = nullptr;
    for (CVornBand *band : m_bands) {
        band->SetSelected(false);
        for (CVornItem *item : band->GetItems())
            item->SetSelected(false);
    }
}

void CVornReport::Select(CVornElement *element, bool add)
{
    if (!add)
        DeselectAll();
    if (!element)
        return;
    element->SetSelected(true);
    m_primary = element;
}

CVornElement *CVornReport::FindFirstSelected() const
{
    CVornElement *first = nullptr;
    const auto look = [&](CVornElement *element) {
        if (!element->IsSelected())
            return false;
        if (!first)
            first = element;
        return element == m_primary;
    };
    for (CVornBand *band : m_bands) {
        if (look(band))
            return band;
        for (CVornItem *item : band->GetItems()) {
            if (look(item))
                return item;
        }
    }
    return first;
}

std::vector<CVornElement *> CVornReport::GetSelection() const
{
    std::vector<CVornElement *> selection;
    CVornElement *primary = FindFirstSelected();
    if (!primary)
        return selection;
    selection.push_back(primary);
    for (CVornBand *band : m_bands) {
        if (band->IsSelected() && band != primary)
            selection.push_back(band);
        for (CVornItem *item : band->GetItems()) {
            if (item->IsSelected() && item != primary)
                selection.push_back(item);
        }
    }
    return selection;
}

void CVornReport::SetSelection(const std::vector<CVornElement *> &selection)
{
    DeselectAll();
    // Only what the report holds: a selection kept by the history may name objects that a
    // later step took out.
    const std::unordered_set<const CVornElement *> wanted(selection.begin(), selection.end());
    const CVornElement *primary = selection.empty() ? nullptr : selection.front();
    const auto take = [&](CVornElement *element) {
        if (!wanted.contains(element))
            return;
        element->SetSelected(true);
        if (element == primary)
            m_primary = element;
    };
    for (CVornBand *band : m_bands) {
        take(band);
        for (CVornItem *item : band->GetItems())
            take(item);
    }
}

std::vector<CVornItem *> CVornReport::GetSelectedItems() const
{
    std::vector<CVornItem *> items;
    for (CVornBand *band : m_bands) {
        for (CVornItem *item : band->GetItems()) {
            if (item->IsSelected())
                items.push_back(item);
        }
    }
    return items;
}

qint64 CVornReport::SumBandHeights(int kind) const
{
    qint64 sum = 0;
    for (const CVornBand *band : m_bands) {
        if (band->GetKind() == kind)
            sum += band->GetEffectiveHeight();
    }
    return sum;
}

qint64 CVornReport::SumAllBandHeights() const
{
    qint64 sum = 0;
    for (const CVornBand *band : m_bands)
        sum += band->GetEffectiveHeight();
    return sum;
}

bool CVornReport::Validate(QString &message) const
{
    bool valid = true;
    VisitValidationFaults([&](const CValidationFault &fault) {
        message = fault.message;
        valid = false;
        return false;
    });
    return valid;
}

bool CVornReport::VisitValidationFaults(const ValidationVisitor &found) const
{
    for (int i = 0; i < m_bands.GetCount(); ++i) {
        const bool walked = m_bands[i]->VisitFaults([&](const CValidationFault &fault) {
            return found({i, fault.item,
                          QCoreApplication::translate("Vantel", "Band #%1 is invalid: ").arg(i)
                                  + fault.message,
                          fault.property});
        });
        if (!walked)
            return false;
    }
    return VisitItemNameFaults(found) && VisitPageHeightFaults(found)
            && VisitGroupReferenceFaults(found) && VisitSharedFooterFaults(found);
}

bool CVornReport::VisitItemNameFaults(const ValidationVisitor &found) const
{
    // Once per name that items of a band share, at the first item bearing it: counting the
    // names first keeps this linear.
    for (int b = 0; b < m_bands.GetCount(); ++b) {
        const CVornBand *band = m_bands[b];
        const auto &items = band->GetItems();
        QHash<CNameKey, int> counts;
        counts.reserve(items.GetCount());
        for (const CVornItem *item : items)
            ++counts[{item->GetName()}];
        for (int k = 0; k < items.GetCount(); ++k) {
            int &count = counts[{items[k]->GetName()}];
            if (count <= 1)
                continue;
            count = 0; // told once
            const QString message
                    = QCoreApplication::translate(
                              "Vantel", "The \"%1\" band have elements with the same name: \"%2\"")
                              .arg(band->GetName(), items[k]->GetName());
            if (!found({b, k, message, CValidationFault::Property::Name}))
                return false;
        }
    }
    return true;
}

bool CVornReport::VisitPageHeightFaults(const ValidationVisitor &found) const
{
    const qint64 headersAndFooters
            = SumBandHeights(VornKind::PageFooter) + SumBandHeights(VornKind::PageHeader);
    const qint64 page = GetPageHeight();
    for (int j = 0; j < m_bands.GetCount(); ++j) {
        const CVornBand *band = m_bands[j];
        if (band->GetKind() == VornKind::PageHeader || band->GetKind() == VornKind::PageFooter)
            continue;
        if (page < band->GetEffectiveHeight() + headersAndFooters
            && !found({j, -1,
                       QCoreApplication::translate("Vantel",
                                                   "Band #%1 will not fit page height if printed "
                                                   "with page header and footer")
                               .arg(j),
                       CValidationFault::Property::Height}))
            return false;
    }
    return true;
}

bool CVornReport::VisitGroupReferenceFaults(const ValidationVisitor &found) const
{
    bool anyReference = false;
    for (const CVornBand *band : m_bands)
        anyReference = anyReference || !band->GetHeader().isEmpty() || !band->GetFooter().isEmpty();
    if (!anyReference)
        return true;

    // The same first match as FindByName, built once for all references.
    QHash<CNameKey, const CVornElement *> byName;
    const auto addFirst = [&byName](const CVornElement *element) {
        const CNameKey key {element->GetName()};
        if (!byName.contains(key))
            byName.insert(key, element);
    };
    for (const CVornBand *band : m_bands) {
        addFirst(band);
        for (const CVornItem *item : band->GetItems())
            addFirst(item);
    }

    for (int b = 0; b < m_bands.GetCount(); ++b) {
        const CVornBand *band = m_bands[b];
        for (const bool header : {true, false}) {
            const QString &reference = header ? band->GetHeader() : band->GetFooter();
            if (reference.isEmpty())
                continue;
            const CVornElement *target = byName.value({reference});
            QString message;
            if (target == nullptr)
                message = QCoreApplication::translate("Vantel",
                                                      "Header or footer band \"%1\" specified for "
                                                      "the \"%2\" report band does not exist")
                                  .arg(reference, band->GetName());
            else if (target->GetKind() != VornKind::ReportContents)
                message = QCoreApplication::translate(
                                  "Vantel",
                                  "Header or footer band \"%1\" specified for the \"%2\" report "
                                  "band is not a band, or a band of a wrong type")
                                  .arg(reference, band->GetName());
            if (!message.isEmpty()
                && !found({b, -1, message,
                           header ? CValidationFault::Property::GroupHeader
                                  : CValidationFault::Property::GroupFooter}))
                return false;
        }
    }
    return true;
}

bool CVornReport::VisitSharedFooterFaults(const ValidationVisitor &found) const
{
    // Once per shared footer, at the first contents band naming it, with the next one.
    QHash<CNameKey, QList<int>> bandsByFooter;
    for (int i = 0; i < m_bands.GetCount(); ++i) {
        const CVornBand *band = m_bands[i];
        if (band->GetKind() == VornKind::ReportContents && !band->GetFooter().isEmpty())
            bandsByFooter[{band->GetFooter()}].append(i);
    }
    for (int o = 0; o < m_bands.GetCount(); ++o) {
        const CVornBand *band = m_bands[o];
        if (band->GetKind() != VornKind::ReportContents || band->GetFooter().isEmpty())
            continue;
        const QList<int> &sharing = bandsByFooter[{band->GetFooter()}];
        if (sharing.size() < 2 || sharing.first() != o)
            continue;
        const CVornBand *other = m_bands[sharing.at(1)];
        const QString message = QCoreApplication::translate("Vantel",
                                                            "The \"%1\" and \"%2\" report bands "
                                                            "have the same \"%3\" band specified "
                                                            "as a group footer")
                                        .arg(band->GetName(), other->GetName(), band->GetFooter());
        if (!found({o, -1, message, CValidationFault::Property::GroupFooter}))
            return false;
    }
    return true;
}
