#pragma once

#include "exprvalue.h"

#include <QLocale>
#include <QString>

#include <vector>

// A display format: how a DB Text or TEXT(x, format) writes a number or a date, with the
// separators and month names of a locale.
//
// A number pattern holds one run of digit places: 0 (a digit always written) and # (a digit
// written when needed), commas among the whole places for thousands separators, a point before
// the decimals: "#,##0.00", "0.000", "0". Around it stand literal texts in double quotes
// ("#,##0 \"pcs\""), blanks and signs; a % multiplies the value by 100 ("0%"). The number is
// rounded half away from zero from its exact decimals, never through binary floating point.
//
// A date pattern is made of yyyy/yy (year), M/MM/MMM/MMMM (month as number or name), d/dd
// (day), ddd/dddd (weekday name), H/HH (hour 0-23), h/hh with AP or ap (12-hour clock), m/mm,
// s/ss, and literal text: punctuation, blanks, or text in double quotes ("dd.MM.yyyy",
// "d MMMM yyyy", "HH:mm").
class CDisplayFormat
{
public:
    enum class Kind { Number, Date };

    static constexpr int MaxLength = 256;

    // False with the problem (what is wrong and where) for a pattern that is neither.
    static bool Parse(const QString &pattern, CDisplayFormat &result, QString &problem);

    Kind GetKind() const { return m_kind; }
    const QString &GetPattern() const { return m_pattern; }

    // The value in this format: NULL gives the empty text. False with a problem for a value of
    // the wrong kind (a text that is no number under a number pattern, no date under a date one).
    bool Format(const CExprValue &value, const QLocale &locale, QString &text,
                QString &problem) const;

private:
    struct Part
    {
        QString literal; // a literal text, or the letters of a date field ("MMMM")
        bool field = false;
    };

    bool FormatNumber(const CExprValue &value, const QLocale &locale, QString &text,
                      QString &problem) const;
    bool FormatDate(const CExprValue &value, const QLocale &locale, QString &text,
                    QString &problem) const;

    Kind m_kind = Kind::Number;
    QString m_pattern;
    // A number pattern: the literal text before and after the digits, and the digits' shape.
    QString m_prefix;
    QString m_suffix;
    int m_minWhole = 0;
    int m_minDecimals = 0;
    int m_maxDecimals = 0;
    bool m_grouping = false;
    bool m_percent = false;
    // A date pattern: fields and literal texts in order.
    std::vector<Part> m_parts;
    bool m_twelveHours = false;
};
