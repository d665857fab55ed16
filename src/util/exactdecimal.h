#pragma once

#include <QString>
#include <QVariant>

class CWideInteger;

// A decimal number held exactly: a whole coefficient of up to 38 digits and the number of its
// digits after the decimal point (at most 76). Money adds up in it without the drift of binary
// floating point (0.1 + 0.2 is 0.3); a sum keeps the most decimals of its terms and a product the
// decimals of both. Sums, differences and products are exact while they fit in 38 digits (their
// last decimals are rounded off when they do not); quotients carry 30 significant digits, or
// every digit before the point when there are more. Rounding is half away from zero throughout.
// The totals of a run and the expressions of a report compute in it.
class CExactDecimal
{
public:
    static constexpr int MaxDigits = 38;
    static constexpr int MaxDecimals = 76;
    static constexpr int QuotientDigits = 30;

    CExactDecimal() = default;
    explicit CExactDecimal(qint64 whole);

    // The number a database value holds: a whole number, a floating-point number (by its
    // shortest exact text) or a text such as "-1234.50" or "1.5e3". False for anything else,
    // for infinities and for numbers of more than 38 significant digits.
    static bool FromValue(const QVariant &value, CExactDecimal &result);
    static bool FromText(QStringView text, CExactDecimal &result);

    // False when the result would need more than 38 digits: a total fails rather than rounds.
    bool Add(const CExactDecimal &other);
    // This number divided by a positive count, rounded half away from zero to as many decimals
    // as 30 significant digits allow (at least those of this number); trailing zeros dropped.
    CExactDecimal DividedBy(qint64 count) const;

    int Compare(const CExactDecimal &other) const;
    bool IsZero() const { return m_coefficient == 0; }
    bool IsNegative() const { return m_coefficient < 0; }
    int GetDecimals() const { return m_scale; }
    // The number as a whole qint64, when it has no fraction and fits.
    bool ToWhole(qint64 &whole) const;

    // The arithmetic of expressions. Each gives false when the result has more than 38 digits
    // before the point (Divide and Modulo also for a zero divisor, which callers check first).
    bool Plus(const CExactDecimal &other, CExactDecimal &result) const;
    bool Minus(const CExactDecimal &other, CExactDecimal &result) const;
    bool Times(const CExactDecimal &other, CExactDecimal &result) const;
    bool Divide(const CExactDecimal &by, CExactDecimal &result) const;
    // The remainder of the division cut toward zero: it takes the sign of this number.
    bool Modulo(const CExactDecimal &by, CExactDecimal &result) const;
    CExactDecimal Negated() const;
    // Rounded half away from zero to the given decimals (negative: to tens, hundreds...); a
    // number with fewer decimals gets trailing zeros where they fit (ROUND(2.5, 2) is 2.50).
    bool Rounded(int decimals, CExactDecimal &result) const;
    bool Floor(CExactDecimal &result) const;
    bool Ceiling(CExactDecimal &result) const;

    // Plain decimal text: "-12.50", "0.3", "7".
    QString ToString() const;
    // The value for a Data Format: a whole number as such, otherwise the exact text.
    QVariant ToVariant() const;

private:
    __extension__ typedef __int128 Int128;

    static bool Scaled(Int128 value, int by, Int128 &result);
    // The number of a magnitude and sign with the given decimals, its last decimals rounded off
    // until it fits; false when it does not fit even without any.
    static bool Make(const CWideInteger &magnitude, bool negative, int scale,
                     CExactDecimal &result);
    // This number's magnitude and decimals scaled to the given decimals (at least its own and
    // at most 38 more).
    CWideInteger WideAt(int scale) const;

    Int128 m_coefficient = 0;
    int m_scale = 0; // digits after the decimal point
};
