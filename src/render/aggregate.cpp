#include "aggregate.h"

#include "vorndbtext.h"

CAggregate::CAggregate(int kind)
    : m_kind(kind)
{ }

void CAggregate::Reset()
{
    *this = CAggregate(m_kind);
}

CAggregate::Result CAggregate::Add(const QVariant &value)
{
    if (value.isNull())
        return Result::Taken;
    if (m_kind == CVornDbText::Count) {
        ++m_count;
        return Result::Taken;
    }
    CExactDecimal number;
    if (!CExactDecimal::FromValue(value, number))
        return Result::NotANumber;
    switch (m_kind) {
    case CVornDbText::Sum:
    case CVornDbText::Average:
        if (!m_sum.Add(number))
            return Result::TooLarge;
        break;
    case CVornDbText::Minimum:
        if (m_count == 0 || number.Compare(m_extreme) < 0)
            m_extreme = number;
        break;
    case CVornDbText::Maximum:
        if (m_count == 0 || number.Compare(m_extreme) > 0)
            m_extreme = number;
        break;
    default:
        break;
    }
    ++m_count;
    return Result::Taken;
}

QVariant CAggregate::Value() const
{
    switch (m_kind) {
    case CVornDbText::Sum:
        return m_sum.ToVariant();
    case CVornDbText::Count:
        return QVariant(qlonglong(m_count));
    case CVornDbText::Average:
        return m_count ? m_sum.DividedBy(m_count).ToVariant() : QVariant();
    case CVornDbText::Minimum:
    case CVornDbText::Maximum:
        return m_count ? m_extreme.ToVariant() : QVariant();
    default:
        return QVariant();
    }
}
