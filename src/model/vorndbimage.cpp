#include "vorndbimage.h"

void CVornDbImage::VisitKindFields(CFieldVisitor &fields)
{
    // The picture comes from the data, never from the file.
    VisitImageFields(fields, CFieldVisitor::Saved::No);
    fields.Field("data-field", m_dataField);
    fields.Field("data-source", m_dataSource);
}
