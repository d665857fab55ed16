#include "exprvalue.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace {

// Date and time values are wall-clock times: kept in UTC so that no zone or daylight saving
// moves them.
QDateTime WallClock(QDate date, QTime time)
{
    return QDateTime(date, time, Qt::UTC);
}

int Digits(QStringView text, qsizetype from, int count)
{
    if (from + count > text.size())
        return -1;
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const QChar c = text[from + i];
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// Reads "yyyy-MM-dd" with an optional " HH:mm", ":ss" and ".zzz" (a "T" for the blank too).
bool ReadIsoDateTime(QStringView text, QDate &date, QTime &time, bool &hasTime)
{
    text = text.trimmed();
    const int year = Digits(text, 0, 4);
    const int month = Digits(text, 5, 2);
    const int day = Digits(text, 8, 2);
    if (year < 0 || month < 0 || day < 0 || text[4] != u'-' || text[7] != u'-')
        return false;
    date = QDate(year, month, day);
    if (!date.isValid())
        return false;
    hasTime = text.size() > 10;
    time = QTime(0, 0);
    if (!hasTime)
        return true;
    if ((text[10] != u' ' && text[10] != u'T') || text.size() < 16 || text[13] != u':')
        return false;
    const int hour = Digits(text, 11, 2);
    const int minute = Digits(text, 14, 2);
    int second = 0;
    int milliseconds = 0;
    qsizetype end = 16;
    if (text.size() > 16) {
        second = text[16] == u':' ? Digits(text, 17, 2) : -1;
        end = 19;
        if (text.size() > 19 && text[19] == u'.') {
            // Fractions of a second beyond milliseconds are cut off.
            qsizetype i = 20;
            int scale = 100;
            for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i, scale /= 10)
                milliseconds += (text[i].unicode() - u'0') * scale;
            end = i;
        }
    }
    if (hour < 0 || minute < 0 || second < 0 || end != text.size())
        return false;
    time = QTime(hour, minute, second, milliseconds);
    return time.isValid();
}

} // namespace

CExprValue::CExprValue(const CExactDecimal &number)
    : m_value(number)
{ }

CExprValue::CExprValue(const QString &text)
    : m_value(text)
{ }

CExprValue::CExprValue(QDate date)
    : m_value(date)
{ }

CExprValue::CExprValue(const QDateTime &dateTime)
    : m_value(WallClock(dateTime.date(), dateTime.time()))
{ }

CExprValue CExprValue::Boolean(bool value)
{
    CExprValue result;
    result.m_value = value;
    return result;
}

CExprValue CExprValue::Whole(qint64 value)
{
    return CExprValue(CExactDecimal(value));
}

CExprValue CExprValue::FromVariant(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return {};
    switch (value.typeId()) {
    case QMetaType::Bool:
        return Boolean(value.toBool());
    case QMetaType::QDate:
        return CExprValue(value.toDate());
    case QMetaType::QDateTime:
        return CExprValue(value.toDateTime());
    case QMetaType::QString:
        return CExprValue(value.toString());
    case QMetaType::QByteArray:
        return CExprValue(QString::fromUtf8(value.toByteArray()));
    default:
        break;
    }
    CExactDecimal number;
    if (CExactDecimal::FromValue(value, number))
        return CExprValue(number);
    // An infinity or a number beyond 38 digits stays what the database wrote.
    return CExprValue(value.toString());
}

bool CExprValue::ToNumber(CExactDecimal &number) const
{
    switch (GetType()) {
    case Type::Number:
        number = GetNumber();
        return true;
    case Type::Text:
        return CExactDecimal::FromText(GetText(), number);
    default:
        return false;
    }
}

bool CExprValue::ToDate(QDate &date) const
{
    switch (GetType()) {
    case Type::Date:
        date = GetDate();
        return true;
    case Type::DateTime:
        date = GetDateTime().date();
        return true;
    case Type::Text: {
        QTime time;
        bool hasTime = false;
        return ReadIsoDateTime(GetText(), date, time, hasTime);
    }
    default:
        return false;
    }
}

bool CExprValue::ToDateTime(QDateTime &dateTime) const
{
    switch (GetType()) {
    case Type::Date:
        dateTime = WallClock(GetDate(), QTime(0, 0));
        return true;
    case Type::DateTime:
        dateTime = GetDateTime();
        return true;
    case Type::Text: {
        QDate date;
        QTime time;
        bool hasTime = false;
        if (!ReadIsoDateTime(GetText(), date, time, hasTime))
            return false;
        dateTime = WallClock(date, time);
        return true;
    }
    default:
        return false;
    }
}

QString CExprValue::ToText() const
{
    switch (GetType()) {
    case Type::Null:
        return {};
    case Type::Number:
        return GetNumber().ToString();
    case Type::Text:
        return GetText();
    case Type::Date:
        return GetDate().toString(u"yyyy-MM-dd"_s);
    case Type::DateTime:
        return GetDateTime().toString(GetDateTime().time().msec() ? u"yyyy-MM-dd HH:mm:ss.zzz"_s
                                                                  : u"yyyy-MM-dd HH:mm:ss"_s);
    case Type::Boolean:
        return GetBoolean() ? u"TRUE"_s : u"FALSE"_s;
    }
    return {};
}

QVariant CExprValue::ToVariant() const
{
    switch (GetType()) {
    case Type::Null:
        return {};
    case Type::Number:
        return GetNumber().ToVariant();
    case Type::Date:
        return GetDate();
    case Type::DateTime:
        return GetDateTime();
    default:
        return ToText();
    }
}

QString CExprValue::TypeName(Type type)
{
    switch (type) {
    case Type::Null:
        return QCoreApplication::translate("Expression", "NULL");
    case Type::Number:
        return QCoreApplication::translate("Expression", "a number");
    case Type::Text:
        return QCoreApplication::translate("Expression", "a text");
    case Type::Date:
        return QCoreApplication::translate("Expression", "a date");
    case Type::DateTime:
        return QCoreApplication::translate("Expression", "a date and time");
    case Type::Boolean:
        return QCoreApplication::translate("Expression", "true or false");
    }
    return {};
}

bool CExprValue::Compare(const CExprValue &a, const CExprValue &b, int &order)
{
    const auto sign = [&order](auto x, auto y) {
        order = x < y ? -1 : y < x ? 1 : 0;
        return true;
    };
    const Type ta = a.GetType();
    const Type tb = b.GetType();
    if (ta == Type::Text && tb == Type::Text)
        return sign(a.GetText(), b.GetText());
    if (ta == Type::Boolean || tb == Type::Boolean)
        return ta == tb && sign(a.GetBoolean(), b.GetBoolean());
    if (ta == Type::Number || tb == Type::Number) {
        CExactDecimal x;
        CExactDecimal y;
        if (!a.ToNumber(x) || !b.ToNumber(y))
            return false;
        order = x.Compare(y);
        return true;
    }
    QDateTime x;
    QDateTime y;
    return a.ToDateTime(x) && b.ToDateTime(y) && sign(x, y);
}

bool CExprValue::operator==(const CExprValue &other) const
{
    if (GetType() != other.GetType())
        return false;
    int order = 0;
    return IsNull() || (Compare(*this, other, order) && order == 0);
}
