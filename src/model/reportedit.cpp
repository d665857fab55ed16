#include "reportedit.h"

#include "editrecord.h"
#include "namekey.h"
#include "vorndocument.h"
#include "vornitems.h"
#include "vornreport.h"

CReportEdit::CReportEdit(CVornDocument &document, const QString &text)
    : m_document(document)
    , m_record(std::make_unique<CEditRecord>(text, document.GetReport().GetSelection()))
{ }

CReportEdit::~CReportEdit()
{
    Commit();
}

CVornReport &CReportEdit::Report() const
{
    return m_document.GetReport();
}

void CReportEdit::SetMergeTag(const QString &tag)
{
    if (m_record)
        m_record->SetMergeTag(tag);
}

void CReportEdit::WillChange(CVornItem *item)
{
    if (m_record && item && m_watched.insert(item).second)
        m_record->Add(CEditStep::ItemChange(*item));
}

void CReportEdit::WillChange(CVornBand *band)
{
    if (m_record && band && m_watched.insert(band).second)
        m_record->Add(CEditStep::BandChange(*band));
}

void CReportEdit::WillChangePage()
{
    if (!m_record || m_pageWatched)
        return;
    m_pageWatched = true;
    m_record->Add(CEditStep::PageChange(Report()));
}

void CReportEdit::WillChangeParameters()
{
    if (!m_record || m_parametersWatched)
        return;
    m_parametersWatched = true;
    m_record->Add(CEditStep::ParametersChange(Report()));
}

CVornBand *CReportEdit::InsertBand(int index, std::unique_ptr<CVornBand> band)
{
    CVornBand *added = band.get();
    Report().GetBands().InsertAt(index, band.release());
    if (m_record)
        m_record->Add(CEditStep::BandInserted(added, index));
    return added;
}

CVornItem *CReportEdit::InsertItem(CVornBand *band, int index, std::unique_ptr<CVornItem> item)
{
    CVornItem *added = item.get();
    band->GetItems().InsertAt(index, item.release());
    if (m_record)
        m_record->Add(CEditStep::ItemInserted(band, added, index));
    return added;
}

void CReportEdit::Remove(CVornElement *element)
{
    auto &bands = Report().GetBands();
    // A band is never looked for among the items: it is no item.
    const bool isBand = element && IsBand(element->GetKind());
    for (int i = 0; i < bands.GetCount(); ++i) {
        CVornBand *band = bands[i];
        if (band == element) {
            std::unique_ptr<CVornBand> removed(bands.RemoveAt(i));
            if (m_record)
                m_record->Add(CEditStep::BandRemoved(std::move(removed), i));
            return;
        }
        if (isBand)
            continue;
        auto &items = band->GetItems();
        const int index = items.IndexOf(static_cast<const CVornItem *>(element));
        if (index >= 0) {
            std::unique_ptr<CVornItem> removed(items.RemoveAt(index));
            if (m_record)
                m_record->Add(CEditStep::ItemRemoved(band, std::move(removed), index));
            return;
        }
    }
}

void CReportEdit::MoveItem(CVornBand *band, int from, int to)
{
    auto &items = band->GetItems();
    if (from == to || from < 0 || to < 0 || from >= items.GetCount() || to >= items.GetCount())
        return;
    CVornItem *item = items.RemoveAt(from);
    items.InsertAt(to, item);
    if (m_record)
        m_record->Add(CEditStep::ItemMoved(band, item, from, to));
}

void CReportEdit::Delete(CVornElement *element)
{
    if (element && IsBand(element->GetKind())) {
        // A copy: the band's own fields may be among those emptied.
        const QString name = element->GetName();
        for (CVornBand *band : Report().GetBands()) {
            const bool header = SameName(band->GetHeader(), name);
            const bool footer = SameName(band->GetFooter(), name);
            const bool parent = SameName(band->GetParentDataSource(), name);
            if (header || footer || parent)
                WillChange(band);
            if (header)
                band->SetHeader(QString());
            if (footer)
                band->SetFooter(QString());
            if (parent)
                band->SetParentDataSource(QString());
            for (CVornItem *item : band->GetItems()) {
                auto *dbText = dynamic_cast<CVornDbText *>(item);
                if (dbText && SameName(dbText->GetDataSource(), name)) {
                    WillChange(item);
                    dbText->SetDataSource(QString());
                }
            }
        }
    }
    Remove(element);
}

bool CReportEdit::Commit()
{
    if (!m_record)
        return false;
    std::unique_ptr<CEditRecord> record = std::move(m_record);
    record->Finish();
    if (record->IsEmpty())
        return false;
    record->SetSelectedAfter(Report().GetSelection());
    m_document.PushEdit(std::move(record));
    return true;
}

void CReportEdit::Cancel()
{
    if (!m_record)
        return;
    std::unique_ptr<CEditRecord> record = std::move(m_record);
    record->Finish();
    record->Undo(Report());
}
