#pragma once

#include "vornbarcode.h"

// A barcode whose value comes from a database field when the report runs; its
// inherited value is not stored in the file.
class CVornDbBarcode : public CVornBarcode
{
public:
    static constexpr int Kind = VornKind::DbBarcode;
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
