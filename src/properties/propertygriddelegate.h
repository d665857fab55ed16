#pragma once

#include <QStyledItemDelegate>

class CPropertiesCtrl;

// Draws the grid's cells (shaded group rows, disabled read-only rows, bold
// changed values, colour swatches, cell lines) and makes the in-place editor
// of a row kind: a line edit for text and integer rows, a drop-down list for
// option rows and a swatch list for colour rows.
class CPropertyGridDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CPropertyGridDelegate(CPropertiesCtrl *grid);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;

    // The background of group rows and of the margin left of the names.
    static QColor ShadeColor(const QPalette &palette);

private:
    void CommitAndClose(QWidget *editor);

    CPropertiesCtrl *m_grid;
};
