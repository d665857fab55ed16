#include "vorndbtext.h"

void CVornDbText::Reset()
{
    CVornText::Reset();
    m_dataSource.clear();
    m_dataField.clear();
    m_format.clear();
    m_query.clear();
    m_aggregate = NoAggregate;
    m_aggregateOver = OverBand;
    m_expression.clear();
    m_displayFormat.clear();
}

std::unique_ptr<CVornItem> CVornDbText::Clone() const
{
    auto copy = std::make_unique<CVornDbText>();
    copy->CopyFrom(*this);
    return copy;
}

void CVornDbText::CopyFrom(const CVornDbText &other)
{
    CVornText::CopyFrom(other);
    m_dataSource = other.m_dataSource;
    m_dataField = other.m_dataField;
    m_format = other.m_format;
    m_query = other.m_query;
    m_aggregate = other.m_aggregate;
    m_aggregateOver = other.m_aggregateOver;
    m_expression = other.m_expression;
    m_displayFormat = other.m_displayFormat;
}
