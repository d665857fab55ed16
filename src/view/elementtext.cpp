#include "elementtext.h"

#include "vornreport.h"

#include <QCoreApplication>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("Vantel", text);
}

QString NameOf(const CVornElement &element)
{
    return element.GetName().isEmpty() ? Tr("(no name)") : element.GetName();
}

} // namespace

namespace ElementText {

QString Millimetres(qint64 value)
{
    const QString sign = value < 0 ? QStringLiteral("-") : QString();
    const qint64 magnitude = value < 0 ? -value : value;
    return Tr("%1%2.%3 mm")
            .arg(sign)
            .arg(magnitude / 100)
            .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

QString Describe(const CVornReport &report, const CVornElement *element)
{
    if (!element)
        return QString();
    const QString own = Tr("%1 (%2)").arg(NameOf(*element), KindName(element->GetKind()));
    if (dynamic_cast<const CVornBand *>(element))
        return own;
    const int index = report.IndexOfBand(element);
    if (index < 0)
        return own;
    return Tr("%1 on %2").arg(own, NameOf(*report.GetBands()[index]));
}

QString Geometry(const CVornReport &report, const CVornElement *element)
{
    const int index = report.IndexOfBand(element);
    if (index < 0)
        return QString();
    const auto &bands = report.GetBands();
    if (element == bands[index]) {
        qint64 top = 0;
        for (int i = 0; i < index; ++i)
            top += bands[i]->GetEffectiveHeight();
        return Tr("Top %1, Height %2")
                .arg(Millimetres(top), Millimetres(bands[index]->GetEffectiveHeight()));
    }
    const auto *item = dynamic_cast<const CVornItem *>(element);
    if (!item)
        return QString();
    return Tr("Left %1, Top %2, Width %3, Height %4")
            .arg(Millimetres(item->GetLeft()), Millimetres(item->GetTop()),
                 Millimetres(qint64(item->GetRight()) - item->GetLeft()),
                 Millimetres(qint64(item->GetBottom()) - item->GetTop()));
}

} // namespace ElementText
