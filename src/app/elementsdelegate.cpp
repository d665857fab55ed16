#include "elementsdelegate.h"

#include "colorref.h"
#include "elementsctrl.h"
#include "elementsicons.h"
#include "readablecolor.h"
#include "vornkind.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyle>

QRgb CElementsDelegate::RowTextColor(int kind)
{
    if (kind == VornKind::None)
        return PointerColor;
    return IsBand(kind) ? BandColor : ItemColor;
}

QColor CElementsDelegate::ReadableRowColor(int kind, const QPalette &palette)
{
    // The row colours are made for a light list; a dark look lightens them.
    return ColorRefToQColor(ReadableColorRef(QColorToColorRef(QColor::fromRgb(RowTextColor(kind))),
                                             QColorToColorRef(palette.color(QPalette::Base))));
}

void CElementsDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const
{
    if (!index.isValid())
        return;
    const QPalette &palette = option.palette;
    // The row that has the focus is the list's current row, whether or not the list itself
    // has the keyboard focus.
    const auto *view = qobject_cast<const QAbstractItemView *>(option.widget);
    const bool focused = (view && view->currentIndex() == index)
            || option.state.testFlag(QStyle::State_HasFocus);
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QRect row = option.rect;
    const QRect textArea = row.adjusted(TextIndent, 0, 0, 0);

    painter->save();
    painter->fillRect(row, palette.color(QPalette::Base));
    painter->fillRect(textArea,
                      palette.color(selected || focused ? QPalette::Highlight : QPalette::Base));
    if (focused) {
        // A dotted frame, whatever the style; the list draws no focus frame of its own.
        painter->setPen(QPen(palette.color(QPalette::HighlightedText), 1, Qt::DotLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(textArea.adjusted(0, 0, -1, -1));
    }

    const auto *list = qobject_cast<const CElementsCtrl *>(option.widget);
    const int icon = index.data(CElementsCtrl::IconRole).toInt();
    if (list && icon >= 0 && icon < ElementsIcons::IconCount) {
        const int size = ElementsIcons::IconSize;
        painter->drawPixmap(row.left() + 2, row.top() + 2, list->GetIconStrip(), icon * size, 0,
                            size, size);
    }

    painter->setPen(
            selected || focused
                    ? palette.color(QPalette::HighlightedText)
                    : ReadableRowColor(index.data(CElementsCtrl::KindRole).toInt(), palette));
    // A kind kept for one insertion after another shows in bold type.
    QFont font = option.font;
    if (list && list->GetLockedKind() >= 0
        && index.data(CElementsCtrl::KindRole).toInt() == list->GetLockedKind())
        font.setBold(true);
    painter->setFont(font);
    const QRect textBox = textArea.adjusted(2, 0, -2, 0);
    const QString text = QFontMetrics(font).elidedText(index.data(Qt::DisplayRole).toString(),
                                                       Qt::ElideRight, textBox.width());
    painter->drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    painter->restore();
}

QSize CElementsDelegate::sizeHint(const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    const int width = TextIndent + 4 + option.fontMetrics.horizontalAdvance(text);
    // Room for the 16-pixel icon 2 pixels below the row's top.
    const int height = std::max(ElementsIcons::IconSize + 4, option.fontMetrics.height() + 4);
    return QSize(width, height);
}
