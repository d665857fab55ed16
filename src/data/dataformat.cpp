#include "dataformat.h"

#include <QCoreApplication>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <locale.h>
#include <vector>

namespace {

constexpr int MaxWidth = 255;

QString Tr(const char *text)
{
    return QCoreApplication::translate("Vantel", text);
}

bool IsNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

bool IsFloating(const QVariant &value)
{
    return value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float;
}

QString PlainText(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

double ToDouble(const QVariant &value)
{
    if (value.isNull())
        return 0;
    if (IsNumber(value))
        return value.toDouble();
    bool ok = false;
    const double number = PlainText(value).trimmed().toDouble(&ok);
    return ok ? number : 0;
}

long long ClampToInteger(double number)
{
    if (std::isnan(number))
        return 0;
    if (number >= 9.2233720368547758e18)
        return std::numeric_limits<long long>::max();
    if (number <= -9.2233720368547758e18)
        return std::numeric_limits<long long>::min();
    return static_cast<long long>(number);
}

long long ToInteger(const QVariant &value)
{
    if (value.isNull())
        return 0;
    if (IsFloating(value))
        return ClampToInteger(value.toDouble());
    if (value.typeId() == QMetaType::ULongLong || value.typeId() == QMetaType::ULong)
        return static_cast<long long>(value.toULongLong());
    if (IsNumber(value))
        return value.toLongLong();
    const QString text = PlainText(value).trimmed();
    bool ok = false;
    const long long whole = text.toLongLong(&ok);
    return ok ? whole : ClampToInteger(ToDouble(text));
}

// snprintf in the C locale whatever the program's locale: reports print "3.5", not "3,5".
template<typename Number>
QString PrintNumber(const QByteArray &format, Number number)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    const locale_t previous = uselocale(cLocale);
    // Most numbers fit the buffer at hand; a wide one is printed again in a buffer of its size.
    char line[64];
    const int size = std::snprintf(line, sizeof line, format.constData(), number);
    QString printed;
    if (size < int(sizeof line)) {
        printed = QString::fromLatin1(line, std::max(size, 0));
    } else {
        std::vector<char> buffer(size_t(size) + 1);
        std::snprintf(buffer.data(), buffer.size(), format.constData(), number);
        printed = QString::fromLatin1(buffer.data(), size);
    }
    uselocale(previous);
    return printed;
}

QString Pad(QString text, int width, bool left)
{
    if (width > text.size()) {
        const QString fill(width - text.size(), u' ');
        text = left ? text + fill : fill + text;
    }
    return text;
}

} // namespace

bool CDataFormat::Parse(const QString &format, CDataFormat &result, QString &problem)
{
    result = CDataFormat();
    problem.clear();
    result.m_plain = format.isEmpty();
    const qsizetype size = format.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = format.at(i);
        QString &literal = result.m_hasConversion ? result.m_suffix : result.m_prefix;
        if (c != u'%') {
            literal.append(c);
            continue;
        }
        if (i + 1 < size && format.at(i + 1) == u'%') {
            literal.append(u'%');
            ++i;
            continue;
        }
        const qsizetype start = i;
        qsizetype j = i + 1;
        QByteArray flags;
        while (j < size && QStringView(u"-+ #0").contains(format.at(j)))
            flags.append(char(format.at(j++).unicode()));
        auto readNumber = [&](int &number) {
            number = 0;
            while (j < size && format.at(j).isDigit() && format.at(j).unicode() < 128) {
                number = std::min(number * 10 + format.at(j).digitValue(), MaxWidth + 1);
                ++j;
            }
        };
        int width = -1;
        if (j < size && format.at(j).isDigit())
            readNumber(width);
        int precision = -1;
        if (j < size && format.at(j) == u'.') {
            ++j;
            readNumber(precision);
        }
        if (width > MaxWidth) {
            problem = Tr("the width in \"%1\" is above 255").arg(format.mid(start, j - start));
            return false;
        }
        if (precision > MaxWidth) {
            problem = Tr("the precision in \"%1\" is above 255").arg(format.mid(start, j - start));
            return false;
        }
        int bits = 64;
        for (const char *length : {"hh", "ll", "h", "l", "L", "j", "z", "t"}) {
            const QLatin1StringView letters(length);
            if (QStringView(format).mid(j).startsWith(letters)) {
                j += letters.size();
                if (letters == QLatin1StringView("hh"))
                    bits = 8;
                else if (letters == QLatin1StringView("h"))
                    bits = 16;
                break;
            }
        }
        if (j >= size) {
            problem = Tr("\"%1\" at the end is not a whole conversion").arg(format.mid(start));
            return false;
        }
        const QChar letter = format.at(j);
        if (letter.unicode() >= 128 || !QStringView(u"diuxXoeEfFgGsc").contains(letter)) {
            problem = Tr("\"%1\" is not an allowed conversion")
                              .arg(format.mid(start, j - start + 1));
            return false;
        }
        if (result.m_hasConversion) {
            problem = Tr("a format may hold only one conversion");
            return false;
        }
        result.m_hasConversion = true;
        result.m_flags = flags;
        result.m_width = width;
        result.m_precision = precision;
        result.m_conversion = char(letter.unicode());
        result.m_bits = bits;
        // Rebuilt from the parsed parts only: flags from a fixed set, two bounded numbers and a
        // conversion letter from a fixed set.
        QByteArray pattern = "%" + flags;
        if (width >= 0)
            pattern += QByteArray::number(width);
        if (precision >= 0)
            pattern += '.' + QByteArray::number(precision);
        if (QByteArrayView("diuxXo").contains(result.m_conversion))
            pattern += "ll";
        result.m_pattern = pattern + result.m_conversion;
        i = j;
    }
    return true;
}

QString CDataFormat::Format(const QVariant &value) const
{
    if (m_plain)
        return PlainText(value);
    if (!m_hasConversion)
        return m_prefix;

    const bool left = m_flags.contains('-');
    QString converted;
    switch (m_conversion) {
    case 's': {
        QString text = PlainText(value);
        if (m_precision >= 0)
            text.truncate(m_precision);
        converted = Pad(text, m_width, left);
        break;
    }
    case 'c': {
        QString text;
        if (IsNumber(value)) {
            const long long code = ToInteger(value);
            const char32_t character = char32_t(code);
            if (code > 0 && code <= 0x10FFFF && !QChar::isSurrogate(character))
                text = QString::fromUcs4(&character, 1);
        } else {
            const QString plain = PlainText(value);
            if (!plain.isEmpty())
                text = plain.left(plain.at(0).isHighSurrogate() ? 2 : 1);
        }
        converted = Pad(text, m_width, left);
        break;
    }
    default: {
        if (QByteArrayView("diuxXo").contains(m_conversion)) {
            const bool isSigned = m_conversion == 'd' || m_conversion == 'i';
            long long number = ToInteger(value);
            // As C's printf does with hh and h: the number keeps its low bits, signed or not
            // as the conversion says.
            if (m_bits == 8)
                number = isSigned ? static_cast<signed char>(number)
                                  : static_cast<unsigned char>(number);
            else if (m_bits == 16)
                number = isSigned ? static_cast<short>(number)
                                  : static_cast<unsigned short>(number);
            converted = isSigned ? PrintNumber(m_pattern, number)
                                 : PrintNumber(m_pattern, static_cast<unsigned long long>(number));
        } else {
            converted = PrintNumber(m_pattern, ToDouble(value));
        }
        break;
    }
    }
    if (m_prefix.isEmpty() && m_suffix.isEmpty())
        return converted;
    return m_prefix + converted + m_suffix;
}
