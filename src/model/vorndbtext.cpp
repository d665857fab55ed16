#include "vorndbtext.h"

void CVornDbText::ReadFinished()
{
    if (!GetText().isEmpty() && m_dataField.isEmpty())
        m_dataField = GetText();
    SetText(QString());
}

void CVornDbText::VisitKindFields(CFieldVisitor &fields)
{
    // The value comes from the data; the text of an older file names the field.
    VisitTextFields(fields, CFieldVisitor::Saved::Legacy);
    fields.Field("format", m_format);
    fields.Field("data-source", m_dataSource);
    fields.Field("data-field", m_dataField);
    fields.Field("query", m_query);
    VisitCanGrow(fields);
    fields.Field("aggregate", m_aggregate, CFieldVisitor::Saved::IfNotDefault);
    fields.Field("aggregate_over", m_aggregateOver, CFieldVisitor::Saved::IfNotDefault);
    fields.Field("expression", m_expression, CFieldVisitor::Saved::IfNotDefault);
    fields.Field("display_format", m_displayFormat, CFieldVisitor::Saved::IfNotDefault);
}
