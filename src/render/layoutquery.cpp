#include "reportlayout.h"

#include "vornreport.h"

using namespace Qt::StringLiterals;

std::unique_ptr<CDataCursor> CReportLayout::Query(const CVornBand &band, const QString &sql,
                                                  const Context *outer, const QString &itemName)
{
    const auto entry = [&](const QString &name) -> QString {
        for (const Context *context = outer; context; context = context->outer) {
            if (!context->row)
                continue;
            const int index = context->row->IndexOf(name);
            if (index >= 0)
                return context->row->GetValues().at(index).toString();
        }
        if (m_options.parameter)
            return m_options.parameter(band.GetName(), name);
        if (const CVornParameter *stored = m_report.GetParameters().Find(band.GetName(), name))
            return stored->GetValue();
        return {};
    };
    if (itemName.isEmpty())
        At(band);
    QString problem;
    std::unique_ptr<CDataCursor> cursor = m_connection->Execute(sql, entry, problem);
    if (!cursor) {
        if (itemName.isEmpty())
            Fail(Tr("The query of the band \"%1\" failed: %2").arg(band.GetName(), problem));
        else
            Fail(Tr("The query of the item \"%1\" on the band \"%2\" failed: %3")
                         .arg(itemName, band.GetName(), problem));
    }
    return cursor;
}

bool CReportLayout::Fetch(CDataCursor &cursor, CDataRow &row, const CVornBand &band, int item)
{
    At(band, item);
    if (Cancelled())
        return false;
    QString problem;
    if (cursor.Fetch(row, problem))
        return true;
    if (!problem.isEmpty())
        Fail(Tr("Reading the rows of the band \"%1\" failed: %2").arg(band.GetName(), problem));
    return false;
}

bool CReportLayout::FetchNext(CDataCursor &cursor, CDataRow &row, const CVornBand &band,
                              qint64 &fetched)
{
    if (!Fetch(cursor, row, band))
        return false;
    if (++fetched > m_options.maxRows) {
        // A driver that keeps answering (the same row again and again) ends here.
        return Fail(Tr("The query of the band \"%1\" returned more than %2 rows; the run stops "
                       "there")
                            .arg(band.GetName())
                            .arg(m_options.maxRows));
    }
    return true;
}

bool CReportLayout::ItemValue(const CVornBand &band, ItemPlan &plan, const QString &dataSource,
                              const QString &field, const QString &query, QVariant &value)
{
    value = QVariant();
    if (m_noDatabase) {
        if (m_options.value)
            value = m_options.value(dataSource, field);
        return true;
    }
    const QString &itemName = plan.item->GetName();
    CDataRow ownRow;
    const CDataRow *row = nullptr;
    QString from = plan.source->GetName();
    if (HasQuery(query)) {
        // The item's own query, with entries valued from its band's row and then as the
        // band's own entries are; its first row counts.
        const auto current = m_current.find(&band);
        const Context context {&band, current == m_current.end() ? nullptr : &current->second,
                               m_placing == &band ? m_placingContext : nullptr};
        std::unique_ptr<CDataCursor> cursor = Query(band, query, &context, itemName);
        if (!cursor)
            return false;
        if (!Fetch(*cursor, ownRow, band, plan.place.item))
            return m_message.isEmpty();
        row = &ownRow;
        from = itemName;
    } else {
        const auto it = m_current.find(plan.source);
        if (it == m_current.end())
            return true;
        row = &it->second;
    }
    if (row->IsEmpty())
        return true;
    if (plan.columns != &row->GetColumns() || plan.column >= row->GetValues().size()) {
        plan.columns = &row->GetColumns();
        plan.column = row->IndexOf(field);
    }
    if (plan.column < 0) {
        plan.columns = nullptr;
        return Fail(Tr("The item \"%1\" on the band \"%2\" shows the field \"%3\", which the "
                       "query of \"%4\" does not return; it returns: %5")
                            .arg(itemName, band.GetName(), field, from,
                                 row->GetColumns().join(u", "_s)));
    }
    value = row->GetValues().at(plan.column);
    return true;
}

bool CReportLayout::ItemRow::Value(const QString &dataSource, const QString &field,
                                   const QString &query, QVariant &value)
{
    return m_layout.ItemValue(m_band, m_plan, dataSource, field, query, value);
}
