#include "vorndbbarcode.h"

void CVornDbBarcode::VisitKindFields(CFieldVisitor &fields)
{
    // The value comes from the data, never from the file.
    VisitValueField(fields, CFieldVisitor::Saved::No);
    fields.Field("data-field", m_dataField);
    fields.Field("data-source", m_dataSource);
    VisitSymbolFields(fields);
}
