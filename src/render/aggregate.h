#pragma once

#include "exactdecimal.h"

#include <QVariant>

// The running total of one DB Text's aggregate over the rows it takes: a sum or average exact
// in decimal, a count, a minimum or a maximum. NULLs are skipped; a count counts the values
// that are not NULL.
class CAggregate
{
public:
    enum class Result { Taken, NotANumber, TooLarge };

    explicit CAggregate(int kind = 0);

    Result Add(const QVariant &value);
    void Reset();

    // What the item prints: the count, a sum (0 for no rows), or the average, minimum or
    // maximum (NULL for no rows), as a value for its Data Format.
    QVariant Value() const;

private:
    int m_kind;
    qint64 m_count = 0;
    CExactDecimal m_sum;
    CExactDecimal m_extreme;
};
