#include "displayformat.h"

#include "exprfunctions.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("DisplayFormat", text);
}

bool IsDigitPlace(QChar c)
{
    return c == u'0' || c == u'#' || c == u',' || c == u'.';
}

// Reads a text in double quotes from the opening quote at i; a doubled quote stands for one.
bool ReadQuoted(const QString &pattern, qsizetype &i, QString &literal, QString &problem)
{
    const qsizetype start = i;
    for (++i; i < pattern.size(); ++i) {
        if (pattern[i] != u'"') {
            literal += pattern[i];
        } else if (i + 1 < pattern.size() && pattern[i + 1] == u'"') {
            literal += u'"';
            ++i;
        } else {
            ++i;
            return true;
        }
    }
    problem = Tr("the text in double quotes at character %1 is not closed").arg(start + 1);
    return false;
}

// How many letters each date field may have.
bool IsDateField(QChar letter, qsizetype count)
{
    switch (letter.unicode()) {
    case u'y':
        return count == 2 || count == 4;
    case u'M':
    case u'd':
        return count >= 1 && count <= 4;
    case u'H':
    case u'h':
    case u'm':
    case u's':
        return count <= 2;
    default:
        return false;
    }
}

QString Padded(int value, int width)
{
    return QString::number(value).rightJustified(width, u'0');
}

} // namespace

bool CDisplayFormat::Parse(const QString &pattern, CDisplayFormat &result, QString &problem)
{
    result = CDisplayFormat();
    result.m_pattern = pattern;
    if (pattern.trimmed().isEmpty()) {
        problem = Tr("the display format is empty");
        return false;
    }
    if (pattern.size() > MaxLength) {
        problem = Tr("a display format is at most %1 characters long").arg(MaxLength);
        return false;
    }
    bool number = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        QString skipped;
        if (pattern[i] == u'"' && !ReadQuoted(pattern, i, skipped, problem))
            return false;
        if (i < pattern.size() && (pattern[i] == u'0' || pattern[i] == u'#'))
            number = true;
    }
    if (number) {
        result.m_kind = Kind::Number;
        enum { Before, Whole, Decimals, After } state = Before;
        for (qsizetype i = 0; i < pattern.size();) {
            const QChar c = pattern[i];
            QString &literal = state == Before ? result.m_prefix : result.m_suffix;
            if (IsDigitPlace(c)) {
                if (state == After || (c == u'.' && state == Decimals)
                    || (c == u',' && state != Whole)) {
                    problem = Tr("\"%1\" at character %2 stands outside the one run of digit "
                                 "places of the number")
                                      .arg(c)
                                      .arg(i + 1);
                    return false;
                }
                if (c == u'.') {
                    if (i > 0 && pattern[i - 1] == u',') {
                        problem = Tr("a comma at character %1 must stand between digit places")
                                          .arg(i);
                        return false;
                    }
                    state = Decimals;
                } else if (c == u',') {
                    result.m_grouping = true;
                } else if (state == Decimals) {
                    result.m_minDecimals += c == u'0' ? 1 : 0;
                    ++result.m_maxDecimals;
                } else {
                    state = Whole;
                    result.m_minWhole += c == u'0' ? 1 : 0;
                }
                ++i;
                continue;
            }
            if (state != Before)
                state = After;
            if (c == u'"') {
                if (!ReadQuoted(pattern, i, literal, problem))
                    return false;
                continue;
            }
            if (c.isLetter()) {
                problem = Tr("put the letter \"%1\" at character %2 in double quotes to print it")
                                  .arg(c)
                                  .arg(i + 1);
                return false;
            }
            result.m_percent = result.m_percent || c == u'%';
            literal += c;
            ++i;
        }
        if (pattern.endsWith(u',')) {
            problem = Tr("a comma at character %1 must stand between digit places")
                              .arg(pattern.size());
            return false;
        }
        if (result.m_maxDecimals > CExactDecimal::MaxDigits) {
            problem = Tr("a number is written with at most %1 decimals")
                              .arg(CExactDecimal::MaxDigits);
            return false;
        }
        return true;
    }
    result.m_kind = Kind::Date;
    bool anyField = false;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        Part part;
        if (c == u'"') {
            if (!ReadQuoted(pattern, i, part.literal, problem))
                return false;
        } else if (QStringView(pattern).mid(i, 2).compare(u"AP", Qt::CaseInsensitive) == 0) {
            part.literal = pattern.mid(i, 2);
            part.field = true;
            result.m_twelveHours = true;
            i += 2;
        } else if (c.isLetter()) {
            qsizetype end = i;
            while (end < pattern.size() && pattern[end] == c)
                ++end;
            if (!IsDateField(c, end - i)) {
                problem = Tr("\"%1\" at character %2 is no date field (yyyy, MM, dd, HH, mm, "
                             "ss...); put text in double quotes")
                                  .arg(pattern.mid(i, end - i))
                                  .arg(i + 1);
                return false;
            }
            part.literal = pattern.mid(i, end - i);
            part.field = anyField = true;
            i = end;
        } else {
            part.literal = c;
            ++i;
        }
        result.m_parts.push_back(std::move(part));
    }
    if (!anyField) {
        problem = Tr("\"%1\" is neither a number pattern (0, #) nor a date pattern (yyyy, MM, "
                     "dd...)")
                          .arg(pattern);
        return false;
    }
    return true;
}

