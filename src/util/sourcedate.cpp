#include "sourcedate.h"

#include <QByteArray>

ESourceDate ReadSourceDate(qint64 &seconds)
{
    const QByteArray text = qgetenv("SOURCE_DATE_EPOCH").trimmed();
    if (text.isEmpty())
        return ESourceDate::Unset;
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    // Up to the year 9999, the last a four-digit year of a PDF date holds.
    if (!ok || value < 0 || value > 253402300799 || text.startsWith('+'))
        return ESourceDate::Malformed;
    seconds = value;
    return ESourceDate::Set;
}
