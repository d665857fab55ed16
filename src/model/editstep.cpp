#include "editstep.h"

#include "bandstate.h"
#include "itemstate.h"
#include "pagestate.h"
#include "vornreport.h"

#include <algorithm>

namespace {

class CItemChange final : public CEditStep
{
public:
    explicit CItemChange(CVornItem &item)
        : m_item(item)
        , m_before(item.Clone())
    { }

    void Undo(CVornReport &) override { ItemState::Assign(m_item, *m_before); }
    void Redo(CVornReport &) override { ItemState::Assign(m_item, *m_after); }
    CReportChange::Parts Changes() const override { return CReportChange::Items; }
    void CaptureAfter() override { m_after = m_item.Clone(); }
    bool IsNoOp() const override { return ItemState::Same(*m_before, *m_after); }
    qsizetype Bytes() const override
    {
        return ItemState::PictureBytes(*m_before) + ItemState::PictureBytes(*m_after);
    }
    const void *Target() const override { return &m_item; }
    bool TakeAfter(const CEditStep &next) override
    {
        const auto *other = dynamic_cast<const CItemChange *>(&next);
        if (!other || &other->m_item != &m_item)
            return false;
        m_after = other->m_after->Clone();
        return true;
    }

private:
    CVornItem &m_item;
    std::unique_ptr<CVornItem> m_before;
    std::unique_ptr<CVornItem> m_after;
};

class CBandChange final : public CEditStep
{
public:
    explicit CBandChange(CVornBand &band)
        : m_band(band)
        , m_before(CBandState::Of(band))
    { }

    void Undo(CVornReport &) override { m_before.ApplyTo(m_band); }
    void Redo(CVornReport &) override { m_after.ApplyTo(m_band); }
    CReportChange::Parts Changes() const override { return CReportChange::Bands; }
    void CaptureAfter() override { m_after = CBandState::Of(m_band); }
    bool IsNoOp() const override { return m_before == m_after; }
    const void *Target() const override { return &m_band; }
    bool TakeAfter(const CEditStep &next) override
    {
        const auto *other = dynamic_cast<const CBandChange *>(&next);
        if (!other || &other->m_band != &m_band)
            return false;
        m_after = other->m_after;
        return true;
    }

private:
    CVornBand &m_band;
    CBandState m_before;
    CBandState m_after;
};

class CPageChange final : public CEditStep
{
public:
    explicit CPageChange(CVornReport &report)
        : m_report(report)
        , m_before(CPageState::Of(report))
    { }

    void Undo(CVornReport &report) override { m_before.ApplyTo(report); }
    void Redo(CVornReport &report) override { m_after.ApplyTo(report); }
    CReportChange::Parts Changes() const override
    {
        CReportChange::Parts parts = CReportChange::Report;
        if (m_before.width != m_after.width || m_before.height != m_after.height
            || m_before.portrait != m_after.portrait)
            parts |= CReportChange::PageSize;
        return parts;
    }
    void CaptureAfter() override { m_after = CPageState::Of(m_report); }
    bool IsNoOp() const override { return m_before == m_after; }

private:
    CVornReport &m_report;
    CPageState m_before;
    CPageState m_after;
};

bool SameParameters(const CVornParameters &a, const CVornParameters &b)
{
    if (a.GetCount() != b.GetCount())
        return false;
    for (int i = 0; i < a.GetCount(); ++i) {
        if (a[i]->GetBand() != b[i]->GetBand() || a[i]->GetName() != b[i]->GetName()
            || a[i]->GetValue() != b[i]->GetValue())
            return false;
    }
    return true;
}

class CParametersChange final : public CEditStep
{
public:
    explicit CParametersChange(CVornReport &report)
        : m_report(report)
        , m_before(report.GetParameters())
    { }

    void Undo(CVornReport &report) override { report.GetParameters() = m_before; }
    void Redo(CVornReport &report) override { report.GetParameters() = m_after; }
    CReportChange::Parts Changes() const override { return CReportChange::Report; }
    void CaptureAfter() override { m_after = m_report.GetParameters(); }
    bool IsNoOp() const override { return SameParameters(m_before, m_after); }

private:
    CVornReport &m_report;
    CVornParameters m_before;
    CVornParameters m_after;
};

// Puts an object into its array at a position or takes it out again. The step
// holds the object while the report does not.
template<typename T>
void PutBack(CObjectArray<T *> &array, int index, std::unique_ptr<T> &held)
{
    array.InsertAt(index, held.release());
}

template<typename T>
void TakeOut(CObjectArray<T *> &array, int index, T *object, std::unique_ptr<T> &held)
{
    // The position is right whenever steps run in their order; the identity
    // search is a guard.
    if (index >= array.GetCount() || array[index] != object)
        index = array.IndexOf(object);
    if (index >= 0)
        held.reset(array.RemoveAt(index));
}

class CBandPresence final : public CEditStep
{
public:
    CBandPresence(CVornBand *band, std::unique_ptr<CVornBand> held, int index, bool inserted)
        : m_band(band)
        , m_held(std::move(held))
        , m_index(index)
        , m_inserted(inserted)
    { }

