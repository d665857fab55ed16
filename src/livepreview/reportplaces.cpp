#include "reportplaces.h"

#include "vornreport.h"

#include <QRegularExpression>

namespace ReportPlaces {

CPageSource PlaceOf(const CVornReport &report, const CVornElement *element)
{
    const auto &bands = report.GetBands();
    for (int b = 0; b < bands.GetCount(); ++b) {
        if (bands[b] == element)
            return {b, -1};
        const auto *asItem = dynamic_cast<const CVornItem *>(element);
        const int item = asItem ? bands[b]->GetItems().IndexOf(asItem) : -1;
        if (item >= 0)
            return {b, item};
    }
    return {};
}

namespace {

template<typename P>
P Match(const CObjectArray<P> &now, const CObjectArray<P> &then, int index)
{
    if (index < 0 || index >= then.GetCount())
        return nullptr;
    const QString &name = then[index]->GetName();
    if (index < now.GetCount() && now[index]->GetName() == name)
        return now[index];
    for (P element : now) {
        if (element->GetName().compare(name, Qt::CaseInsensitive) == 0)
            return element;
    }
    return nullptr;
}

} // namespace

CVornElement *Find(const CVornReport &report, const CVornReport &laidOut, const CPageSource &source)
{
    CVornBand *band = Match(report.GetBands(), laidOut.GetBands(), source.band);
    if (!band || source.item < 0)
        return band;
    return Match(band->GetItems(), laidOut.GetBands()[source.band]->GetItems(), source.item);
}

CPageSource OfValidationMessage(const QString &message)
{
    static const QRegularExpression pattern(QStringLiteral(
            "^Band #(\\d+) (?:is invalid: (?:Item #(\\d+) is invalid)?|will not fit)"));
    const QRegularExpressionMatch match = pattern.match(message);
    if (!match.hasMatch())
        return {};
    const int item = match.capturedView(2).isEmpty() ? -1 : match.capturedView(2).toInt();
    return {match.capturedView(1).toInt(), item};
}

} // namespace ReportPlaces
