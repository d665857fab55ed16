#include "fieldplacement.h"

#include "queryentries.h"
#include "reportedit.h"
#include "vorndocument.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QDataStream>
#include <QIODevice>

using namespace Qt::StringLiterals;

namespace FieldChoice {

namespace {

constexpr quint32 formatTag = 0x56464C31; // "VFL1"

} // namespace

QByteArray Encode(const QList<CFieldChoice> &fields)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << formatTag << quint32(fields.size());
    for (const CFieldChoice &field : fields) {
        out << field.dataSource << field.dataField << field.binary << field.format
            << qint32(field.horzAlignment) << field.name;
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
        in >> field.dataSource >> field.dataField >> field.binary >> field.format >> alignment
                >> field.name;
        if (in.status() != QDataStream::Ok)
            return {};
        field.horzAlignment = alignment;
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
    const qsizetype count = fields.size();
    int width = std::max(1, placement.width);
    // Side by side they stay on the page, as long as each keeps a useful width.
    const qint64 room = qint64(placement.pageRight) - placement.left;
    if (room > 0 && room < qint64(width) * count)
        width = std::max(int(room / count), std::min(width, 500));

    CVornReport &report = document.GetReport();
    CReportEdit edit(document, stepName);
    report.DeselectAll();
    int left = placement.left;
    for (const CFieldChoice &field : fields) {
        std::unique_ptr<CVornItem> item;
        int height = std::max(1, placement.height);
        if (field.binary) {
            auto image = std::make_unique<CVornDbImage>();
            image->SetDataSource(field.dataSource);
            image->SetDataField(field.dataField);
            height = width;
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
        item->SetRect(left, top, left + width, top + height);
        item->SetName(
                UniqueItemName(report, band, field.name.isEmpty() ? field.dataField : field.name));
        item->SetSelected(true);
        placed.append(edit.InsertItem(&band, band.GetItems().GetCount(), std::move(item)));
        left += width;
    }
    edit.Commit();
    return placed;
}

} // namespace FieldChoice