    void Undo(CVornReport &report) override { Set(report, !m_inserted); }
    void Redo(CVornReport &report) override { Set(report, m_inserted); }
    CReportChange::Parts Changes() const override { return CReportChange::Bands; }
    qsizetype Bytes() const override { return ItemState::PictureBytes(*m_band); }

private:
    void Set(CVornReport &report, bool present)
    {
        if (present && m_held)
            PutBack(report.GetBands(), m_index, m_held);
        else if (!present && !m_held)
            TakeOut(report.GetBands(), m_index, m_band, m_held);
    }

    CVornBand *m_band;
    std::unique_ptr<CVornBand> m_held;
    int m_index;
    bool m_inserted;
};

class CItemPresence final : public CEditStep
{
public:
    CItemPresence(CVornBand *band, CVornItem *item, std::unique_ptr<CVornItem> held, int index,
                  bool inserted)
        : m_band(band)
        , m_item(item)
        , m_held(std::move(held))
        , m_index(index)
        , m_inserted(inserted)
    { }

    void Undo(CVornReport &) override { Set(!m_inserted); }
    void Redo(CVornReport &) override { Set(m_inserted); }
    CReportChange::Parts Changes() const override { return CReportChange::Items; }
    qsizetype Bytes() const override { return ItemState::PictureBytes(*m_item); }

private:
    void Set(bool present)
    {
        if (present && m_held)
            PutBack(m_band->GetItems(), m_index, m_held);
        else if (!present && !m_held)
            TakeOut(m_band->GetItems(), m_index, m_item, m_held);
    }

    CVornBand *m_band;
    CVornItem *m_item;
    std::unique_ptr<CVornItem> m_held;
    int m_index;
    bool m_inserted;
};

class CItemOrder final : public CEditStep
{
public:
    CItemOrder(CVornBand *band, CVornItem *item, int from, int to)
        : m_band(band)
        , m_item(item)
        , m_from(from)
        , m_to(to)
    { }

    void Undo(CVornReport &) override { Move(m_to, m_from); }
    void Redo(CVornReport &) override { Move(m_from, m_to); }
    CReportChange::Parts Changes() const override { return CReportChange::Items; }

private:
    void Move(int from, int to)
    {
        auto &items = m_band->GetItems();
        std::unique_ptr<CVornItem> held;
        TakeOut(items, from, m_item, held);
        if (held)
            PutBack(items, std::min(to, items.GetCount()), held);
    }

    CVornBand *m_band;
    CVornItem *m_item;
    int m_from;
    int m_to;
};

} // namespace

std::unique_ptr<CEditStep> CEditStep::ItemChange(CVornItem &item)
{
    return std::make_unique<CItemChange>(item);
}

std::unique_ptr<CEditStep> CEditStep::BandChange(CVornBand &band)
{
    return std::make_unique<CBandChange>(band);
}

std::unique_ptr<CEditStep> CEditStep::PageChange(CVornReport &report)
{
    return std::make_unique<CPageChange>(report);
}

std::unique_ptr<CEditStep> CEditStep::ParametersChange(CVornReport &report)
{
    return std::make_unique<CParametersChange>(report);
}

std::unique_ptr<CEditStep> CEditStep::BandInserted(CVornBand *band, int index)
{
    return std::make_unique<CBandPresence>(band, nullptr, index, true);
}

std::unique_ptr<CEditStep> CEditStep::BandRemoved(std::unique_ptr<CVornBand> band, int index)
{
    CVornBand *raw = band.get();
    return std::make_unique<CBandPresence>(raw, std::move(band), index, false);
}

std::unique_ptr<CEditStep> CEditStep::ItemInserted(CVornBand *band, CVornItem *item, int index)
{
    return std::make_unique<CItemPresence>(band, item, nullptr, index, true);
}

std::unique_ptr<CEditStep> CEditStep::ItemRemoved(CVornBand *band, std::unique_ptr<CVornItem> item,
                                                  int index)
{
    CVornItem *raw = item.get();
    return std::make_unique<CItemPresence>(band, raw, std::move(item), index, false);
}

std::unique_ptr<CEditStep> CEditStep::ItemMoved(CVornBand *band, CVornItem *item, int from, int to)
{
    return std::make_unique<CItemOrder>(band, item, from, to);
}
