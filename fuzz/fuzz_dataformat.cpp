// Parses any text as a DB Text's Data Format and, where it is accepted, formats
// values of every kind with it. An accepted format holds at most one
// conversion, and what it gives stays within the bounds its width and
// precision allow.

#include "dataformat.h"

#include <QString>
#include <QStringView>
#include <QVariant>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

// The conversions left once every "%%" is taken out.
int Conversions(const QString &format)
{
    int count = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != u'%')
            continue;
        if (i + 1 < format.size() && format[i + 1] == u'%')
            ++i;
        else
            ++count;
    }
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString format
            = QStringView(reinterpret_cast<const char16_t *>(data), qsizetype(size / 2)).toString();
    CDataFormat parsed;
    QString problem;
    if (!CDataFormat::Parse(format, parsed, problem)) {
        if (problem.isEmpty())
            std::abort(); // a refusal always says why
        return 0;
    }
    if (Conversions(format) > 1) {
        std::fprintf(stderr, "accepted with two conversions\n");
        std::abort();
    }
    const QVariant values[] = {
            QVariant(),
            QVariant(0),
            QVariant(-1),
            QVariant(std::numeric_limits<qint64>::min()),
            QVariant(std::numeric_limits<quint64>::max()),
            QVariant(1e308),
            QVariant(-4.9e-324),
            QVariant(std::numeric_limits<double>::quiet_NaN()),
            QVariant(-std::numeric_limits<double>::infinity()),
            QVariant(QStringLiteral("12.5abc")),
            QVariant(QString()),
            QVariant(QStringLiteral("\U0001F600 text")),
            QVariant(QByteArray("\x00\xff", 2)),
    };
    for (const QVariant &value : values) {
        const QString text = parsed.Format(value);
        // Literal text, at most 255 of width or precision, and a number of up
        // to 310 digits with its sign, point and exponent.
        const qsizetype bound
                = format.size() + 255 + 255 + 330 + qMax<qsizetype>(value.toString().size(), 0);
        if (text.size() > bound) {
            std::fprintf(stderr, "output of %lld characters\n",
                         static_cast<long long>(text.size()));
            std::abort();
        }
        if (parsed.Format(value) != text)
            std::abort();
    }
    return 0;
}