bool CDisplayFormat::Format(const CExprValue &value, const QLocale &locale, QString &text,
                            QString &problem) const
{
    text.clear();
    if (value.IsNull())
        return true;
    return m_kind == Kind::Number ? FormatNumber(value, locale, text, problem)
                                  : FormatDate(value, locale, text, problem);
}

bool CDisplayFormat::FormatNumber(const CExprValue &value, const QLocale &locale, QString &text,
                                  QString &problem) const
{
    CExactDecimal number;
    if (!value.ToNumber(number)) {
        problem = Tr("%1 is no number").arg(DescribeValue(value));
        return false;
    }
    CExactDecimal rounded;
    if ((m_percent && !number.Times(CExactDecimal(100), number))
        || !number.Rounded(m_maxDecimals, rounded)) {
        problem = Tr("%1 has too many digits").arg(DescribeValue(value));
        return false;
    }
    QString digits = rounded.ToString();
    const bool negative = digits.startsWith(u'-');
    if (negative)
        digits.remove(0, 1);
    const qsizetype point = digits.indexOf(u'.');
    QString whole = point < 0 ? digits : digits.left(point);
    QString decimals = point < 0 ? QString() : digits.mid(point + 1);
    // Decimals beyond the places that show one only when needed go when they are zeros.
    decimals = decimals.leftJustified(m_maxDecimals, u'0', true);
    while (decimals.size() > m_minDecimals && decimals.endsWith(u'0'))
        decimals.chop(1);
    if (whole == u"0" && m_minWhole == 0)
        whole.clear();
    whole = whole.rightJustified(m_minWhole, u'0');
    if (m_grouping) {
        for (qsizetype i = whole.size() - 3; i > 0; i -= 3)
            whole.insert(i, locale.groupSeparator());
    }
    const bool zero = rounded.IsZero();
    text = (negative && !zero ? locale.negativeSign() : QString()) + m_prefix + whole
            + (decimals.isEmpty() ? QString() : locale.decimalPoint() + decimals) + m_suffix;
    return true;
}

bool CDisplayFormat::FormatDate(const CExprValue &value, const QLocale &locale, QString &text,
                                QString &problem) const
{
    QDateTime dateTime;
    if (!value.ToDateTime(dateTime)) {
        problem = Tr("%1 is no date").arg(DescribeValue(value));
        return false;
    }
    const QDate date = dateTime.date();
    const QTime time = dateTime.time();
    for (const Part &part : m_parts) {
        if (!part.field) {
            text += part.literal;
            continue;
        }
        const int size = int(part.literal.size());
        switch (part.literal[0].unicode()) {
        case u'y':
            text += size == 4 ? Padded(date.year(), 4) : Padded(date.year() % 100, 2);
            break;
        case u'M':
            text += size <= 2
                    ? Padded(date.month(), size)
                    : locale.monthName(date.month(),
                                       size == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            break;
        case u'd':
            text += size <= 2
                    ? Padded(date.day(), size)
                    : locale.dayName(date.dayOfWeek(),
                                     size == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            break;
        case u'H':
            text += Padded(time.hour(), size);
            break;
        case u'h':
            text += Padded(m_twelveHours ? (time.hour() + 11) % 12 + 1 : time.hour(), size);
            break;
        case u'm':
            text += Padded(time.minute(), size);
            break;
        case u's':
            text += Padded(time.second(), size);
            break;
        default: {
            const QString marker = time.hour() < 12 ? locale.amText() : locale.pmText();
            text += part.literal == u"ap" ? marker.toLower() : marker;
            break;
        }
        }
    }
    return true;
}
