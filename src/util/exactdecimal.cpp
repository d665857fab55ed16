#include "exactdecimal.h"

#include "wideinteger.h"

#include <QLocale>

#include <algorithm>
#include <limits>

namespace {

__extension__ typedef __int128 Int128;

// 10^38: a coefficient stays below it, so that two of them still add up inside 128 bits.
const Int128 Limit = [] {
    Int128 limit = 1;
    for (int i = 0; i < 38; ++i)
        limit *= 10;
    return limit;
}();

Int128 Abs(Int128 v)
{
    return v < 0 ? -v : v;
}

int Digits(Int128 v)
{
    v = Abs(v);
    int digits = 1;
    while (v >= 10) {
        v /= 10;
        ++digits;
    }
    return digits;
}

// Divides rounding half away from zero.
Int128 DivideRounded(Int128 value, Int128 by)
{
    const Int128 quotient = value / by;
    const Int128 remainder = Abs(value % by);
    if (remainder * 2 >= Abs(by))
        return value < 0 ? quotient - 1 : quotient + 1;
    return quotient;
}

} // namespace

CExactDecimal::CExactDecimal(qint64 whole)
    : m_coefficient(whole)
{ }

bool CExactDecimal::Scaled(Int128 value, int by, Int128 &result)
{
    for (int i = 0; i < by; ++i) {
        // Checked before multiplying: 128 bits hold ten times the limit no more.
        if (Abs(value) >= Limit / 10)
            return false;
        value *= 10;
    }
    result = value;
    return true;
}

bool CExactDecimal::FromText(QStringView text, CExactDecimal &result)
{
    text = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    Int128 coefficient = 0;
    int digits = 0; // significant digits taken
    int fraction = 0; // digits after the point
    bool any = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'.' && !point) {
            point = true;
            continue;
        }
        if (c < u'0' || c > u'9')
            break;
        any = true;
        if (coefficient == 0 && c == u'0' && !point)
            continue;
        if (++digits > 38)
            return false;
        coefficient = coefficient * 10 + (c.unicode() - u'0');
        if (point)
            ++fraction;
    }
    if (!any)
        return false;
    int exponent = 0;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
            negativeExponent = text[i++] == u'-';
        const qsizetype start = i;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9' && exponent < 1000)
            exponent = exponent * 10 + (text[i++].unicode() - u'0');
        if (i == start)
            return false;
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != text.size())
        return false;
    int scale = fraction - exponent;
    if (coefficient == 0)
        scale = std::max(0, std::min(scale, 38));
    if (scale < 0) {
        if (!Scaled(coefficient, -scale, coefficient))
            return false;
        scale = 0;
    }
    if (scale > 76)
        return false;
    result.m_coefficient = negative ? -coefficient : coefficient;
    result.m_scale = scale;
    return true;
}

bool CExactDecimal::FromValue(const QVariant &value, CExactDecimal &result)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar:
        result = CExactDecimal(value.toLongLong());
        return true;
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        result = CExactDecimal();
        result.m_coefficient = Int128(value.toULongLong());
        return true;
    case QMetaType::Double:
    case QMetaType::Float: {
        // The shortest text that reads back as the same double: 325.45, not 325.44999...
        const QString text = QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
        return FromText(text, result);
    }
    case QMetaType::QString:
    case QMetaType::QByteArray:
        return FromText(value.toString(), result);
    default:
        return false;
    }
}

bool CExactDecimal::Add(const CExactDecimal &other)
{
    const int scale = std::max(m_scale, other.m_scale);
    Int128 a = 0;
    Int128 b = 0;
    if (!Scaled(m_coefficient, scale - m_scale, a)
        || !Scaled(other.m_coefficient, scale - other.m_scale, b))
        return false;
    // Both lie below 10^38; two of the same sign are checked before they are added.
    if ((a > 0) == (b > 0) && Abs(a) >= Limit - Abs(b))
        return false;
    const Int128 sum = a + b;
    m_coefficient = sum;
    m_scale = scale;
    return true;
}

CExactDecimal CExactDecimal::DividedBy(qint64 count) const
{
    if (count <= 0)
        return *this;
    // As many digits as 128 bits hold, then rounded to 30 significant ones.
    const int extra = std::max(0, 37 - Digits(m_coefficient));
    Int128 scaled = 0;
    Scaled(m_coefficient, extra, scaled);
    CExactDecimal result;
    result.m_coefficient = DivideRounded(scaled, count);
    result.m_scale = m_scale + extra;
    const int excess = Digits(result.m_coefficient) - 30;
    for (int i = 0; i < excess && result.m_scale > m_scale; ++i) {
        result.m_coefficient = DivideRounded(result.m_coefficient, 10);
        --result.m_scale;
    }
    while (result.m_scale > m_scale && result.m_coefficient % 10 == 0) {
        result.m_coefficient /= 10;
        --result.m_scale;
    }
    return result;
}

