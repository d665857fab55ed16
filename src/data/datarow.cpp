#include "dataconnection.h"

CDataRow::CDataRow(std::shared_ptr<const QStringList> columns, QVariantList values)
    : m_columns(std::move(columns))
    , m_values(std::move(values))
{ }

const QStringList &CDataRow::GetColumns() const
{
    static const QStringList none;
    return m_columns ? *m_columns : none;
}

int CDataRow::IndexOf(const QString &name) const
{
    if (!m_columns)
        return -1;
    const QStringList &columns = *m_columns;
    for (qsizetype i = 0; i < columns.size() && i < m_values.size(); ++i) {
        if (columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

QVariant CDataRow::Value(const QString &name) const
{
    const int index = IndexOf(name);
    return index < 0 ? QVariant() : m_values.at(index);
}
