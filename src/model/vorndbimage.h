#pragma once

#include "vornimage.h"

// An image whose picture comes from a database field when the report runs; its
// inherited picture bytes are not stored in the file.
class CVornDbImage : public CVornImage
{
public:
    static constexpr int Kind = VornKind::DbImage;
    int GetKind() const override { return Kind; }

    const QString &GetDataSource() const { return m_dataSource; }
    void SetDataSource(const QString &source) { m_dataSource = source; }
    const QString &GetDataField() const { return m_dataField; }
    void SetDataField(const QString &field) { m_dataField = field; }

protected:
    void VisitKindFields(CFieldVisitor &fields) override;

private:
    QString m_dataSource;
    QString m_dataField;
};