int CExactDecimal::Compare(const CExactDecimal &other) const
{
    const auto sign = [](Int128 v) {
        return v < 0 ? -1 : v > 0 ? 1 : 0;
    };
    if (sign(m_coefficient) != sign(other.m_coefficient))
        return sign(m_coefficient) < sign(other.m_coefficient) ? -1 : 1;
    const int scale = std::max(m_scale, other.m_scale);
    Int128 a = 0;
    Int128 b = 0;
    const bool aFits = Scaled(m_coefficient, scale - m_scale, a);
    const bool bFits = Scaled(other.m_coefficient, scale - other.m_scale, b);
    if (aFits && bFits)
        return a < b ? -1 : a > b ? 1 : 0;
    // The one that cannot take the other's decimals is the larger in size.
    const int larger = aFits ? -1 : 1;
    return sign(m_coefficient) < 0 ? -larger : larger;
}

QString CExactDecimal::ToString() const
{
    Int128 v = Abs(m_coefficient);
    QString digits;
    do {
        digits.prepend(QChar(u'0' + int(v % 10)));
        v /= 10;
    } while (v != 0);
    if (m_scale > 0) {
        if (digits.size() <= m_scale)
            digits.prepend(QString(m_scale - digits.size() + 1, u'0'));
        digits.insert(digits.size() - m_scale, u'.');
    }
    if (m_coefficient < 0)
        digits.prepend(u'-');
    return digits;
}

QVariant CExactDecimal::ToVariant() const
{
    if (m_scale == 0 && m_coefficient >= std::numeric_limits<qint64>::min()
        && m_coefficient <= std::numeric_limits<qint64>::max())
        return QVariant(qlonglong(m_coefficient));
    return QVariant(ToString());
}

namespace {

// The magnitude with its last digits taken off: cut toward zero, or rounded half away from zero
// (the first digit taken off decides). lost tells whether a digit taken off was not zero.
CWideInteger DropDigits(CWideInteger magnitude, int count, bool round, bool *lost = nullptr)
{
    quint64 last = 0;
    bool any = false;
    for (; count > 0 && !magnitude.IsZero(); --count) {
        const int step = std::min(count, 19);
        const quint64 divisor = quint64(CWideInteger::Power(step));
        const quint64 rest = magnitude.DivideBy(divisor);
        any = any || rest != 0;
        if (count == step)
            last = rest / quint64(CWideInteger::Power(step - 1));
        count -= step - 1;
    }
    if (lost)
        *lost = any;
    if (round && last >= 5)
        magnitude.Add(CWideInteger(1));
    return magnitude;
}

} // namespace

bool CExactDecimal::Make(const CWideInteger &magnitude, bool negative, int scale,
                         CExactDecimal &result)
{
    CWideInteger m = magnitude;
    if (!(scale >= 0 && scale <= MaxDecimals && m.Below(Limit))) {
        for (; scale < 0; ++scale) {
            if (m.DecimalDigits() > MaxDigits)
                return false;
            m.MultiplyBy(10);
        }
        const int drop = std::max(m.DecimalDigits() - MaxDigits, scale - MaxDecimals);
        if (drop > scale)
            return false;
        if (drop > 0) {
            m = DropDigits(m, drop, true);
            scale -= drop;
            // Rounding carried into a 39th digit: the number is 10^38 times a power of ten.
            if (!m.Below(Limit) && scale > 0) {
                m.DivideBy(10);
                --scale;
            }
        }
        if (!m.Below(Limit))
            return false;
    }
    const Int128 coefficient = Int128(m.Low());
    result.m_coefficient = negative ? -coefficient : coefficient;
    result.m_scale = scale;
    return true;
}

CWideInteger CExactDecimal::WideAt(int scale) const
{
    CWideInteger wide(CWideInteger::UInt128(Abs(m_coefficient)));
    for (int i = m_scale; i < scale; i += 19)
        wide.MultiplyBy(quint64(CWideInteger::Power(std::min(19, scale - i))));
    return wide;
}

bool CExactDecimal::ToWhole(qint64 &whole) const
{
    Int128 value = m_coefficient;
    for (int i = 0; i < m_scale; ++i) {
        if (value % 10 != 0)
            return false;
        value /= 10;
    }
    if (value < std::numeric_limits<qint64>::min() || value > std::numeric_limits<qint64>::max())
        return false;
    whole = qint64(value);
    return true;
}

bool CExactDecimal::Plus(const CExactDecimal &other, CExactDecimal &result) const
{
    result = *this;
    if (result.Add(other))
        return true;
    // Too many digits for the plain way: one term with decimals far finer than the other's is
    // rounded to 38 more than the other has, then the two meet in 256 bits.
    CExactDecimal a = *this;
    CExactDecimal b = other;
    if (b.m_scale > a.m_scale + MaxDigits && !b.Rounded(a.m_scale + MaxDigits, b))
        return false;
    if (a.m_scale > b.m_scale + MaxDigits && !a.Rounded(b.m_scale + MaxDigits, a))
        return false;
    const int scale = std::max(a.m_scale, b.m_scale);
    CWideInteger x = a.WideAt(scale);
    CWideInteger y = b.WideAt(scale);
    if (a.IsNegative() == b.IsNegative()) {
        x.Add(y);
        return Make(x, a.IsNegative(), scale, result);
    }
    if (x.Compare(y) >= 0) {
        x.Subtract(y);
        return Make(x, a.IsNegative(), scale, result);
    }
    y.Subtract(x);
    return Make(y, b.IsNegative(), scale, result);
}

