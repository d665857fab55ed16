#pragma once

#include <QStyledItemDelegate>

// Draws the rows of the Elements list: the icon on the left, the text coloured by the row's
// group (pointer, bands, items) on the highlight when the row is selected or focused, cut
// with an ellipsis when it does not fit.
class CElementsDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // Text colours of the pointer row, the band rows (1 to 5) and the item rows (6 and later).
    static constexpr QRgb PointerColor = 0x800000;
    static constexpr QRgb BandColor = 0x008000;
    static constexpr QRgb ItemColor = 0x000080;
    // The text starts this far right of the row's left edge, after the icon.
    static constexpr int TextIndent = 20;

    using QStyledItemDelegate::QStyledItemDelegate;

    // The text colour of an unselected, unfocused row of the kind: the pointer, a band kind or
    // an item kind.
    static QRgb RowTextColor(int kind);
    // That colour as drawn on the list's background: lightened in a dark look.
    static QColor ReadableRowColor(int kind, const QPalette &palette);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
