#pragma once

#include <QString>
#include <QVariant>

// A decimal number held exactly: a whole coefficient of up to 38 digits and the number of its
// digits after the decimal point. Totals of money add up in it without the drift of binary
// floating point (0.1 + 0.2 is 0.3), and a sum keeps the most decimals of its terms.
class CExactDecimal
{
public:
    CExactDecimal() = default;
    explicit CExactDecimal(qint64 whole);

    // The number a database value holds: a whole number, a floating-point number (by its
    // shortest exact text) or a text such as "-1234.50" or "1.5e3". False for anything else,
    // for infinities and for numbers of more than 38 significant digits.
    static bool FromValue(const QVariant &value, CExactDecimal &result);
    static bool FromText(QStringView text, CExactDecimal &result);

    // False when the result would need more than 38 digits.
    bool Add(const CExactDecimal &other);
    // This number divided by a positive count, rounded half away from zero to as many decimals
    // as 30 significant digits allow (at least those of this number); trailing zeros dropped.
    CExactDecimal DividedBy(qint64 count) const;

    int Compare(const CExactDecimal &other) const;

    // Plain decimal text: "-12.50", "0.3", "7".
    QString ToString() const;
    // The value for a Data Format: a whole number as such, otherwise the exact text.
    QVariant ToVariant() const;

private:
    __extension__ typedef __int128 Int128;

    static bool Scaled(Int128 value, int by, Int128 &result);

    Int128 m_coefficient = 0;
    int m_scale = 0; // digits after the decimal point
};
