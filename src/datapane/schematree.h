#pragma once

#include "schemarows.h"

#include <QTreeWidget>

// The Data pane's tree of the database's tables and columns. A table, or some columns of one
// table, can be dragged onto the design view (TableChoice); a screen reader says each row's
// description, the keys included.
class CSchemaTree : public QTreeWidget
{
    Q_OBJECT

public:
    static constexpr int RowRole = Qt::UserRole;

    explicit CSchemaTree(QWidget *parent = nullptr);

    void SetRows(const QList<CSchemaRow> &rows);
    static CSchemaRow RowOf(const QTreeWidgetItem *item);

    QMimeData *mimeData(const QList<QTreeWidgetItem *> &items) const override;
    QStringList mimeTypes() const override;
};
