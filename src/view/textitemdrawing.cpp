#include "itemdrawing.h"

#include "itempainter.h"
#include "kindtable.h"
#include "pagegeometry.h"
#include "paintcache.h"
#include "pixeldrawing.h"
#include "textitemlayout.h"
#include "vorndbtext.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

void DrawText(const CVornItem &textItem, const PixRect &box, const CItemDrawContext &context)
{
    const auto &item = static_cast<const CVornText &>(textItem);
    QPainter &painter = context.painter;
    QString text = TextItemString(item);
    const QFont font = TextItemFont(item, context.geometry.DpiY(), context.zoom);
    painter.setFont(font);
    painter.setPen(ColorFromColorRef(item.GetColor()));
    const int flags = TextItemFlags(item);
    text = ItemTextShown(painter, box, text, flags);
    const PixRect layout = ItemTextLayout(painter, box, text, flags, item.GetVertAlignment(),
                                          &context.cache.texts);
    if (item.GetKind() == VornKind::DbText) {
        // A placeholder too long for its box shows its end, where the field name is.
        const CTextMeasureCache::Key key {font.key(),   painter.device()->logicalDpiY(),
                                          text,         box.Width(),
                                          box.Height(), flags};
        text = context.cache.texts.Trimmed(key, [&] {
            const QFontMetrics metrics = painter.fontMetrics();
            return TrimFromLeft(text, box.Width(), [&metrics](const QString &s) {
                return metrics.horizontalAdvance(s);
            });
        });
    }
    if (!layout.IsEmpty())
        painter.drawText(layout.ToQRect(), flags, text);
}

} // namespace

void AddTextDrawings(CKindTable<CItemDrawing> &table)
{
    table.Add(VornKind::Text, {DrawText});
    table.Add(VornKind::DbText, {DrawText});
}
