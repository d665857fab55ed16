#pragma once

#include <QtGlobal>

#include <array>

// An unsigned whole number of 256 bits (77 decimal digits), enough for the exact product of two
// 38-digit numbers and for a dividend scaled up to give a quotient of 30 significant digits.
// Only what the exact decimal needs; every operation stays inside 256 bits by how it is used.
class CWideInteger
{
public:
    __extension__ typedef unsigned __int128 UInt128;

    CWideInteger() = default;
    explicit CWideInteger(UInt128 value);

    static CWideInteger Product(UInt128 a, UInt128 b);
    // 10 to the power n, for n from 0 to 38.
    static UInt128 Power(int n);
    // The decimal digits of a 128-bit number (1 for zero).
    static int DecimalDigits(UInt128 value);

    bool IsZero() const;
    int Compare(const CWideInteger &other) const;
    // Fits in 128 bits and lies below the given bound.
    bool Below(UInt128 bound) const;
    UInt128 Low() const;
    int DecimalDigits() const;

    void Add(const CWideInteger &other);
    // The other is not larger than this.
    void Subtract(const CWideInteger &other);
    void MultiplyBy(quint64 factor);
    // Returns the remainder.
    quint64 DivideBy(quint64 divisor);
    // This divided by a divisor that is not zero, by bits; the remainder is left in rest.
    CWideInteger Quotient(const CWideInteger &divisor, CWideInteger &rest) const;

private:
    bool Bit(int index) const;
    void ShiftLeft();

    std::array<quint64, 4> m_limbs {}; // least significant first
};
