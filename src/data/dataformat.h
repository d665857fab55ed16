#pragma once

#include <QString>
#include <QVariant>

// A DB Text's Data Format: literal text with at most one conversion
// %[flags][width][.precision]conversion (flags - + space # 0; width and precision at most 255;
// conversion one of d i u x X o e E f F g G s c) and %% for a percent sign. A length (hh h l ll
// L j z t) may stand before the conversion, as in C: hh and h narrow a whole number to a char or
// a short before d i u x X o print it (%hhd of 300 prints 44); the others keep the value's own
// 64-bit or double size. The user's text is parsed here and never handed to printf as written.
class CDataFormat
{
public:
    // Parses a format; false with a short problem text (what is wrong, where) when it is refused.
    static bool Parse(const QString &format, CDataFormat &result, QString &problem);

    // The value in this format. It is first converted to the conversion's type: for d i u x X o
    // and c a whole number (a fraction is cut off, a number beyond the 64-bit range is clamped,
    // then hh or h keep its low 8 or 16 bits), for
    // e E f F g G a floating-point number, for s its text. A text that is no number, an empty
    // value and NULL count as 0. %c prints the character of a number's code, or the first
    // character of a text. An empty format gives the value's plain text.
    QString Format(const QVariant &value) const;

    // The parts of a parsed format, for writers that keep a value's type (a spreadsheet): the
    // conversion letter (0 when there is none), its precision (-1 when not given) and the
    // literal text before and after it, %% already a single %.
    char GetConversion() const { return m_hasConversion ? m_conversion : 0; }
    int GetPrecision() const { return m_precision; }
    const QString &GetPrefix() const { return m_prefix; }
    const QString &GetSuffix() const { return m_suffix; }

private:
    bool m_plain = true;
    bool m_hasConversion = false;
    QString m_prefix;
    QString m_suffix;
    QByteArray m_flags;
    int m_width = -1;
    int m_precision = -1;
    char m_conversion = 0;
    // How many bits a whole number keeps: 8 (hh), 16 (h) or 64.
    int m_bits = 64;
    // The printf pattern of a numeric conversion, made when parsed.
    QByteArray m_pattern;
};
