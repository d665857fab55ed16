#include "exactdecimal.h"

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
