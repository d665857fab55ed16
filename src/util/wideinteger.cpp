#include "wideinteger.h"

CWideInteger::CWideInteger(UInt128 value)
{
    m_limbs[0] = quint64(value);
    m_limbs[1] = quint64(value >> 64);
}

CWideInteger::UInt128 CWideInteger::Power(int n)
{
    static const std::array<UInt128, 39> powers = [] {
        std::array<UInt128, 39> table {};
        table[0] = 1;
        for (size_t i = 1; i < table.size(); ++i)
            table[i] = table[i - 1] * 10;
        return table;
    }();
    return powers[size_t(n)];
}

int CWideInteger::DecimalDigits(UInt128 value)
{
    int digits = 1;
    while (digits < 39 && value >= Power(digits))
        ++digits;
    return digits;
}

CWideInteger CWideInteger::Product(UInt128 a, UInt128 b)
{
    const quint64 x[2] = {quint64(a), quint64(a >> 64)};
    const quint64 y[2] = {quint64(b), quint64(b >> 64)};
    CWideInteger result;
    for (int i = 0; i < 2; ++i) {
        UInt128 carry = 0;
        for (int j = 0; j < 2; ++j) {
            const UInt128 part = UInt128(x[i]) * y[j] + result.m_limbs[i + j] + carry;
            result.m_limbs[i + j] = quint64(part);
            carry = part >> 64;
        }
        result.m_limbs[i + 2] = quint64(carry);
    }
    return result;
}

bool CWideInteger::IsZero() const
{
    return !(m_limbs[0] | m_limbs[1] | m_limbs[2] | m_limbs[3]);
}

int CWideInteger::Compare(const CWideInteger &other) const
{
    for (int i = 3; i >= 0; --i) {
        if (m_limbs[i] != other.m_limbs[i])
            return m_limbs[i] < other.m_limbs[i] ? -1 : 1;
    }
    return 0;
}

bool CWideInteger::Below(UInt128 bound) const
{
    return !(m_limbs[2] | m_limbs[3]) && Low() < bound;
}

CWideInteger::UInt128 CWideInteger::Low() const
{
    return (UInt128(m_limbs[1]) << 64) | m_limbs[0];
}

int CWideInteger::DecimalDigits() const
{
    CWideInteger rest = *this;
    int digits = 0;
    while (!rest.Below(Power(38))) {
        rest.DivideBy(quint64(Power(19)));
        digits += 19;
    }
    return digits + DecimalDigits(rest.Low());
}

void CWideInteger::Add(const CWideInteger &other)
{
    UInt128 carry = 0;
    for (int i = 0; i < 4; ++i) {
        const UInt128 sum = UInt128(m_limbs[i]) + other.m_limbs[i] + carry;
        m_limbs[i] = quint64(sum);
        carry = sum >> 64;
    }
}

void CWideInteger::Subtract(const CWideInteger &other)
{
    quint64 borrow = 0;
    for (int i = 0; i < 4; ++i) {
        const quint64 take = other.m_limbs[i] + borrow;
        // The borrow goes on when the limb is too small, or when adding it wrapped round.
        const bool next = m_limbs[i] < take || (borrow && take == 0);
        m_limbs[i] -= take;
        borrow = next ? 1 : 0;
    }
}

void CWideInteger::MultiplyBy(quint64 factor)
{
    UInt128 carry = 0;
    for (quint64 &limb : m_limbs) {
        const UInt128 part = UInt128(limb) * factor + carry;
        limb = quint64(part);
        carry = part >> 64;
    }
}

quint64 CWideInteger::DivideBy(quint64 divisor)
{
    UInt128 rest = 0;
    for (int i = 3; i >= 0; --i) {
        const UInt128 part = (rest << 64) | m_limbs[i];
        m_limbs[i] = quint64(part / divisor);
        rest = part % divisor;
    }
    return quint64(rest);
}

bool CWideInteger::Bit(int index) const
{
    return (m_limbs[index / 64] >> (index % 64)) & 1;
}

void CWideInteger::ShiftLeft()
{
    for (int i = 3; i > 0; --i)
        m_limbs[i] = (m_limbs[i] << 1) | (m_limbs[i - 1] >> 63);
    m_limbs[0] <<= 1;
}

CWideInteger CWideInteger::Quotient(const CWideInteger &divisor, CWideInteger &rest) const
{
    // Long division one bit at a time: the numbers stay far below 2^255, so the shifted rest
    // never loses its top bit.
    CWideInteger quotient;
    rest = CWideInteger();
    for (int bit = 255; bit >= 0; --bit) {
        rest.ShiftLeft();
        rest.m_limbs[0] |= quint64(Bit(bit));
        if (rest.Compare(divisor) >= 0) {
            rest.Subtract(divisor);
            quotient.m_limbs[bit / 64] |= quint64(1) << (bit % 64);
        }
    }
    return quotient;
}
