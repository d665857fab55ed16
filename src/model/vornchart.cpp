#include "vornchart.h"

#include <algorithm>

void CVornChart::VisitKindFields(CFieldVisitor &fields)
{
    fields.Field("chart_type", m_chartType);
    fields.Field("data-source", m_dataSource);
    fields.Field("chart_over", m_over);
    fields.Field("query", m_query, CFieldVisitor::Saved::IfNotDefault);
    fields.Field("category", m_category);
    fields.Field("series", m_series);
    fields.Field("title", m_title, CFieldVisitor::Saved::IfNotDefault);
    fields.Field("legend", m_legend, CFieldVisitor::Saved::IfNotDefault);
    fields.Field("value_labels", m_valueLabels, CFieldVisitor::Saved::IfNotDefault);
    fields.Field("format", m_format, CFieldVisitor::Saved::IfNotDefault);
    fields.Field("display_format", m_displayFormat, CFieldVisitor::Saved::IfNotDefault);
}

bool CVornChart::IsFieldName(const QString &value)
{
    return !value.isEmpty() && std::all_of(value.begin(), value.end(), [](QChar c) {
        return c.isLetterOrNumber() || c == u'_';
    });
}
