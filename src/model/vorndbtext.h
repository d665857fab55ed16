#pragma once

#include "vorntext.h"

// A text whose value comes from a database field when the report runs. Its
// inherited text stays empty; the field, its source band, a format and an own
// query say where the value comes from.
class CVornDbText : public CVornText
{
public:
    int GetKind() const override { return VornKind::DbText; }
    void Reset() override;
    std::unique_ptr<CVornItem> Clone() const override;
    void CopyFrom(const CVornDbText &other);

    const QString &GetDataSource() const { return m_dataSource; }
    void SetDataSource(const QString &source) { m_dataSource = source; }
    const QString &GetDataField() const { return m_dataField; }
    void SetDataField(const QString &field) { m_dataField = field; }
    const QString &GetFormat() const { return m_format; }
    void SetFormat(const QString &format) { m_format = format; }
    const QString &GetQuery() const { return m_query; }
    void SetQuery(const QString &query) { m_query = query; }

private:
    QString m_dataSource;
    QString m_dataField;
    QString m_format;
    QString m_query;
};
