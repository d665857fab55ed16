#include "bandcontext.h"

#include "vornreport.h"

#include <algorithm>

namespace {

bool IsPageBand(const CVornBand &band)
{
    return band.GetKind() == VornKind::PageHeader || band.GetKind() == VornKind::PageFooter;
}

class CContext
{
public:
    explicit CContext(const CVornReport &report)
        : m_report(report)
    { }

    void Add(const CVornBand &band, std::vector<const CVornBand *> &chain);

private:
    const CVornBand *GroupHeader(const CVornBand &band) const;
    // The band a group header or footer belongs to, when the band is one.
    const CVornBand *GroupedBy(const CVornBand &band) const;
    const CVornBand *Parent(const CVornBand &band) const;
    bool Push(const CVornBand *band, std::vector<const CVornBand *> &chain) const;

    const CVornReport &m_report;
};

const CVornBand *CContext::GroupHeader(const CVornBand &band) const
{
    if (IsPageBand(band) || band.GetHeader().isEmpty())
        return nullptr;
    const CVornBand *header = FindRunBand(m_report, band.GetHeader());
    return header == &band ? nullptr : header;
}

const CVornBand *CContext::GroupedBy(const CVornBand &band) const
{
    for (const CVornBand *detail : m_report.GetBands()) {
        const CVornBand *header = GroupHeader(*detail);
        if (!header)
            continue;
        if (header == &band)
            return detail;
        const QString &footerName
                = header->GetFooter().isEmpty() ? detail->GetFooter() : header->GetFooter();
        const CVornBand *footer
                = footerName.isEmpty() ? nullptr : FindRunBand(m_report, footerName);
        if (footer == &band && footer != detail && footer != header)
            return detail;
    }
    return nullptr;
}

const CVornBand *CContext::Parent(const CVornBand &band) const
{
    if (band.GetParentDataSource().isEmpty())
        return nullptr;
    const CVornBand *parent = FindRunBand(m_report, band.GetParentDataSource());
    if (!parent || parent == &band || IsPageBand(*parent) || parent == GroupHeader(band))
        return nullptr;
    return parent;
}

bool CContext::Push(const CVornBand *band, std::vector<const CVornBand *> &chain) const
{
    if (!band || std::find(chain.begin(), chain.end(), band) != chain.end())
        return false;
    chain.push_back(band);
    return true;
}

void CContext::Add(const CVornBand &band, std::vector<const CVornBand *> &chain)
{
    if (IsPageBand(band))
        return;
    if (const CVornBand *detail = GroupedBy(band)) {
        // A group band prints inside its detail's group, in the detail's outer context; a
        // footer also sees the row of a header that has a query.
        const CVornBand *header = GroupHeader(*detail);
        if (header != &band && !header->GetDatabaseQuery().trimmed().isEmpty()
            && !Push(header, chain))
            return;
        if (const CVornBand *parent = Parent(*detail); parent && Push(parent, chain))
            Add(*parent, chain);
        return;
    }
    if (const CVornBand *header = GroupHeader(band);
        header && !header->GetDatabaseQuery().trimmed().isEmpty() && !Push(header, chain))
        return;
    if (const CVornBand *parent = Parent(band); parent && Push(parent, chain))
        Add(*parent, chain);
}

} // namespace

const CVornBand *FindRunBand(const CVornReport &report, const QString &name)
{
    for (const CVornBand *band : report.GetBands()) {
        if (SameName(band->GetName(), name))
            return band;
    }
    return nullptr;
}

std::vector<const CVornBand *> EntryContext(const CVornReport &report, const CVornBand &band)
{
    std::vector<const CVornBand *> chain {&band};
    CContext(report).Add(band, chain);
    chain.erase(chain.begin());
    return chain;
}
