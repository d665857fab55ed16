#include "propertygriddelegate.h"

#include "colorpickercombo.h"
#include "pathedit.h"
#include "propertiesctrl.h"
#include "propertygridproperty.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>

CPropertyGridDelegate::CPropertyGridDelegate(CPropertiesCtrl *grid)
    : QStyledItemDelegate(grid)
    , m_grid(grid)
{ }

QColor CPropertyGridDelegate::ShadeColor(const QPalette &palette)
{
    return palette.color(QPalette::Active, QPalette::Button);
}

void CPropertyGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    const CPropertyGridProperty *row = m_grid->RowFromIndex(index);
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    if (row) {
        if (row->GetKind() == PropertyRowKind::Group)
            opt.backgroundBrush = ShadeColor(opt.palette);
        if (row->GetKind() == PropertyRowKind::ReadOnly) {
            opt.state &= ~QStyle::State_Enabled;
            opt.palette.setCurrentColorGroup(QPalette::Disabled);
        }
        if (index.column() == 1) {
            if (row->IsModified())
                opt.font.setBold(true);
            if (row->GetKind() == PropertyRowKind::Color && !row->IsMixed()) {
                const int side = qMax(4, opt.rect.height() - 6);
                opt.icon = CColorPickerCombo::Swatch(row->GetColor(), side);
                opt.decorationSize = QSize(side, side);
                opt.features |= QStyleOptionViewItem::HasDecoration;
            }
        }
    }
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();

    // The selected font or file row shows a "..." button for its dialog.
    QRect button;
    if (row && index.column() == 1 && (option.state & QStyle::State_Selected)
        && (row->GetKind() == PropertyRowKind::Font || row->GetKind() == PropertyRowKind::File
            || row->GetKind() == PropertyRowKind::Path)) {
        const int side = option.rect.height() - 1;
        button = QRect(option.rect.right() - side + 1, option.rect.top(), side, side);
        opt.rect.setRight(button.left() - 1);
    }
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    if (button.isValid()) {
        QStyleOptionButton buttonOption;
        buttonOption.initFrom(widget);
        buttonOption.rect = button;
        buttonOption.text = QStringLiteral("...");
        buttonOption.state = QStyle::State_Enabled | QStyle::State_Raised;
        style->drawControl(QStyle::CE_PushButton, &buttonOption, painter, widget);
    }

    // Thin lines between the rows and between name and value.
    painter->save();
    painter->setPen(ShadeColor(option.palette).darker(110));
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    if (index.column() == 0)
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
    painter->restore();
}

QSize CPropertyGridDelegate::sizeHint(const QStyleOptionViewItem &option,
                                      const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    // Room for the in-place editors, which are a little taller than text.
    size.setHeight(qMax(size.height(), option.fontMetrics.height() + 8));
    return size;
}

QWidget *CPropertyGridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                             const QModelIndex &index) const
{
    Q_UNUSED(option);
    const CPropertyGridProperty *row = m_grid->RowFromIndex(index);
    if (!row || index.column() != 1)
        return nullptr;
    // Editors end the edit themselves when a choice is made; signals are not const.
    auto *self = const_cast<CPropertyGridDelegate *>(this);
    switch (row->GetKind()) {
    case PropertyRowKind::Text:
    case PropertyRowKind::Integer: {
        auto *edit = new QLineEdit(parent);
        edit->setObjectName(QStringLiteral("propertyLineEdit"));
        edit->setFrame(false);
        return edit;
    }
    case PropertyRowKind::Option: {
        auto *combo = new QComboBox(parent);
        combo->setObjectName(QStringLiteral("propertyComboBox"));
        combo->setEditable(false);
        combo->addItems(row->GetOptions());
        connect(combo, &QComboBox::activated, self, [self, combo] { self->CommitAndClose(combo); });
        return combo;
    }
    case PropertyRowKind::Suggest: {
        auto *combo = new QComboBox(parent);
        combo->setObjectName(QStringLiteral("propertySuggestBox"));
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->addItems(row->GetOptions());
        connect(combo, &QComboBox::activated, self, [self, combo] { self->CommitAndClose(combo); });
        connect(combo->lineEdit(), &QLineEdit::returnPressed, self,
                [self, combo] { self->CommitAndClose(combo); });
        return combo;
    }
    case PropertyRowKind::Path: {
        auto *edit = new CPathEdit(parent);
        edit->setObjectName(QStringLiteral("propertyPathEdit"));
        connect(edit, &CPathEdit::committed, self, [self, edit] { self->CommitAndClose(edit); });
        return edit;
    }
    case PropertyRowKind::Color: {
        auto *picker = new CColorPickerCombo(parent);
        picker->setObjectName(QStringLiteral("propertyColorPicker"));
        connect(picker, &CColorPickerCombo::colorPicked, self,
                [self, picker] { self->CommitAndClose(picker); });
        return picker;
    }
    default:
        return nullptr;
    }
}

void CPropertyGridDelegate::CommitAndClose(QWidget *editor)
{
    // An editable list may report a choice and a Return for the same commit.
    if (editor->property("vantelCommitted").toBool())
        return;
    editor->setProperty("vantelCommitted", true);
    emit commitData(editor);
    emit closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void CPropertyGridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const CPropertyGridProperty *row = m_grid->RowFromIndex(index);
    if (!row)
        return;
    if (auto *picker = qobject_cast<CColorPickerCombo *>(editor))
        picker->SetColor(row->GetColor());
    else if (auto *path = qobject_cast<CPathEdit *>(editor))
        path->SetText(row->GetValue());
    else if (auto *combo = qobject_cast<QComboBox *>(editor); combo && combo->isEditable())
        combo->setEditText(row->GetValue());
    else if (combo)
        combo->setCurrentIndex(int(row->GetOptions().indexOf(row->GetValue())));
    else if (auto *edit = qobject_cast<QLineEdit *>(editor))
        edit->setText(row->GetValue());
}

// The row keeps the value; the grid reports the change once the editor has closed.
void CPropertyGridDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                         const QModelIndex &index) const
{
    Q_UNUSED(model);
    CPropertyGridProperty *row = m_grid->RowFromIndex(index);
    if (!row)
        return;
    if (auto *picker = qobject_cast<CColorPickerCombo *>(editor))
        m_grid->CommitColor(row, picker->GetColor());
    else if (auto *path = qobject_cast<CPathEdit *>(editor))
        m_grid->CommitValue(row, path->GetText());
    else if (auto *combo = qobject_cast<QComboBox *>(editor); combo && combo->isEditable())
        m_grid->CommitValue(row, combo->currentText());
    else if (combo) {
        if (combo->currentIndex() >= 0)
            m_grid->CommitValue(row, combo->currentText());
    } else if (auto *edit = qobject_cast<QLineEdit *>(editor))
        m_grid->CommitValue(row, edit->text());
}

void CPropertyGridDelegate::updateEditorGeometry(QWidget *editor,
                                                 const QStyleOptionViewItem &option,
                                                 const QModelIndex &index) const
{
    Q_UNUSED(index);
    editor->setGeometry(option.rect.adjusted(0, 0, 0, -1));
}
