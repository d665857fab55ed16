#pragma once

#include "expression.h"

#include <QHash>

// A row of made-up values for expressions to read: fields by "Band.FIELD" (or "FIELD" for the
// item's own band), parameters, page numbers and totals by their index.
class CTestContext : public CExprContext
{
public:
    CTestContext(const CExpression &expression, const QString &locale = QString())
        : m_expression(expression)
        , m_locale(locale.isEmpty() ? QLocale::c() : QLocale(locale))
    {
        const auto number = [](const char *text) {
            CExactDecimal value;
            CExactDecimal::FromText(QString::fromLatin1(text), value);
            return CExprValue(value);
        };
        m_fields = {
                {QStringLiteral("LINES.QTY"), number("3")},
                {QStringLiteral("LINES.PRICE"), number("4.62")},
                {QStringLiteral("QTY"), number("3")},
                {QStringLiteral("NAME"), CExprValue(QStringLiteral("Ada Lovelace"))},
                {QStringLiteral("EMPTY"), CExprValue()},
                {QStringLiteral("PAID"), CExprValue::Boolean(true)},
                {QStringLiteral("DUE"), CExprValue(QStringLiteral("2026-03-14"))},
                {QStringLiteral("STAMP"), CExprValue(QDateTime(QDate(2026, 3, 14), QTime(9, 30)))},
                {QStringLiteral("CODE"), CExprValue(QStringLiteral("12"))},
                {QStringLiteral("BIG"), CExprValue(QString(1024 * 1024, u'x'))},
        };
    }

    bool NameValue(int index, CExprValue &value, QString &problem) override
    {
        const CExprName &name = m_expression.GetNames()[size_t(index)];
        switch (name.kind) {
        case CExprName::Kind::PageNumber:
            value = CExprValue::Whole(2);
            return true;
        case CExprName::Kind::PageCount:
            value = CExprValue::Whole(5);
            return true;
        case CExprName::Kind::RowNumber:
            value = CExprValue::Whole(7);
            return true;
        case CExprName::Kind::Parameter:
            value = CExprValue(QStringLiteral("1042"));
            return true;
        case CExprName::Kind::Field:
            break;
        }
        const QString key = (name.band.isEmpty() ? QString() : name.band + u'.') + name.name;
        if (!m_fields.contains(key.toUpper())) {
            problem = QStringLiteral("no field ") + key;
            return false;
        }
        value = m_fields.value(key.toUpper());
        return true;
    }
    bool TotalValue(int index, CExprValue &value, QString &) override
    {
        value = CExprValue::Whole(100 + index);
        return true;
    }
    QDate Today() const override { return QDate(2026, 3, 14); }
    QLocale Locale() const override { return m_locale; }

private:
    const CExpression &m_expression;
    QLocale m_locale;
    QHash<QString, CExprValue> m_fields;
};

// A value as the tables write it: its kind's letter and its text ("N:13.86", "T:Ada", "NULL").
inline QString Shown(const CExprValue &value)
{
    static const char *const kinds[] = {"NULL", "N:", "T:", "D:", "DT:", "B:"};
    if (value.IsNull())
        return QString::fromLatin1(kinds[0]);
    return QString::fromLatin1(kinds[int(value.GetType())]) + value.ToText();
}
