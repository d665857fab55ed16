#pragma once

#include "exactdecimal.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

#include <variant>

// One value of an expression: NULL, an exact decimal number, a text, a date, a date and time
// (a wall-clock time without a zone) or true/false. A database value becomes one by its type; a
// text that reads as a number or an ISO date is taken as one where a number or a date is needed.
class CExprValue
{
public:
    enum class Type { Null, Number, Text, Date, DateTime, Boolean };

    CExprValue() = default;
    explicit CExprValue(const CExactDecimal &number);
    explicit CExprValue(const QString &text);
    explicit CExprValue(QDate date);
    explicit CExprValue(const QDateTime &dateTime);
    static CExprValue Boolean(bool value);
    static CExprValue Whole(qint64 value);

    // A value as a database or the caller gives it: an integer or a floating-point number (by
    // its shortest exact text) is a number, a QDate a date, a QDateTime a date and time, a
    // bool true/false, bytes their UTF-8 text, and NULL (or an invalid value) is NULL.
    static CExprValue FromVariant(const QVariant &value);

    Type GetType() const { return Type(m_value.index()); }
    bool IsNull() const { return GetType() == Type::Null; }
    const CExactDecimal &GetNumber() const { return std::get<CExactDecimal>(m_value); }
    const QString &GetText() const { return std::get<QString>(m_value); }
    QDate GetDate() const { return std::get<QDate>(m_value); }
    const QDateTime &GetDateTime() const { return std::get<QDateTime>(m_value); }
    bool GetBoolean() const { return std::get<bool>(m_value); }

    // The value where a number is needed: a number, or a text that reads as one.
    bool ToNumber(CExactDecimal &number) const;
    // The value where a date is needed: a date, the date of a date and time, or a text that
    // reads as an ISO date ("2026-03-14") or date and time ("2026-03-14 09:30[:00]", a "T"
    // between them also taken).
    bool ToDate(QDate &date) const;
    // The same where a date and time is needed: a date is its midnight.
    bool ToDateTime(QDateTime &dateTime) const;
    // The value as plain text: a number as its decimals ("12.50"), a date as 2026-03-14, a date
    // and time as 2026-03-14 09:30:00, TRUE or FALSE, NULL as the empty text.
    QString ToText() const;
    // The value for a Data Format and for writers of typed data: a number as a qlonglong when
    // whole, otherwise as its exact text; a date as a QDate, a date and time as a QDateTime.
    QVariant ToVariant() const;

    // Orders two values of one kind: numbers (a text that reads as a number among them), texts
    // (by their characters, letter case counting), dates and date-times (a text that reads as
    // one among them), and false before true. False when they are of kinds that do not compare.
    static bool Compare(const CExprValue &a, const CExprValue &b, int &order);

    // What a message calls a value of a type: "a number", "a text"...
    static QString TypeName(Type type);

    bool operator==(const CExprValue &other) const;

private:
    std::variant<std::monostate, CExactDecimal, QString, QDate, QDateTime, bool> m_value;
};