bool CExactDecimal::Minus(const CExactDecimal &other, CExactDecimal &result) const
{
    return Plus(other.Negated(), result);
}

CExactDecimal CExactDecimal::Negated() const
{
    CExactDecimal result = *this;
    result.m_coefficient = -m_coefficient;
    return result;
}

bool CExactDecimal::Times(const CExactDecimal &other, CExactDecimal &result) const
{
    const bool negative = IsNegative() != other.IsNegative();
    const Int128 a = Abs(m_coefficient);
    const Int128 b = Abs(other.m_coefficient);
    const int scale = m_scale + other.m_scale;
    // Two factors below 10^19 multiply within 128 bits.
    if (a < Int128(CWideInteger::Power(19)) && b < Int128(CWideInteger::Power(19))
        && scale <= MaxDecimals) {
        result.m_coefficient = negative ? -(a * b) : a * b;
        result.m_scale = scale;
        return true;
    }
    return Make(CWideInteger::Product(CWideInteger::UInt128(a), CWideInteger::UInt128(b)), negative,
                scale, result);
}

bool CExactDecimal::Divide(const CExactDecimal &by, CExactDecimal &result) const
{
    if (by.IsZero())
        return false;
    if (IsZero()) {
        result = CExactDecimal();
        result.m_scale = m_scale;
        return true;
    }
    // The dividend is scaled so that the whole quotient has one digit more than 30.
    const int digits = Digits(m_coefficient);
    const int byDigits = Digits(by.m_coefficient);
    const int extra = std::max(0, QuotientDigits + 1 - digits + byDigits);
    CWideInteger rest;
    CWideInteger quotient
            = WideAt(m_scale + extra)
                      .Quotient(CWideInteger(CWideInteger::UInt128(Abs(by.m_coefficient))), rest);
    int scale = m_scale - by.m_scale + extra;
    const int quotientDigits = quotient.DecimalDigits();
    const int drop = quotientDigits - std::max(QuotientDigits, quotientDigits - scale);
    if (drop > 0) {
        quotient = DropDigits(quotient, drop, true);
        scale -= drop;
    }
    // Trailing zeros go, down to the decimals of the dividend: 10.00 / 4 is 2.50.
    while (scale > m_scale && !quotient.IsZero()) {
        CWideInteger shorter = quotient;
        if (shorter.DivideBy(10) != 0)
            break;
        quotient = shorter;
        --scale;
    }
    return Make(quotient, IsNegative() != by.IsNegative(), scale, result);
}

bool CExactDecimal::Modulo(const CExactDecimal &by, CExactDecimal &result) const
{
    if (by.IsZero())
        return false;
    CExactDecimal a = *this;
    CExactDecimal b = by;
    if (b.m_scale > a.m_scale + MaxDigits && !b.Rounded(a.m_scale + MaxDigits, b))
        return false;
    if (a.m_scale > b.m_scale + MaxDigits && !a.Rounded(b.m_scale + MaxDigits, a))
        return false;
    if (b.IsZero())
        return false;
    const int scale = std::max(a.m_scale, b.m_scale);
    CWideInteger rest;
    a.WideAt(scale).Quotient(b.WideAt(scale), rest);
    return Make(rest, IsNegative(), scale, result);
}

bool CExactDecimal::Rounded(int decimals, CExactDecimal &result) const
{
    if (decimals >= m_scale) {
        Int128 padded = 0;
        result = *this;
        if (decimals <= MaxDecimals && Scaled(m_coefficient, decimals - m_scale, padded)) {
            result.m_coefficient = padded;
            result.m_scale = decimals;
        }
        return true;
    }
    const CWideInteger magnitude = DropDigits(WideAt(m_scale), m_scale - decimals, true);
    return Make(magnitude, IsNegative(), decimals, result);
}

bool CExactDecimal::Floor(CExactDecimal &result) const
{
    bool lost = false;
    CWideInteger magnitude = DropDigits(WideAt(m_scale), m_scale, false, &lost);
    if (lost && IsNegative())
        magnitude.Add(CWideInteger(1));
    return Make(magnitude, IsNegative(), 0, result);
}

bool CExactDecimal::Ceiling(CExactDecimal &result) const
{
    bool lost = false;
    CWideInteger magnitude = DropDigits(WideAt(m_scale), m_scale, false, &lost);
    if (lost && !IsNegative())
        magnitude.Add(CWideInteger(1));
    return Make(magnitude, IsNegative(), 0, result);
}
