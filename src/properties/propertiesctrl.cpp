#include "propertiesctrl.h"

#include "expressiongridproperty.h"
#include "propertygriddelegate.h"
#include "propertygridproperty.h"
#include "sqlpropertygridproperty.h"
#include "stylesgridproperty.h"
#include "vornkind.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

CPropertiesCtrl::CPropertiesCtrl(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("propertyGrid"));
    setColumnCount(2);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setItemsExpandable(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideRight);
    // A click on a value starts an edit at once (see mouseReleaseEvent).
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    setIndentation(fontMetrics().height());
    setItemDelegate(new CPropertyGridDelegate(this));

    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *current) {
        emit currentRowChanged(current && current->type() == CPropertyGridProperty::RowType
                                       ? static_cast<CPropertyGridProperty *>(current)
                                       : nullptr);
    });
}

void CPropertiesCtrl::AddRows(const QList<CPropertyRow> &rows, int dpiY, CPropertiesWnd *pane)
{
    for (const CPropertyRow &row : rows) {
        CPropertyGridProperty *item = nullptr;
        switch (row.kind) {
        case PropertyRowKind::Sql:
            item = new CSQLPropertyGridProperty(row, dpiY);
            break;
        case PropertyRowKind::Expression:
            item = new CExpressionGridProperty(row, dpiY);
            break;
        case PropertyRowKind::Styles:
            item = new CStylesGridProperty(row, dpiY);
            break;
        default:
            item = new CPropertyGridProperty(row, dpiY);
            break;
        }
        AddRow(nullptr, item, pane);
    }
    expandAll();
}

void CPropertiesCtrl::AddRow(QTreeWidgetItem *parent, CPropertyGridProperty *row,
                             CPropertiesWnd *pane)
{
    if (row->GetKind() == PropertyRowKind::Sql)
        static_cast<CSQLPropertyGridProperty *>(row)->SetPane(pane);
    else if (row->GetKind() == PropertyRowKind::Expression)
        static_cast<CExpressionGridProperty *>(row)->SetPane(pane);
    else if (row->GetKind() == PropertyRowKind::Styles)
        static_cast<CStylesGridProperty *>(row)->SetPane(pane);
    if (parent)
        parent->addChild(row);
    else
        addTopLevelItem(row);
}

void CPropertiesCtrl::RemoveAll()
{
    m_pendingRow = nullptr;
    clearSelection();
    for (int i = topLevelItemCount() - 1; i >= 0; --i)
        delete takeTopLevelItem(i);
}

CPropertyGridProperty *CPropertiesCtrl::GetRow(int index) const
{
    QTreeWidgetItem *item = topLevelItem(index);
    return item && item->type() == CPropertyGridProperty::RowType
            ? static_cast<CPropertyGridProperty *>(item)
            : nullptr;
}

CPropertyGridProperty *CPropertiesCtrl::FindRow(const QString &id) const
{
    for (int i = 0; i < topLevelItemCount(); ++i) {
        CPropertyGridProperty *row = GetRow(i);
        if (row && row->GetId() == id)
            return row;
    }
    return nullptr;
}

CPropertyGridProperty *CPropertiesCtrl::GetCurrentRow() const
{
    QTreeWidgetItem *item = currentItem();
    return item && item->type() == CPropertyGridProperty::RowType
            ? static_cast<CPropertyGridProperty *>(item)
            : nullptr;
}

CPropertyGridProperty *CPropertiesCtrl::RowFromIndex(const QModelIndex &index) const
{
    QTreeWidgetItem *item = itemFromIndex(index);
    return item && item->type() == CPropertyGridProperty::RowType
            ? static_cast<CPropertyGridProperty *>(item)
            : nullptr;
}

void CPropertiesCtrl::BeginEdit(CPropertyGridProperty *row)
{
    const QModelIndex index = indexFromItem(row, 1);
    setCurrentIndex(index);
    QAbstractItemView::edit(index);
}

void CPropertiesCtrl::CommitValue(CPropertyGridProperty *row, const QString &value)
{
    if (!row || row->GetValue() == row->ValueFromText(value))
        return;
    row->SetValue(value);
    m_pendingRow = row;
}

void CPropertiesCtrl::CommitColor(CPropertyGridProperty *row, quint32 color)
{
    if (!row || row->GetColor() == color)
        return;
    row->SetColor(color);
    m_pendingRow = row;
}

void CPropertiesCtrl::NotifyPropertyChanged(CPropertyGridProperty *row)
{
    emit propertyChanged(row);
}

// Starting an edit: dialog rows run their dialog, other rows get their
// in-place editor in the value column whichever column was hit.
bool CPropertiesCtrl::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    CPropertyGridProperty *row = RowFromIndex(index);
    if (!row || !row->IsEditable())
        return QTreeWidget::edit(index, trigger, event);

    const bool explicitStart = trigger == QAbstractItemView::AllEditTriggers
            || trigger == QAbstractItemView::DoubleClicked
            || trigger == QAbstractItemView::EditKeyPressed;
    if (row->UsesDialog()) {
        if (!explicitStart || state() == QAbstractItemView::EditingState)
            return QTreeWidget::edit(index, QAbstractItemView::NoEditTriggers, event);
        // The row may be gone when its dialog returns.
        return row->OnEdit(this);
    }
    const QModelIndex valueIndex = index.siblingAtColumn(1);
    if (explicitStart || trigger == QAbstractItemView::AnyKeyPressed)
        return QTreeWidget::edit(valueIndex, trigger, event);
    return QTreeWidget::edit(index, trigger, event);
}

void CPropertiesCtrl::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTreeWidget::closeEditor(editor, hint);
    if (CPropertyGridProperty *row = m_pendingRow) {
        m_pendingRow = nullptr;
        NotifyPropertyChanged(row);
    }
}

void CPropertiesCtrl::mousePressEvent(QMouseEvent *event)
{
    m_pressedIndex = indexAt(event->position().toPoint());
    QTreeWidget::mousePressEvent(event);
}

void CPropertiesCtrl::mouseReleaseEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    const bool clickedValue = event->button() == Qt::LeftButton && index.isValid()
            && index.column() == 1 && index == m_pressedIndex;
    m_pressedIndex = QPersistentModelIndex();
    QTreeWidget::mouseReleaseEvent(event);
    if (clickedValue && state() != QAbstractItemView::EditingState)
        QAbstractItemView::edit(index);
}

void CPropertiesCtrl::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && state() != QAbstractItemView::EditingState && currentIndex().isValid()) {
        QAbstractItemView::edit(currentIndex());
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

QSize CPropertiesCtrl::sizeHint() const
{
    const int nameWidth = fontMetrics().horizontalAdvance(QStringLiteral("Horizontal Alignment"))
            + indentation() + 16;
    return QSize(nameWidth * 100 / 45 + frameWidth() * 2, QTreeWidget::sizeHint().height());
}

// The names take a little less than half of the width, the values the rest.
void CPropertiesCtrl::resizeEvent(QResizeEvent *event)
{
    QTreeWidget::resizeEvent(event);
    setColumnWidth(0, qMax(60, viewport()->width() * 45 / 100));
}

// The margin left of the names is shaded, as the group rows are.
void CPropertiesCtrl::drawBranches(QPainter *painter, const QRect &rect,
                                   const QModelIndex &index) const
{
    painter->fillRect(rect, CPropertyGridDelegate::ShadeColor(palette()));
    QTreeWidget::drawBranches(painter, rect, index);
}
