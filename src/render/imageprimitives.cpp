#include "itemprimitives.h"
#include "kindtable.h"
#include "vornitems.h"

#include <QFile>

namespace {

CPageImage ImageOf(const CVornImage &item, const CPageRect &box, const CItemPlan &plan)
{
    return {box, plan.picture, item.GetHorzAlignment(), item.GetVertAlignment(), plan.place};
}

} // namespace

bool BuildImagePrimitives(const CVornItem &item, const CPageRect &box, CItemRow &row,
                          CBandContent &content)
{
    content.Add(ImageOf(static_cast<const CVornImage &>(item), box, row.Plan()));
    return true;
}

bool BuildDbImagePrimitives(const CVornItem &item, const CPageRect &box, CItemRow &row,
                            CBandContent &content)
{
    const auto &dbImage = static_cast<const CVornDbImage &>(item);
    CPageImage image = ImageOf(dbImage, box, row.Plan());
    QVariant value;
    if (!row.Value(dbImage.GetDataSource(), dbImage.GetDataField(), {}, value))
        return false;
    QByteArray bytes = value.toByteArray();
    if (row.NoDatabase() && !bytes.isEmpty()) {
        // Without a database the caller names a picture file.
        QFile file(value.toString());
        bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // No picture in the row prints nothing; bytes that are no picture the placeholder.
    if (bytes.isEmpty())
        return true;
    image.picture = row.PictureOf(bytes);
    content.Add(std::move(image));
    return true;
}

void AddImagePrinting(CKindTable<CItemPrinting> &table)
{
    table.Add(CVornImage::Kind, {BuildImagePrimitives, [](const CVornItem &item) {
                                     return &static_cast<const CVornImage &>(item).GetImageData();
                                 }});
    // A database image's picture comes from its data.
    table.Add(CVornDbImage::Kind, {BuildDbImagePrimitives});
}
