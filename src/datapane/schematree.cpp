#include "schematree.h"

#include "tablechoice.h"

#include <QHeaderView>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>

Q_DECLARE_METATYPE(CSchemaRow)

namespace {

// A small key for primary key columns, an arrow for foreign keys, both for a column that is
// both.
QIcon KeyIcon(bool primary, bool foreign)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (primary) {
        painter.setPen(QPen(QColor(170, 120, 0), 1.5));
        painter.setBrush(QColor(240, 190, 40));
        painter.drawEllipse(QRectF(1.5, 1.5, 6, 6));
        painter.drawLine(QPointF(7, 6), QPointF(13, 12));
        painter.drawLine(QPointF(11, 10), QPointF(9, 12));
    }
    if (foreign) {
        painter.setPen(QPen(QColor(30, 90, 180), 1.5));
        const qreal y = primary ? 13 : 8;
        painter.drawLine(QPointF(2, y), QPointF(14, y));
        painter.drawLine(QPointF(14, y), QPointF(10, y - 3));
        painter.drawLine(QPointF(14, y), QPointF(10, y + 3));
    }
    return QIcon(pixmap);
}

} // namespace

CSchemaTree::CSchemaTree(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("schemaTree"));
    setAccessibleName(tr("Database tables"));
    setColumnCount(2);
    setHeaderLabels({tr("Table or column"), tr("Type and keys")});
    header()->setStretchLastSection(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void CSchemaTree::SetRows(const QList<CSchemaRow> &rows)
{
    // Tables the user opened stay open; a filter opens every table it keeps.
    QSet<QString> open;
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        if ((*it)->isExpanded())
            open.insert(RowOf(*it).schema + QLatin1Char('.') + (*it)->text(0));
    }
    static const QIcon primary = KeyIcon(true, false);
    static const QIcon foreign = KeyIcon(false, true);
    static const QIcon both = KeyIcon(true, true);
    setUpdatesEnabled(false);
    clear();
    // The items are put together apart from the tree and handed to it at once: added one by
    // one, each would tell the view, and thousands of columns would hold up the window.
    QList<QTreeWidgetItem *> top;
    QList<QTreeWidgetItem *> parents;
    QList<QTreeWidgetItem *> reopen;
    for (const CSchemaRow &row : rows) {
        parents.resize(std::min<qsizetype>(row.depth, parents.size()));
        auto *item = new QTreeWidgetItem;
        if (parents.isEmpty())
            top.append(item);
        else
            parents.constLast()->addChild(item);
        item->setText(0, row.text);
        item->setText(1, row.detail);
        item->setToolTip(0, row.description);
        item->setData(0, Qt::AccessibleTextRole, row.description);
        item->setData(0, Qt::AccessibleDescriptionRole, row.description);
        item->setData(0, RowRole, QVariant::fromValue(row));
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (!row.table.isEmpty())
            flags |= Qt::ItemIsDragEnabled;
        item->setFlags(flags);
        if (row.primaryKey || row.foreignKey)
            item->setIcon(0,
                          row.primaryKey && row.foreignKey ? both
                                  : row.primaryKey         ? primary
                                                           : foreign);
        if (row.problem)
            item->setForeground(0, QColor(200, 0, 0));
        if (row.kind == CSchemaRow::Kind::Schema) {
            QFont font = item->font(0);
            font.setBold(true);
            item->setFont(0, font);
        }
        if (row.kind == CSchemaRow::Kind::Schema
            || open.contains(row.schema + QLatin1Char('.') + row.text))
            reopen.append(item);
        parents.append(item);
    }
    addTopLevelItems(top);
    for (QTreeWidgetItem *item : std::as_const(reopen))
        item->setExpanded(true);
    for (QTreeWidgetItem *item : std::as_const(top)) {
        if (RowOf(item).kind == CSchemaRow::Kind::Note)
            item->setFirstColumnSpanned(true);
    }
    resizeColumnToContents(0);
    setUpdatesEnabled(true);
}

CSchemaRow CSchemaTree::RowOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, RowRole).value<CSchemaRow>() : CSchemaRow();
}

QStringList CSchemaTree::mimeTypes() const
{
    return {QString::fromLatin1(TableChoice::MimeType)};
}

QMimeData *CSchemaTree::mimeData(const QList<QTreeWidgetItem *> &items) const
{
    // A table among the rows carries the whole table; otherwise the columns of the first
    // column's table, in table order.
    CTableChoice choice;
    for (const QTreeWidgetItem *item : items) {
        const CSchemaRow row = RowOf(item);
        if (row.kind == CSchemaRow::Kind::Table) {
            choice = {row.schema, row.table, {}};
            break;
        }
    }
    if (choice.table.isEmpty()) {
        QList<const QTreeWidgetItem *> columns;
        for (const QTreeWidgetItem *item : items) {
            const CSchemaRow row = RowOf(item);
            if (row.kind != CSchemaRow::Kind::Column)
                continue;
            if (choice.table.isEmpty())
                choice = {row.schema, row.table, {}};
            if (row.schema == choice.schema && row.table == choice.table)
                columns.append(item);
        }
        std::sort(columns.begin(), columns.end(), [](const auto *a, const auto *b) {
            return a->parent()
                    && a->parent()->indexOfChild(const_cast<QTreeWidgetItem *>(a))
                    < a->parent()->indexOfChild(const_cast<QTreeWidgetItem *>(b));
        });
        for (const QTreeWidgetItem *item : std::as_const(columns))
            choice.columns.append(RowOf(item).column);
    }
    if (choice.table.isEmpty())
        return nullptr;
    auto *data = new QMimeData;
    data->setData(QString::fromLatin1(TableChoice::MimeType), TableChoice::Encode(choice));
    data->setText(choice.columns.isEmpty() ? choice.table
                                           : choice.table + QLatin1Char('.')
                                  + choice.columns.join(QLatin1String(", ") + choice.table
                                                        + QLatin1Char('.')));
    return data;
}
