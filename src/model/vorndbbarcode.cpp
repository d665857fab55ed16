#include "vorndbbarcode.h"

void CVornDbBarcode::VisitFields(CFieldVisitor &fields)
{
    // The value comes from the data, never from the file.
    VisitBarcodeFields(fields, CFieldVisitor::Saved::No);
    fields.Field("data-field", m_dataField);
    fields.Field("data-source", m_dataSource);
}
