#include "itemdrawing.h"

#include "itempainter.h"
#include "kindtable.h"
#include "pagegeometry.h"
#include "paintcache.h"
#include "vorndbimage.h"

namespace {

void DrawImage(const CVornItem &item, const PixRect &box, const CItemDrawContext &context)
{
    const auto &image = static_cast<const CVornImage &>(item);
    PaintItemPicture(context.painter, box, context.cache.pictures.Find(image.GetImageData()),
                     image.GetHorzAlignment(), image.GetVertAlignment(), context.geometry.DpiX(),
                     context.geometry.DpiY());
}

} // namespace

void AddImageDrawings(CKindTable<CItemDrawing> &table)
{
    table.Add(CVornImage::Kind, {DrawImage});
    table.Add(CVornDbImage::Kind, {DrawImage});
}
