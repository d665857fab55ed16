#include "fieldplacement.h"

#include "queryentries.h"
#include "reportedit.h"
#include "vorndocument.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QDataStream>
#include <QIODevice>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace FieldChoice {

namespace {

constexpr quint32 formatTag = 0x56464C32; // "VFL2"

} // namespace

QByteArray Encode(const QList<CFieldChoice> &fields)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << formatTag << quint32(fields.size());
    for (const CFieldChoice &field : fields) {
        out << field.dataSource << field.dataField << field.binary << field.format
            << qint32(field.horzAlignment) << field.name << qint32(field.width);
    }
    return bytes;
}

QList<CFieldChoice> Decode(const QByteArray &bytes)
{
    QDataStream in(bytes);
    quint32 tag = 0;
    quint32 count = 0;
    in >> tag >> count;
    if (in.status() != QDataStream::Ok || tag != formatTag)
        return {};
    QList<CFieldChoice> fields;
    for (quint32 i = 0; i < count; ++i) {
        CFieldChoice field;
        qint32 alignment = 0;
        qint32 width = 0;
        in >> field.dataSource >> field.dataField >> field.binary >> field.format >> alignment
                >> field.name >> width;
        if (in.status() != QDataStream::Ok)
            return {};
        field.horzAlignment = alignment;
        field.width = std::max(0, width);
        fields.append(field);
    }
    return fields;
}

QList<CFieldChoice> PageNumber()
{
    CFieldChoice page;
    page.dataField = u"#PAGE"_s;
    page.format = u"Page %d"_s;
    page.name = u"Page Number"_s;
    return {page};
}

QList<CFieldChoice> PageNofM()
{
    QList<CFieldChoice> fields = PageNumber();
    fields.first().horzAlignment = 1;
    CFieldChoice count;
    count.dataField = u"#PAGES"_s;
    // The number of pages follows the right-aligned page number with a space between.
    count.format = u" of %d"_s;
    count.name = u"Page Count"_s;
    // " of 9999" in the default font, and no more: the page number takes the rest.
    count.width = 1500;
    fields.append(count);
    return fields;
}

QList<CFieldChoice> ForElementsEntry(int code)
{
    switch (code) {
    case PageNumberEntry:
        return PageNumber();
    case PageNofMEntry:
        return PageNofM();
    default:
        return {};
    }
}

QString UniqueItemName(const CVornReport &report, const CVornBand &band, const QString &base)
{
    CQueryEntries entries;
    QString ignored;
    band.CollectQueryEntries(entries, ignored);
    const QString stem = base.trimmed().isEmpty() ? u"Field"_s : base.trimmed();
    for (int n = 1; n <= 99999; ++n) {
        const QString candidate = n == 1 ? stem : u"%1 %2"_s.arg(stem).arg(n);
        if (!report.FindByName(candidate) && !entries.Contains(candidate))
            return candidate;
    }
    return {};
}

QList<CVornItem *> Place(CVornDocument &document, CVornBand &band, const Placement &placement,
                         const QList<CFieldChoice> &fields, const QString &stepName)
{
    QList<CVornItem *> placed;
    if (fields.isEmpty())
        return placed;
    // Fields of a width of their own keep it; the others share the placement's width.
    qint64 fixed = 0;
    qsizetype shared = 0;
    for (const CFieldChoice &field : fields) {
        fixed += field.width;
        shared += field.width > 0 ? 0 : 1;
    }
    int width = std::max(1, placement.width);
    // Side by side they stay on the page, as long as each keeps a useful width.
    const qint64 room = qint64(placement.pageRight) - placement.left - fixed;
    if (shared > 0 && room > 0 && room < qint64(width) * shared)
        width = std::max(int(room / shared), std::min(width, 500));
    // Where they would still run past the page's edge, they start further left.
    int left = placement.left;
    const qint64 total = fixed + qint64(width) * shared;
    if (placement.pageRight > 0 && left + total > placement.pageRight)
        left = int(std::max<qint64>(0, placement.pageRight - total));

    CVornReport &report = document.GetReport();
    CReportEdit edit(document, stepName);
    report.DeselectAll();
    for (const CFieldChoice &field : fields) {
        const int itemWidth = field.width > 0 ? field.width : width;
        std::unique_ptr<CVornItem> item;
        int height = std::max(1, placement.height);
        if (field.binary) {
            auto image = std::make_unique<CVornDbImage>();
            image->SetDataSource(field.dataSource);
            image->SetDataField(field.dataField);
            height = itemWidth;
            item = std::move(image);
        } else {
            auto text = std::make_unique<CVornDbText>();
            text->SetDataSource(field.dataSource);
            text->SetDataField(field.dataField);
            text->SetFormat(field.format);
            text->SetHorzAlignment(field.horzAlignment);
            item = std::move(text);
        }
        // Inside the band when it is high enough; its top edge otherwise.
        const int top = std::max(0, std::min(placement.top, band.GetHeight() - height));
        item->SetRect(left, top, left + itemWidth, top + height);
        item->SetName(
                UniqueItemName(report, band, field.name.isEmpty() ? field.dataField : field.name));
        item->SetSelected(true);
        placed.append(edit.InsertItem(&band, band.GetItems().GetCount(), std::move(item)));
        left += itemWidth;
    }
    edit.Commit();
    return placed;
}

} // namespace FieldChoice
